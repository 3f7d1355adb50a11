#pragma once

#include "settings/log_font.h"

#include <wx/font.h>

class wxDC;

// The panes' font made from the font description: its face (the system's
// fixed-pitch face when it has no such face), its height by
// the sign rule (negative: character height in pixels; positive: cell height
// in pixels, matched by measuring; 0: the toolkit's default size), never
// bold, italic or underlined. A character height of -h pixels is
// h * 1440 / ppi twips (1/20 point), rounded toward zero: -15 pixels at
// 96 ppi are 225 twips, 11.25 points. At most 32,767 twips whatever the
// height. dc measures (its pixels per inch).
wxFont MakePaneFont(const LOGFONT& logFont, wxDC& dc);
