#pragma once

#include <wx/bmpbndl.h>
#include <wx/iconbndl.h>

#include <string>
#include <vector>

// The image of a tool-bar command at 16 pixels and at 32 for a desktop
// scaled to 200%, drawn by res/draw_icons.py; an empty bundle for a command
// without one.
wxBitmapBundle ToolBarImage(int id);

// The program's icon at every size drawn (see AppIconSizes).
wxIconBundle AppIcons();

// The sizes the program's icon is drawn in, from 16 to 256 pixels.
std::vector<int> AppIconSizes();

// The program's icon of size by size pixels as PNG bytes, for the desktop's
// icon theme; empty for a size not drawn.
std::string AppIconPng(int size);
