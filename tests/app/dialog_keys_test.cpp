// The dialogs by keyboard, as GTK handles the keys: each opens with the focus
// on its first field, Tab goes through the controls in the order the layout
// reads, every label and button has a mnemonic of its own, and Alt with that
// letter focuses the field or presses the button. (No key goes through the
// display server: the test runs what GTK does for Tab and Alt.)
#include "common/message_box.h"
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
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
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
        EXPECT_NE(at, wxNOT_FOUND) << "no mnemonic: " << text;
        if (at == wxNOT_FOUND) continue;
        const auto [entry, added] = letters.emplace(wxTolower(shown[static_cast<size_t>(at)]), text.utf8_string());
        EXPECT_TRUE(added) << text << " and " << entry->second;
    }
}

// The control window is part of: the window, or its ancestor that lies on
// the dialog, on a group box or on a notebook page.
const wxWindow* ControlOf(const wxWindow* window) {
    for (const wxWindow* up = window->GetParent(); up && !up->IsTopLevel(); window = up, up = up->GetParent())
        if (dynamic_cast<const wxStaticBox*>(up) || dynamic_cast<const wxBookCtrlBase*>(up->GetParent())) break;
    return window;
}

// The controls of dialog in the order Tab gives them the focus, from the
// first; each once, however many of its parts take the focus. GTK moves the
// focus as for its Tab key, in the window made active (buttons and lists
// pass the focus on only there).
std::vector<const wxWindow*> TabOrder(wxTopLevelWindow& dialog) {
    static const auto isActive = gtk_keys::Gtk::Find<int (*)(void*)>("gtk_window_is_active");
    static const auto setFocus = gtk_keys::Gtk::Find<void (*)(void*, void*)>("gtk_window_set_focus");
    static const auto childFocus = gtk_keys::Gtk::Find<int (*)(void*, int)>("gtk_widget_child_focus");
    constexpr int kTabForward = 0;  // GTK_DIR_TAB_FORWARD
    void* const window = dialog.GetHandle();
    dialog.Raise();
    EXPECT_TRUE(gui_env::WaitUntil([&] { return isActive(window) != 0; })) << "not active";
    setFocus(window, nullptr);
    std::vector<const wxWindow*> order;
    for (int step = 0; step < 100 && childFocus(window, kTabForward); ++step) {
        const wxWindow* control = ControlOf(FocusIn(&dialog, window));
        if (!order.empty() && control == order.front() && control != order.back()) break;  // round again
        if (order.empty() || control != order.back()) order.push_back(control);
    }
    return order;
}

// Where control shows; for a notebook, its row of tabs.
wxRect RectOf(const wxWindow* control) {
    wxRect rect = control->GetScreenRect();
    if (auto* book = dynamic_cast<const wxBookCtrlBase*>(control))
        rect.height = book->GetCurrentPage()->GetScreenPosition().y - rect.y;
    return rect;
}

// Tab goes through dialog's fields, then through its buttons (a column of
// them beside the fields is read after them), each in the order the layout
// reads: every next control lies on a lower row (its top below the middle
// of the one before), or on the same row (across that middle) to its right.
void CheckTabOrder(wxTopLevelWindow& dialog) {
    std::vector<const wxWindow*> order = TabOrder(dialog);
    std::string names;
    for (const wxWindow* control : order) names += NameOf(control) + ", ";
    ASSERT_FALSE(order.empty());
    const auto isField = [](const wxWindow* control) {
        const int id = control->GetId();
        return !dynamic_cast<const wxButton*>(control) || id < wxID_LOWEST || id > wxID_HIGHEST;
    };
    EXPECT_TRUE(std::is_partitioned(order.begin(), order.end(), isField)) << names;
    const auto buttons = std::stable_partition(order.begin(), order.end(), isField);
    for (auto next = order.begin() + 1; next != order.end(); ++next) {
        const wxRect before = RectOf(next[-1]), rect = RectOf(*next);
        const int middle = before.y + before.height / 2;
        EXPECT_TRUE(next == buttons || rect.y > middle || (rect.GetBottom() >= middle && rect.x > before.GetRight()))
            << NameOf(*next) << " after " << NameOf(next[-1]) << " in " << names;
    }
}

