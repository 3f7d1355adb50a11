// The find and replace dialog wired to CFindState and a text control.
#include "panes/find_controller.h"
#include "stc_fixture.h"

#include <wx/checkbox.h>
#include <wx/radiobox.h>
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <memory>
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
        for (wxWindow* child : controller->GetDialog()->GetChildren()) {
            if (T* typed = dynamic_cast<T*>(child)) found.push_back(typed);
        }
        return found;
    }
    // 0: the search text, 1: the replacement.
    wxTextCtrl* Field(std::size_t index) const { return Controls<wxTextCtrl>().at(index); }
    wxCheckBox* Box(const wxString& label) const {
        for (wxCheckBox* box : Controls<wxCheckBox>()) {
            if (box->GetLabelText() == label) return box;
        }
        ADD_FAILURE() << "no box " << label;
        return nullptr;
    }
    void Press(int buttonId) { gui_env::Click(controller->GetDialog()->FindWindow(buttonId)); }

    gui_env::ModalCapture messages;  // "Search string not found"
    std::unique_ptr<CFindController> controller;
};

TEST_F(FindControllerTest, ReplaceButtonsChangeTheReadOnlyPaneAndReplaceAllIsUndoneAsOneStep) {
    SetText("x x x x", true);
    control->EmptyUndoBuffer();
    controller->OnEditReplace();
    ASSERT_NE(controller->GetDialog(), nullptr);
    EXPECT_TRUE(controller->GetDialog()->HasFlag(wxFR_REPLACEDIALOG));
    Field(0)->SetValue("x");
    Field(1)->SetValue("yy");
    Press(wxID_REPLACE);
    EXPECT_EQ(Text(), "x x x x");
    EXPECT_EQ(Selection(), (Match{0, 1}));
    Press(wxID_REPLACE);
    EXPECT_EQ(Text(), "yy x x x");
    EXPECT_EQ(Selection(), (Match{3, 4}));
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
    controller->OnEditFind();
    Field(0)->SetValue(wxString::FromUTF8("caf\xC3\xA9"));
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

TEST_F(FindControllerTest, TheDialogHasNoDirectionAndFieldsOfAtMost127Characters) {
    controller->OnEditReplace();
    for (wxRadioBox* box : Controls<wxRadioBox>()) EXPECT_FALSE(box->IsShown());
    for (wxTextCtrl* field : {Field(0), Field(1)}) {
        field->WriteText(wxString(127, 'x'));
        field->WriteText("y");
        EXPECT_EQ(field->GetValue(), wxString(127, 'x'));
    }
}

TEST_F(FindControllerTest, ClosingSavesTextsAndBoxesForTheNextDialog) {
    controller->OnEditReplace();
    Field(0)->SetValue("abc");
    Field(1)->SetValue("xyz");
    Box("Whole word")->SetValue(true);
    const wxWeakRef<wxFindReplaceDialog> closed = controller->GetDialog();
    Press(wxID_CANCEL);
    EXPECT_EQ(controller->GetDialog(), nullptr);
    gui_env::Settle();
    EXPECT_FALSE(closed);

    // A find dialog has no replacement field; closing it keeps the saved one.
    controller->OnEditFind();
    ASSERT_NE(controller->GetDialog(), nullptr);
    EXPECT_FALSE(controller->GetDialog()->HasFlag(wxFR_REPLACEDIALOG));
    EXPECT_EQ(Field(0)->GetValue(), "abc");
    EXPECT_FALSE(Box("Match case")->GetValue());
    EXPECT_TRUE(Box("Whole word")->GetValue());
    Box("Match case")->SetValue(true);
    Press(wxID_CANCEL);

    controller->OnEditReplace();
    EXPECT_EQ(Field(0)->GetValue(), "abc");
    EXPECT_EQ(Field(1)->GetValue(), "xyz");
    EXPECT_TRUE(Box("Match case")->GetValue());
    EXPECT_TRUE(Box("Whole word")->GetValue());
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
