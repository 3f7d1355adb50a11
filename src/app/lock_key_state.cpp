#include "app/lock_key_state.h"

#include "app/gtk_functions.h"

#include <wx/utils.h>

bool IsLockKeyOn(wxKeyCode key) {
    if (key != WXK_SCROLL) return wxGetKeyState(key);
    const GtkFunctions* gtk = GtkFunctions::Get();
    if (gtk == nullptr) return false;
    void* display = gtk->display_get_default();
    void* keymap = display != nullptr ? gtk->keymap_get_for_display(display) : nullptr;
    return keymap != nullptr && gtk->keymap_get_scroll_lock_state(keymap) != 0;
}
