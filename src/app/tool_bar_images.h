#pragma once

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

// The 16-pixel image of a tool-bar command: the desktop theme's image where
// it has one for the command, our own drawing (res/) otherwise.
wxBitmap ToolBarImage(int id);

// The program's icon, 16 and 32 pixels.
wxIconBundle AppIcons();
