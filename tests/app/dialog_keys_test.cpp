// The dialogs by keyboard, as GTK handles the keys: each opens with the focus
// on its first field, every label and button has a mnemonic of its own, and
// Alt with that letter focuses the field or presses the button. (The Tab
// order is the order the controls are made in, which follows the layout; on
// a display without a window manager the dialogs are never active, and Tab
// cannot be tried there.)
#include "db/connect_dlg.h"
#include "history/history_dlg.h"
#include "history/history_list.h"
#include "history/history_store.h"
#include "panes/find_controller.h"
#include "settings/pref_dlg.h"
#include "settings/settings_record.h"
#include "support/default_settings.h"
#include "support/gtk_keys.h"
#include "support/gui_env.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/stattext.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// What a control is called in the expectations: its own label, else the
// label just before it, else "#" and its id; a control inside a control
// (the edit of a combo box) goes by the outer one.
std::string NameOf(const wxWindow* window) {
    for (; window != nullptr && !window->IsTopLevel(); window = window->GetParent()) {
        if (dynamic_cast<const wxButton*>(window) || dynamic_cast<const wxCheckBox*>(window))
            return wxControl::RemoveMnemonics(window->GetLabel()).utf8_string();
        if (auto* label = dynamic_cast<const wxStaticText*>(window->GetPrevSibling())) {
            wxString text = label->GetLabelText();
            if (text.EndsWith(":")) text.RemoveLast();
            return text.utf8_string();
        }
        if (window->GetId() > 0) return "#" + std::to_string(window->GetId());
    }
    return "(none)";
}

// The innermost control of dialog that has GTK's focus (wxWidgets knows
// only an active window's focus).
const wxWindow* FocusIn(const wxWindow* window, void* gtkWindow) {
    for (const wxWindow* child : window->GetChildren())
        if (const wxWindow* found = FocusIn(child, gtkWindow)) return found;
    return gtk_keys::HasFocus(gtkWindow, window->GetHandle()) ? window : nullptr;
}

std::string Focused(const wxTopLevelWindow& dialog) { return NameOf(FocusIn(&dialog, dialog.GetHandle())); }

// The mnemonics of the labels and buttons shown in window and below it; a
// label counts when a control that takes the focus follows it.
void CollectMnemonics(const wxWindow* window, std::map<wxUniChar, std::string>& letters) {
    for (const wxWindow* child : window->GetChildren()) {
        if (!child->IsShownOnScreen()) continue;
        CollectMnemonics(child, letters);
        const bool label = dynamic_cast<const wxStaticText*>(child) != nullptr && [child] {
            for (const wxWindow* next = child->GetNextSibling(); next; next = next->GetNextSibling())
                if (next->AcceptsFocusFromKeyboard()) return true;
            return false;
        }();
        if (!label && !dynamic_cast<const wxButton*>(child) && !dynamic_cast<const wxCheckBox*>(child)) continue;
        const wxString text = child->GetLabel();
        wxString shown;
        const int at = wxControl::FindAccelIndex(text, &shown);
        if (at == wxNOT_FOUND) {
            ADD_FAILURE() << "no mnemonic: " << text;
            continue;
        }
        const auto [entry, added] = letters.emplace(wxTolower(shown[static_cast<size_t>(at)]), text.utf8_string());
        EXPECT_TRUE(added) << text << " and " << entry->second;
    }
}

struct Press {
    char key;
    std::string focused;  // empty: the key closes the dialog (its button was pressed)
};

struct DialogCase {
    const char* name;
    std::string first;                   // the field focused at the start (empty: not checked)
    std::vector<Press> presses;
};

// Checks one dialog that is up: its first field, its mnemonics and what
// pressing them does.
void CheckKeys(wxTopLevelWindow& dialog, const DialogCase& c) {
    SCOPED_TRACE(c.name);
    void* const window = dialog.GetHandle();
    if (!c.first.empty()) {
        EXPECT_TRUE(gui_env::WaitUntil([&] { return Focused(dialog) == c.first; })) << "focus on " << Focused(dialog);
    }
    std::map<wxUniChar, std::string> letters;
    CollectMnemonics(&dialog, letters);
    for (const Press& press : c.presses) {
        EXPECT_TRUE(gtk_keys::PressMnemonic(window, press.key)) << press.key;
        if (press.focused.empty())
            EXPECT_TRUE(gui_env::WaitUntil([&] { return !dialog.IsShown(); })) << "Alt+" << press.key;
        else
            EXPECT_TRUE(gui_env::WaitUntil([&] { return Focused(dialog) == press.focused; }))
                << "Alt+" << press.key << " focused " << Focused(dialog);
    }
}

// Runs check on every modal dialog shown meanwhile, instead of its modal loop.
class ModalCheck : public wxModalDialogHook {
public:
    explicit ModalCheck(std::function<void(wxDialog&)> check) : m_check(std::move(check)) { Register(); }
    int Enter(wxDialog* dialog) override {
        dialog->Show();
        gui_env::Pump();
        m_check(*dialog);
        dialog->Hide();
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}

private:
    std::function<void(wxDialog&)> m_check;
};

TEST(DialogKeysTest, FirstFieldAndMnemonicsInEveryDialog) {
    const DialogCase connect{"Connect", "Datasource", {{'p', "Password"}, {'u', "Username"}, {'c', ""}}};
    const DialogCase general{"Options: General",
                             "Maximum width",
                             {{'d', "Default width"}, {'m', "Multiline comment start"}, {'w', "Maximum width"},
                              {'n', "Show NULL as"}}};
    const DialogCase font{"Options: Font", "", {{'h', "Charset"}, {'f', "Font"}, {'s', "Size"}}};
    const DialogCase history{"History", "#" + std::to_string(CHistoryDlg::kSearchId), {}};
    const DialogCase replace{"Replace", "Search for", {}};

    {
        ModalCheck check([&](wxDialog& dialog) { CheckKeys(dialog, connect); });
        CConnectDlg dialog(nullptr);
        dialog.ShowModal();
    }
    {
        ModalCheck check([&](wxDialog& dialog) {
            auto& sheet = dynamic_cast<CPrefDlg&>(dialog);
            CheckKeys(sheet, general);
            sheet.GetBookCtrl()->SetSelection(CPrefDlg::kFontPage);
            gui_env::Pump();
            CheckKeys(sheet, font);
        });
        CSettingsRecord settings = DefaultSettings();
        CPrefDlg::Run(nullptr, settings, [] {});
    }
    {
        ModalCheck check([&](wxDialog& dialog) { CheckKeys(dialog, history); });
        CHistoryStore store(test_env::TempPath("keys-history.sqlite"), 10);
        CHistoryList list;
        list.Append("select 1");
        CHistoryDlg dialog(nullptr, list, 0, &store);
        dialog.ShowModal();
    }
    {
        auto* owner = new wxFrame(nullptr, wxID_ANY, "owner");
        {
            CFindController controller(owner, [] { return nullptr; });
            controller.OnEditReplace();
            gui_env::Pump();
            ASSERT_NE(controller.GetDialog(), nullptr);
            CheckKeys(*controller.GetDialog(), replace);
        }
        owner->Destroy();
        gui_env::Settle();
    }
}

}  // namespace
