#include "panes/text_file_dialog.h"

#include "common/message_box.h"
#include "panes/default_extension.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

namespace {

std::string FileSystemBytes(const wxString& path) {
    const wxCharBuffer bytes = path.fn_str();
    return std::string(bytes.data(), bytes.length());
}

// The dialog confirmed the name as typed; when the extension was added, the
// name written is another one, and replacing it needs its own confirmation.
bool ConfirmReplace(wxWindow* parent, const wxString& path) {
    const wxString question = wxString::Format("%s already exists.\nDo you want to replace it?", path);
    return ShowMessageBox(question, wxYES_NO | wxNO_DEFAULT | wxICON_EXCLAMATION, parent) == wxYES;
}

}  // namespace

std::optional<std::string> CTextFileDialog::Choose(wxWindow* parent) {
    return Choose(parent,
                  Kind{"Save As", wxString(), "output.txt", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*", "txt"});
}

std::optional<std::string> CTextFileDialog::Choose(wxWindow* parent, const Kind& kind) {
    wxString directory = kind.directory;
    wxString name = kind.initialName;
    for (;;) {
        wxFileDialog dialog(parent, kind.title, directory, name, kind.filters, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        dialog.SetFilterIndex(0);
        if (dialog.ShowModal() != wxID_OK) return std::nullopt;

        const wxString typed = dialog.GetPath();
        const std::string typedBytes = FileSystemBytes(typed);
        const std::string path = default_extension::Add(typedBytes, kind.extension);
        if (path == typedBytes) return path;
        const wxString withExtension(path.c_str(), *wxConvFileName);
        if (!wxFileName::Exists(withExtension) || ConfirmReplace(parent, withExtension)) return path;
        // Not to be replaced: choose again, starting from the name typed.
        wxFileName::SplitPath(typed, &directory, nullptr, nullptr);
        name = wxFileName(typed).GetFullName();
    }
}
