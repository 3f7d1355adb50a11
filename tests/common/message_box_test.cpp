// Every button of the worksheet's message boxes answers to its mnemonic:
// the toolkit's own mnemonic handling (what Alt+key does) presses it.
#include "common/message_box.h"
#include "support/gui_env.h"

#include <gtest/gtest.h>
#include <wx/timer.h>

#include <dlfcn.h>

#include <chrono>

namespace {

// The few GTK functions used, from the running process (no GTK headers).
struct Gtk {
    struct List {
        void* data;
        List* next;
        List* prev;
    };
    List* (*list_toplevels)() = nullptr;
    int (*is_visible)(void*) = nullptr;
    int (*get_modal)(void*) = nullptr;
    int (*mnemonic_activate)(void*, unsigned, unsigned) = nullptr;
    void (*response)(void*, int) = nullptr;
    void (*list_free)(List*) = nullptr;

    Gtk() {
        list_toplevels = reinterpret_cast<List* (*)()>(dlsym(RTLD_DEFAULT, "gtk_window_list_toplevels"));
        is_visible = reinterpret_cast<int (*)(void*)>(dlsym(RTLD_DEFAULT, "gtk_widget_get_visible"));
        get_modal = reinterpret_cast<int (*)(void*)>(dlsym(RTLD_DEFAULT, "gtk_window_get_modal"));
        mnemonic_activate =
            reinterpret_cast<int (*)(void*, unsigned, unsigned)>(dlsym(RTLD_DEFAULT, "gtk_window_mnemonic_activate"));
        response = reinterpret_cast<void (*)(void*, int)>(dlsym(RTLD_DEFAULT, "gtk_dialog_response"));
        list_free = reinterpret_cast<void (*)(List*)>(dlsym(RTLD_DEFAULT, "g_list_free"));
    }

    // The shown modal window (the message box), or none.
    void* ModalWindow() const {
        void* found = nullptr;
        List* all = list_toplevels();
        for (List* node = all; node != nullptr; node = node->next)
            if (is_visible(node->data) && get_modal(node->data)) found = node->data;
        list_free(all);
        return found;
    }
};

constexpr unsigned kAltMask = 1u << 3;  // GDK_MOD1_MASK
constexpr int kDeleteResponse = -4;     // GTK_RESPONSE_DELETE_EVENT

// Shows a box by show() and, once it is up, presses Alt+key in it; a box
// still up a while later (the key pressed nothing) is closed.
int AnswerWithKey(const std::function<int()>& show, char key) {
    static const Gtk gtk;
    bool pressed = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        void* window = gtk.ModalWindow();
        if (window == nullptr) return;
        if (!pressed) {
            pressed = true;
            gtk.mnemonic_activate(window, static_cast<unsigned char>(key), kAltMask);
        } else if (std::chrono::steady_clock::now() > deadline) {
            gtk.response(window, kDeleteResponse);
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
    const struct {
        long style;  // 0: the question box with labels
        char key;
        int answer;
    } cases[] = {
        {wxYES_NO, 'y', wxYES},       {wxYES_NO, 'n', wxNO},      {wxYES_NO | wxCANCEL, 'c', wxCANCEL},
        {wxOK, 'o', wxOK},            {wxOK | wxCANCEL, 'c', wxCANCEL}, {0, 'r', wxYES},
        {0, 'd', wxNO},               {0, 'l', wxCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.style << " Alt+" << c.key);
        const int answer = AnswerWithKey(
            [&] {
                return c.style != 0 ? ShowMessageBox("Go on?", c.style | wxICON_QUESTION)
                                    : ShowQuestionBox("Recover?", labels, wxICON_QUESTION);
            },
            c.key);
        EXPECT_EQ(answer, c.answer);
    }
}
