#pragma once

#include <wx/defs.h>

// Whether a lock key (WXK_CAPITAL, WXK_NUMLOCK, WXK_SCROLL) is on. Caps Lock
// and Num Lock come from wxGetKeyState. For Scroll Lock that reports only
// whether the key is held down, so its lock comes from the keyboard's Scroll
// Lock light as the toolkit tracks it (false where that is unknown).
bool IsLockKeyOn(wxKeyCode key);
