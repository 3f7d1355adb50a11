#include "panes/text_file_dialog.h"

#include "common/message_box.h"
#include "panes/default_extension.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

namespace {

const char kInitialName[] = "output.txt";
const char kFilters[] = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

std::string FileSystemBytes(const wxString& path) {
    const wxCharBuffer bytes = path.fn_str();
    return std::string(bytes.data(), bytes.length());
}

// The dialog confirmed the name as typed; when ".txt" was added, the name
// written is another one, and replacing it needs its own confirmation.
bool ConfirmReplace(wxWindow* parent, const wxString& path) {
    const wxString question = wxString::Format("%s already exists.\nDo you want to replace it?", path);
    return ShowMessageBox(question, wxYES_NO | wxNO_DEFAULT | wxICON_EXCLAMATION, parent) == wxYES;
}

}  // namespace

std::optional<std::string> CTextFileDialog::Choose(wxWindow* parent) {
    wxString directory;
    wxString name = kInitialName;
    for (;;) {
        wxFileDialog dialog(parent, "Save As", directory, name, kFilters, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        dialog.SetFilterIndex(0);
        if (dialog.ShowModal() != wxID_OK) return std::nullopt;

        const wxString typed = dialog.GetPath();
        const std::string typedBytes = FileSystemBytes(typed);
        const std::string path = default_extension::Add(typedBytes, "txt");
        if (path == typedBytes) return path;
        const wxString withExtension(path.c_str(), *wxConvFileName);
        if (!wxFileName::Exists(withExtension) || ConfirmReplace(parent, withExtension)) return path;
        // Not to be replaced: choose again, starting from the name typed.
        wxFileName::SplitPath(typed, &directory, nullptr, nullptr);
        name = wxFileName(typed).GetFullName();
    }
}
