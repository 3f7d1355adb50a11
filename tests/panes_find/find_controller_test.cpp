// The find and replace dialog wired to CFindState and a text control.
#include "panes/find_controller.h"
#include "stc_fixture.h"

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/radiobox.h>
#include <wx/textctrl.h>

#include <memory>
#include <vector>

namespace {

// The controller with the "not found" message counted instead of shown.
class CountingFindController : public CFindController {
public:
    using CFindController::CFindController;
    int notFound = 0;

protected:
    void ShowNotFound() override { ++notFound; }
};

class FindControllerTest : public StcFixture {
protected:
    void SetUp() override {
        StcFixture::SetUp();
        controller = std::make_unique<CountingFindController>(frame, [this] { return control; });
    }
    void TearDown() override {
        controller.reset();
        StcFixture::TearDown();
    }

    template <class T>
    std::vector<T*> Controls() const {
        std::vector<T*> found;
        for (wxWindow* child : controller->GetDialog()->GetChildren()) {
            if (T* typed = dynamic_cast<T*>(child)) found.push_back(typed);
        }
        return found;
    }
    wxTextCtrl* FindField() const { return Controls<wxTextCtrl>().at(0); }
    wxTextCtrl* ReplaceField() const { return Controls<wxTextCtrl>().at(1); }
    wxCheckBox* Box(const wxString& label) const {
        for (wxCheckBox* box : Controls<wxCheckBox>()) {
            if (box->GetLabelText() == label) return box;
        }
        ADD_FAILURE() << "no box " << label;
        return nullptr;
    }
    void Press(int buttonId) { gui_env::Click(controller->GetDialog()->FindWindow(buttonId)); }
    // Find dialogs that are not on their way out.
    static int OpenDialogs() {
        int count = 0;
        for (wxWindow* window : wxTopLevelWindows) {
            count += dynamic_cast<wxFindReplaceDialog*>(window) != nullptr && !wxTheApp->IsScheduledForDestruction(window);
        }
        return count;
    }

    std::unique_ptr<CountingFindController> controller;
};

TEST_F(FindControllerTest, ReplaceDialogChangesTheReadOnlyPane) {
    SetText("x x x", true);
    controller->OnEditReplace();
    ASSERT_NE(controller->GetDialog(), nullptr);
    EXPECT_TRUE(controller->GetDialog()->HasFlag(wxFR_REPLACEDIALOG));
    FindField()->SetValue("x");
    ReplaceField()->SetValue("y");
    Press(wxID_REPLACE);
    EXPECT_EQ(Text(), "x x x");
    EXPECT_EQ(Selection(), (Match{0, 1}));
    Press(wxID_REPLACE);
    EXPECT_EQ(Text(), "y x x");
    EXPECT_EQ(Selection(), (Match{2, 3}));
    // Replace All goes on from the last match: the selected "x" stays.
    Press(wxID_REPLACE_ALL);
    EXPECT_EQ(Text(), "y x y");
    EXPECT_TRUE(control->GetReadOnly());
    EXPECT_EQ(controller->notFound, 0);
}

TEST_F(FindControllerTest, ReplaceAllIsUndoneAsOneStep) {
    SetText("aaa");
    control->EmptyUndoBuffer();
    controller->OnEditReplace();
    FindField()->SetValue("a");
    ReplaceField()->SetValue("ba");
    Press(wxID_REPLACE_ALL);
    EXPECT_EQ(Text(), "bababa");
    control->Undo();
    EXPECT_EQ(Text(), "aaa");
}

TEST_F(FindControllerTest, FindButtonSearchesTheDialogTextAsUtf8WithTheBoxes) {
    SetText("caf\xC3\xA9 CAF\xC3\xA9");
    controller->OnEditFind();
    FindField()->SetValue(wxString::FromUTF8("caf\xC3\xA9"));
    Box("Match case")->SetValue(true);
    Press(wxID_FIND);
    EXPECT_EQ(Selection(), (Match{0, 5}));
    Press(wxID_FIND);
    EXPECT_EQ(controller->notFound, 1);
    Box("Match case")->SetValue(false);
    Press(wxID_FIND);
    EXPECT_EQ(Selection(), (Match{6, 11}));
}

TEST_F(FindControllerTest, TheDialogHasNoDirectionAndFieldsOfAtMost127Characters) {
    controller->OnEditReplace();
    for (wxRadioBox* box : Controls<wxRadioBox>()) EXPECT_FALSE(box->IsShown());
    for (wxTextCtrl* field : {FindField(), ReplaceField()}) {
        field->WriteText(wxString(127, 'x'));
        field->WriteText("y");
        EXPECT_EQ(field->GetValue(), wxString(127, 'x'));
    }
}

TEST_F(FindControllerTest, ClosingSavesTextsAndBoxesForTheNextDialog) {
    controller->OnEditReplace();
    FindField()->SetValue("abc");
    ReplaceField()->SetValue("xyz");
    Box("Whole word")->SetValue(true);
    Press(wxID_CANCEL);
    EXPECT_EQ(controller->GetDialog(), nullptr);
    gui_env::Settle();
    EXPECT_EQ(OpenDialogs(), 0);
    EXPECT_EQ(controller->GetState().FindText(), "abc");
    EXPECT_EQ(controller->GetState().ReplaceText(), "xyz");
    EXPECT_EQ(controller->GetState().FindFlags(), CFindState::kFrWholeWord);

    // A find dialog has no replacement field; closing it keeps the saved one.
    controller->OnEditFind();
    ASSERT_NE(controller->GetDialog(), nullptr);
    EXPECT_FALSE(controller->GetDialog()->HasFlag(wxFR_REPLACEDIALOG));
    EXPECT_EQ(FindField()->GetValue(), "abc");
    EXPECT_FALSE(Box("Match case")->GetValue());
    EXPECT_TRUE(Box("Whole word")->GetValue());
    Box("Match case")->SetValue(true);
    Press(wxID_CANCEL);
    EXPECT_EQ(controller->GetState().FindFlags(), CFindState::kFrMatchCase | CFindState::kFrWholeWord);

    controller->OnEditReplace();
    EXPECT_EQ(ReplaceField()->GetValue(), "xyz");
    EXPECT_TRUE(Box("Match case")->GetValue());
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
