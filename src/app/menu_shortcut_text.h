#pragma once

#include <wx/string.h>

class wxMenuItem;

// Menu entries show their shortcut text exactly as the command table writes
// it ("Ctrl+Enter", "Alt+LeftArrow"), at the entry's right edge and dimmed
// like the toolkit's own, but never as a toolkit accelerator: the frame's key
// hook runs the keys of every command, so a menu entry has no key of its own
// (GTK would otherwise give standard entries such as Exit keys that the
// worksheet does not have, and name Enter "Return").

// Removes every toolkit accelerator of item and, when shortcut is not empty,
// shows it. False when the toolkit's menu entry cannot be reached; the entry
// then shows its label only.
bool SetMenuShortcutText(wxMenuItem& item, const wxString& shortcut);

// The shortcut text the entry shows ("" when none).
wxString MenuShortcutText(const wxMenuItem& item);

// How many toolkit accelerators the entry carries (-1: unknown).
int MenuToolkitAcceleratorCount(const wxMenuItem& item);
