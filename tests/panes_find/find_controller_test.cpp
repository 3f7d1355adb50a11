// The find and replace dialog wired to CFindState and a text control.
#include "panes/find_controller.h"
#include "panes/output_pane.h"
#include "panes/script_pane.h"
#include "stc_fixture.h"

#include <wx/checkbox.h>
#include <wx/radiobox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace {

class FindControllerTest : public StcFixture {
protected:
    void SetUp() override {
        StcFixture::SetUp();
        controller = std::make_unique<CFindController>(frame, [this] { return control; });
    }
    void TearDown() override {
        controller.reset();
        StcFixture::TearDown();
    }

    template <class T>
    std::vector<T*> Controls() const {
        std::vector<T*> found;
        for (wxWindow* child : controller->GetDialog()->GetChildren())
            if (T* typed = dynamic_cast<T*>(child)) found.push_back(typed);
        return found;
    }
    // 0: the search text, 1: the replacement.
    wxTextCtrl* Field(std::size_t index) const { return Controls<wxTextCtrl>().at(index); }
    wxCheckBox* Box(const wxString& label) const {
        for (wxCheckBox* box : Controls<wxCheckBox>())
            if (box->GetLabelText() == label) return box;
        ADD_FAILURE() << "no box " << label;
        return nullptr;
    }
    // Opens the find dialog, or the replace dialog when with is given, and fills in its fields.
    void Open(const wxString& find, const std::optional<wxString>& with = {}) {
        with ? controller->OnEditReplace() : controller->OnEditFind();
        if (controller->GetDialog() == nullptr) throw std::runtime_error("no dialog");
        EXPECT_EQ(controller->GetDialog()->HasFlag(wxFR_REPLACEDIALOG), with.has_value());
        Field(0)->SetValue(find);
        if (with) Field(1)->SetValue(*with);
    }
    void Press(int buttonId) { gui_env::Click(controller->GetDialog()->FindWindow(buttonId)); }

    gui_env::ModalCapture messages;  // "Search string not found"
    std::unique_ptr<CFindController> controller;
};

TEST_F(FindControllerTest, ReplaceButtonsChangeTheReadOnlyPaneAndReplaceAllIsUndoneAsOneStep) {
    SetText("x x x x", true);
    control->EmptyUndoBuffer();
    Open("x", "yy");
    for (const auto& [text, selection] : {std::pair{"x x x x", Match{0, 1}}, {"yy x x x", Match{3, 4}}}) {
        Press(wxID_REPLACE);
        EXPECT_EQ(std::pair(Text(), Selection()), std::pair(std::string(text), selection));
    }
    // Replace All goes on from the last match: the selected "x" stays.
    Press(wxID_REPLACE_ALL);
    EXPECT_EQ(Text(), "yy x yy yy");
    EXPECT_TRUE(control->GetReadOnly());
    EXPECT_TRUE(messages.Messages().empty());
    control->SetReadOnly(false);
    control->Undo();
    EXPECT_EQ(Text(), "yy x x x");
}

TEST_F(FindControllerTest, FindButtonSearchesTheDialogTextAsUtf8WithTheBoxes) {
    SetText("caf\xC3\xA9 CAF\xC3\xA9");
    Open(wxString::FromUTF8("caf\xC3\xA9"));
    Box("Match case")->SetValue(true);
    Press(wxID_FIND);
    EXPECT_EQ(Selection(), (Match{0, 5}));
    Press(wxID_FIND);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "Search string not found");
    Box("Match case")->SetValue(false);
    Press(wxID_FIND);
    EXPECT_EQ(Selection(), (Match{6, 11}));
}

// No direction; whole labels and wide fields, measured with the dialog's
// own font; at most 127 characters in a field.
TEST_F(FindControllerTest, TheDialogHasNoDirectionWholeLabelsAndWideShortFields) {
    for (const bool replace : {false, true}) {
        replace ? controller->OnEditReplace() : controller->OnEditFind();
        gui_env::Settle();
        for (wxRadioBox* box : Controls<wxRadioBox>()) EXPECT_FALSE(box->IsShown());
        std::vector<wxString> labels;
        for (wxStaticText* label : Controls<wxStaticText>()) {
            labels.push_back(label->GetLabelText());
            EXPECT_GE(label->GetSize().x, label->GetTextExtent(label->GetLabelText()).x) << label->GetLabel();
            EXPECT_GE(label->GetSize().x, label->GetBestSize().x) << label->GetLabel();
        }
        EXPECT_EQ(std::count(labels.begin(), labels.end(), "Replace with:"), replace ? 1 : 0);
        EXPECT_EQ(Controls<wxTextCtrl>().size(), replace ? 2u : 1u);
        for (wxTextCtrl* field : Controls<wxTextCtrl>()) {
            EXPECT_GE(field->GetSize().x, 20 * controller->GetDialog()->GetCharWidth());
            field->Clear();
            field->WriteText(wxString(127, 'x'));
            field->WriteText("y");
            EXPECT_EQ(field->GetValue(), wxString(127, 'x'));
        }
        Press(wxID_CANCEL);
    }
}

