#pragma once

#include "settings/log_font.h"

#include <wx/font.h>

class wxDC;

// The character height of a pane font in twips (1/20 point): a negative
// LOGFONT height of -h pixels at ppi pixels per inch is h * 1440 / ppi twips,
// rounded toward zero (-15 pixels at 96 ppi: 225 twips, 11.25 points).
constexpr int TwipsFromCharHeight(int lfHeight, int ppi) { return ppi > 0 ? (-lfHeight * 1440) / ppi : 0; }

// The panes' font made from the font description: its face (the system's
// fixed-pitch face when it has no such face), its height by
// the sign rule (negative: character height in pixels; positive: cell height
// in pixels, matched by measuring; 0: the toolkit's default size), never
// bold, italic or underlined. dc measures (its pixels per inch).
wxFont MakePaneFont(const LOGFONT& logFont, wxDC& dc);
