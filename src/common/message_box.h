#pragma once

#include <wx/string.h>

#include <functional>

class wxWindow;

// Every message box of the worksheet goes through here, captioned "Tarnwell"
// unless a caption is given. Returns the button pressed (wxOK, wxYES, wxNO,
// wxCANCEL), as wxMessageBox does.
int ShowMessageBox(const wxString& text, long style, wxWindow* parent = nullptr,
                   const wxString& caption = wxString());

// Replaces how message boxes are shown (tests record them instead; the
// start-up may print them, see CTarnwellApp). An empty handler restores the
// real boxes. Returns the handler that was in place.
using MessageBoxHandler =
    std::function<int(const wxString& text, const wxString& caption, long style, wxWindow* parent)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