struct Press {
    char key;
    std::string focused;  // empty: the key closes the dialog (its button was pressed)
};

using Check = std::function<void(wxTopLevelWindow&)>;

struct DialogCase {
    const char* name;
    std::function<void(const Check&)> open;  // shows the dialog and runs the check on it while it is up
    std::string first;                       // the field focused at the start (empty: not checked)
    std::vector<Press> presses;
    bool labelled = true;  // false: a message box, whose text labels nothing
};

// Checks one dialog that is up: its first field, its Tab order, its
// mnemonics and what pressing them does.
void CheckKeys(wxTopLevelWindow& dialog, const DialogCase& c) {
    if (!c.first.empty()) {
        EXPECT_TRUE(gui_env::WaitUntil([&] { return Focused(dialog) == c.first; })) << "focus on " << Focused(dialog);
    }
    CheckTabOrder(dialog);
    std::map<wxUniChar, std::string> letters;
    if (c.labelled) CollectMnemonics(&dialog, letters);
    for (const Press& press : c.presses) {
        EXPECT_TRUE(gtk_keys::PressMnemonic(dialog.GetHandle(), press.key)) << press.key;
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
        // A message box makes its window only as it is shown, and comes here again.
        if (!dialog->GetHandle()) return wxID_NONE;
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

TEST(DialogKeysTest, FirstFieldTabOrderAndMnemonicsInEveryDialog) {
    const auto optionsPage = [](int page) {
        return [page](const Check& check) {
            CSettingsRecord settings = DefaultSettings();
            settings.EnableSpool = 1;  // the spool file's controls take part
            ModalCheck hook([&](wxDialog& sheet) {
                dynamic_cast<CPrefDlg&>(sheet).GetBookCtrl()->SetSelection(page);
                gui_env::Pump();
                check(sheet);
            });
            CPrefDlg::Run(nullptr, settings, [] {});
        };
    };
    const auto findDialog = [](bool replace) {
        return [replace](const Check& check) {
            auto* owner = new wxFrame(nullptr, wxID_ANY, "owner");
            {
                CFindController controller(owner, [] { return nullptr; });
                replace ? controller.OnEditReplace() : controller.OnEditFind();
                gui_env::Pump();
                ASSERT_NE(controller.GetDialog(), nullptr);
                // Something to find enables the buttons.
                for (wxWindow* child : controller.GetDialog()->GetChildren())
                    if (auto* field = dynamic_cast<wxTextCtrl*>(child)) field->ChangeValue("x");
                gui_env::Pump();
                check(*controller.GetDialog());
            }
            owner->Destroy();
            gui_env::Settle();
        };
    };
    const DialogCase cases[] = {
        {"Connect",
         [](const Check& check) {
             ModalCheck hook(check);
             CConnectDlg(nullptr).ShowModal();
         },
         "Datasource",
         {{'p', "Password"}, {'u', "Username"}, {'c', ""}}},
        {"Options: General", optionsPage(CPrefDlg::kGeneralPage), "Maximum width",
         {{'d', "Default width"}, {'m', "Multiline comment start"}, {'w', "Maximum width"}, {'n', "Show NULL as"}}},
        {"Options: Font", optionsPage(CPrefDlg::kFontPage), "", {{'h', "Charset"}, {'f', "Font"}, {'s', "Size"}}},
        {"History",
         [](const Check& check) {
             CHistoryStore store(test_env::TempPath("keys-history.sqlite"), 10);
             CHistoryList list;
             list.Append("select 1");
             ModalCheck hook(check);
             CHistoryDlg(nullptr, list, 0, &store).ShowModal();
         },
         "#" + std::to_string(CHistoryDlg::kSearchId),
         {}},
        {"Find", findDialog(false), "Search for", {}},
        {"Replace", findDialog(true), "Search for", {}},
        {"Message box",
         [](const Check& check) {
             ModalCheck hook(check);
             ShowMessageBox("Go on?", wxYES_NO | wxCANCEL);
         },
         "", {}, false},
    };
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.open([&](wxTopLevelWindow& dialog) { CheckKeys(dialog, c); });
    }
}

}  // namespace
