#include "panes/save_output.h"

#include "common/file_exception.h"
#include "common/message_box.h"
#include "panes/output_file_writer.h"
#include "panes/text_file_dialog.h"

#include <wx/strconv.h>

void CSaveOutput::Run(wxWindow* parent, const std::function<std::string()>& getText) {
    const auto path = CTextFileDialog::Choose(parent);
    if (!path) return;
    try {
        COutputFileWriter::Write(*path, getText());
    } catch (const CFileException& failure) {
        // The path may hold bytes that are not UTF-8; show them as well as
        // the conversion can.
        const std::string& text = failure.Message();
        const wxString message(text.data(), wxMBConvUTF8(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA), text.size());
        ShowMessageBox(message, wxOK | wxICON_ERROR, parent);
    }
}
