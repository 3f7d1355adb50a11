// Every button of the worksheet's message boxes answers to its mnemonic:
// the toolkit's own mnemonic handling (what Alt+key does) presses it. The
// boxes show their icon, and their buttons have their natural width.
#include "common/message_box.h"
#include "support/gtk_keys.h"
#include "support/gui_env.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/statbmp.h>
#include <wx/timer.h>

#include <chrono>

namespace {

// The box that is up: it has an icon of at least 32 pixels, and no button
// is wider than its label needs.
void ExpectIconAndNaturalButtons() {
    const wxDialog* box = nullptr;
    for (const wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<const wxDialog*>(window); dialog && dialog->IsModal()) box = dialog;
    ASSERT_NE(box, nullptr) << "the box is not a window of the program";
    int icons = 0;
    const std::function<void(const wxWindow*)> visit = [&](const wxWindow* window) {
        if (auto* icon = dynamic_cast<const wxStaticBitmap*>(window))
            icons += icon->GetBitmap().IsOk() && icon->GetBitmap().GetHeight() >= 32;
        if (auto* button = dynamic_cast<const wxButton*>(window)) {
            EXPECT_LE(button->GetSize().x, button->GetBestSize().x) << button->GetLabel();
        }
        for (const wxWindow* child : window->GetChildren()) visit(child);
    };
    visit(box);
    EXPECT_EQ(icons, 1);
}

// Shows a box by show() and, once it is up, presses Alt+key in it; a box
// still up a while later (the key pressed nothing) is closed.
int AnswerWithKey(const std::function<int()>& show, char key) {
    bool pressed = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        void* window = gtk_keys::ModalWindow();
        if (window == nullptr) return;
        if (!pressed) {
            pressed = true;
            ExpectIconAndNaturalButtons();
            gtk_keys::PressMnemonic(window, key);
        } else if (std::chrono::steady_clock::now() > deadline) {
            gtk_keys::CloseDialog(window);
        }
    });
    timer.Start(20);
    const int answer = show();
    timer.Stop();
    gui_env::Pump();
    return answer;
}

}  // namespace

TEST(MessageBoxTest, EachButtonAnswersToItsMnemonic) {
    const QuestionLabels labels{"Recover", "Discard", "Later"};
    // style 0: the question box with labels
    const struct { long style; char key; int answer; } cases[] = {
        {wxYES_NO, 'y', wxYES}, {wxYES_NO, 'n', wxNO}, {wxYES_NO | wxCANCEL, 'c', wxCANCEL}, {wxOK, 'o', wxOK},
        {wxOK | wxCANCEL, 'c', wxCANCEL}, {0, 'r', wxYES}, {0, 'd', wxNO}, {0, 'l', wxCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.style << " Alt+" << c.key);
        const auto show = [&] {
            return c.style != 0 ? ShowMessageBox("Go on?", c.style | wxICON_QUESTION)
                                : ShowQuestionBox("Recover?", labels, wxICON_QUESTION);
        };
        EXPECT_EQ(AnswerWithKey(show, c.key), c.answer);
    }
}