// Find, Find Next and Replace in either pane: a match off screen comes to
// the middle of the view and sideways into it; one on screen leaves the view.
TEST_F(FindControllerTest, TheSelectedMatchIsScrolledIntoView) {
    constexpr int kLines = 3000, kFar = 2000;
    // The action, with the replace dialog and its Replace button, with Find
    // Next and the text saved by the find dialog.
    const std::tuple<const char*, bool, bool> actions[] = {{"Find", false, false}, {"Find Next", false, true},
                                                           {"Replace", true, false}};
    control->Destroy();
    for (const bool output : {false, true}) {
        std::unique_ptr<CPane> pane(output ? static_cast<CPane*>(new COutputPane) : new CScriptPane);
        ASSERT_TRUE(pane->Create(frame));
        control = pane->GetControl();
        frame->SetSize(640, 480);
        frame->SendSizeEvent();
        ASSERT_TRUE(gui_env::WaitUntil([this] { return control->LinesOnScreen() >= 10; }));
        for (const auto& [name, replace, f3] : actions) {
            for (const int column : {0, 2000}) {
                SCOPED_TRACE(std::string(output ? "output pane, " : "script pane, ") + name + ", column " +
                             std::to_string(column));
                std::string text;
                for (int line = 0; line < kLines; ++line) {
                    if (line == kFar || line == kFar + 3) text += std::string(column, '.');
                    text += line == 2 || line == kFar || line == kFar + 3 ? "needle\n" : "line\n";
                }
                SetText(text, output);
                control->SetFirstVisibleLine(0);
                control->SetXOffset(0);
                replace ? Open("needle", "pin") : Open("needle");
                if (f3) Press(wxID_CANCEL);
                int first = 0, xOffset = 0;
                for (const int line : {2, kFar, kFar + 3}) {
                    f3 ? controller->OnFindNext() : Press(replace ? wxID_REPLACE : wxID_FIND);
                    const Match match = Selection();
                    ASSERT_EQ(control->LineFromPosition(match.start), line);
                    if (line == kFar) {
                        first = control->GetFirstVisibleLine();
                        xOffset = control->GetXOffset();
                        EXPECT_NEAR(line - first, control->LinesOnScreen() / 2, 1);
                    }
                    EXPECT_EQ(std::pair(control->GetFirstVisibleLine(), control->GetXOffset()), std::pair(first, xOffset))
                        << line;
                    EXPECT_GE(control->PointFromPosition(match.start).x, 0) << line;
                    EXPECT_LE(control->PointFromPosition(match.end).x, control->GetClientSize().x) << line;
                }
                if (controller->GetDialog() != nullptr) Press(wxID_CANCEL);
            }
        }
    }
    EXPECT_TRUE(messages.Messages().empty());
}

// A find dialog has no replacement field; closing it keeps the saved one.
TEST_F(FindControllerTest, ClosingSavesTextsAndBoxesForTheNextDialog) {
    Open("abc", "xyz");
    Box("Whole word")->SetValue(true);
    const wxWeakRef<wxFindReplaceDialog> closed = controller->GetDialog();
    Press(wxID_CANCEL);
    EXPECT_EQ(controller->GetDialog(), nullptr);
    gui_env::Settle();
    EXPECT_FALSE(closed);
    for (const bool replace : {false, true}) {
        replace ? controller->OnEditReplace() : controller->OnEditFind();
        ASSERT_NE(controller->GetDialog(), nullptr);
        // The kind, the texts and the boxes "Match case" and "Whole word".
        EXPECT_EQ(std::tuple(controller->GetDialog()->HasFlag(wxFR_REPLACEDIALOG), Field(0)->GetValue(),
                             Controls<wxTextCtrl>().back()->GetValue(), Box("Match case")->GetValue(),
                             Box("Whole word")->GetValue()),
                  std::tuple(replace, "abc", replace ? "xyz" : "abc", replace, true));
        Box("Match case")->SetValue(true);
        Press(wxID_CANCEL);
    }
}

TEST_F(FindControllerTest, ADialogDestroyedWithItsOwnerIsForgotten) {
    controller->OnEditFind();
    frame->Destroy();
    frame = nullptr;
    gui_env::Settle();
    EXPECT_EQ(controller->GetDialog(), nullptr);
    EXPECT_FALSE(controller->GetState().IsDialogOpen());
}

}  // namespace
