#pragma once

#include <wx/dialog.h>

// "About Tarnwell": the program's icon, a read-only text with the version
// and the credits, and OK.
class CAboutDlg : public wxDialog {
public:
    enum : int { IDD = 100, IDC_TEXT = 1007 };

    explicit CAboutDlg(wxWindow* parent);

    // The seven lines of the box, each ended by a line break.
    static const char* Text();
};
