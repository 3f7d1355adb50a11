#include "recovery/recovery_offer.h"

#include "common/message_box.h"
#include "recovery/recovery_folder.h"
#include "script/script.h"

void CRecoveryOffer::Run(const std::string& folder, CScript& script, wxWindow* parent) {
    const CRecoveryFolder recovery(folder);
    for (const CRecoveryFolder::LeftOver& found : recovery.FindLeftOvers()) {
        const int answer = ShowQuestionBox(wxString::FromUTF8(found.record.Question()), {"Recover", "Discard", "Later"},
                                           wxICON_QUESTION, parent);
        if (answer == wxCANCEL) continue;
        if (answer == wxYES) script.Recover(found.record.text, found.record.documentPath);
        recovery.Discard(found.id);
        if (answer == wxYES) return;
    }
}
