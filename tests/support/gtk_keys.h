#pragma once

#include <dlfcn.h>

// Keys as GTK itself handles them in a window (no key events through the
// display server, so no window manager or keyboard focus is needed): Alt+key
// runs the window's mnemonic. The functions come from
// the running process, where wxWidgets has loaded GTK. Link ${CMAKE_DL_LIBS}.
namespace gtk_keys {

struct Gtk {
    struct List {
        void* data;
        List* next;
        List* prev;
    };
    List* (*list_toplevels)() = Find<List* (*)()>("gtk_window_list_toplevels");
    int (*is_visible)(void*) = Find<int (*)(void*)>("gtk_widget_get_visible");
    int (*get_modal)(void*) = Find<int (*)(void*)>("gtk_window_get_modal");
    int (*mnemonic_activate)(void*, unsigned, unsigned) =
        Find<int (*)(void*, unsigned, unsigned)>("gtk_window_mnemonic_activate");
    void* (*get_focus)(void*) = Find<void* (*)(void*)>("gtk_window_get_focus");
    int (*is_ancestor)(void*, void*) = Find<int (*)(void*, void*)>("gtk_widget_is_ancestor");
    void (*response)(void*, int) = Find<void (*)(void*, int)>("gtk_dialog_response");
    void (*list_free)(List*) = Find<void (*)(List*)>("g_list_free");

    template <typename Function>
    static Function Find(const char* name) {
        return reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
    }
};

inline const Gtk& Functions() {
    static const Gtk gtk;
    return gtk;
}

// Alt+key in window (a GtkWindow); false when no widget has that mnemonic.
inline bool PressMnemonic(void* window, char key) {
    constexpr unsigned kAltMask = 1u << 3;  // GDK_MOD1_MASK
    return Functions().mnemonic_activate(window, static_cast<unsigned char>(key), kAltMask) != 0;
}

// Whether widget is the focus widget of window or contains it. The window
// need not be active (wxWindow::FindFocus follows only an active window).
inline bool HasFocus(void* window, void* widget) {
    void* focus = Functions().get_focus(window);
    return focus != nullptr && (focus == widget || Functions().is_ancestor(focus, widget));
}

// The shown modal window (a message box), or none.
inline void* ModalWindow() {
    const Gtk& gtk = Functions();
    void* found = nullptr;
    Gtk::List* all = gtk.list_toplevels();
    for (Gtk::List* node = all; node != nullptr; node = node->next)
        if (gtk.is_visible(node->data) && gtk.get_modal(node->data)) found = node->data;
    gtk.list_free(all);
    return found;
}

// Closes a GTK dialog as its close box does.
inline void CloseDialog(void* window) {
    constexpr int kDeleteResponse = -4;  // GTK_RESPONSE_DELETE_EVENT
    Functions().response(window, kDeleteResponse);
}

}  // namespace gtk_keys
