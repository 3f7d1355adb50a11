#include "common/message_box.h"

#include "common/app_name.h"

#include <wx/msgdlg.h>

#include <utility>

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

int ShowMessageBox(const wxString& text, long style, wxWindow* parent, const wxString& caption) {
    const wxString title = caption.empty() ? wxString::FromUTF8(kAppName.data(), kAppName.size()) : caption;
    if (const MessageBoxHandler& handler = Handler()) return handler(text, title, style, parent);
    return wxMessageBox(text, title, style, parent);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) { return std::exchange(Handler(), std::move(handler)); }
