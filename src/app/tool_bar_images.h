#pragma once

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

#include <string>

// The 16-pixel image of a tool-bar command: the desktop theme's image where
// it has one for the command, our own drawing (res/) otherwise.
wxBitmap ToolBarImage(int id);

// The program's icon, 16 and 32 pixels.
wxIconBundle AppIcons();

// The program's icon of size by size pixels (16 or 32) as PNG bytes, for the
// desktop's icon theme; empty for another size.
std::string AppIconPng(int size);
