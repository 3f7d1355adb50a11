#include "app/pane_font.h"

#include "app/ui_text.h"
#include "settings/font_arithmetic.h"

#include <wx/dc.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kDefaultPpi = 96;

// The largest pane font, 32,767 twips (about 1,638 points). A height from
// the settings file can be any number; the font layer fails to draw glyphs
// far larger than the screen, and a font that large is no use in a pane.
constexpr int kMaxTwips = 32767;
constexpr double kMaxPoints = kMaxTwips / 20.0;

// The cell height (ascent plus descent) of font in pixels.
int CellHeight(wxDC& dc, const wxFont& font) {
    const wxFont old = dc.GetFont();
    dc.SetFont(font);
    const int height = dc.GetCharHeight();
    dc.SetFont(old);
    return height;
}

}  // namespace

wxFont MakePaneFont(const LOGFONT& logFont, wxDC& dc) {
    const int ppi = dc.GetPPI().y > 0 ? dc.GetPPI().y : kDefaultPpi;
    const std::string face(logFont.lfFaceName, strnlen(logFont.lfFaceName, sizeof logFont.lfFaceName));

    // A face the system does not have is replaced by its fixed-pitch face,
    // so result tables keep their columns.
    wxFont font(wxFontInfo().Family(wxFONTFAMILY_TELETYPE));
    if (!face.empty() && !font.SetFaceName(ToUiString(face))) font = wxFont(wxFontInfo().Family(wxFONTFAMILY_TELETYPE));
    font.SetWeight(wxFONTWEIGHT_NORMAL);
    font.SetStyle(wxFONTSTYLE_NORMAL);
    font.SetUnderlined(false);
    font.SetStrikethrough(false);

    if (logFont.lfHeight < 0) {
        const int twips = font_arithmetic::TwipsForHeight(logFont.lfHeight, ppi);
        font.SetFractionalPointSize(std::clamp(twips, 1, kMaxTwips) / 20.0);
    } else if (logFont.lfHeight > 0) {
        // A cell height: start from the points that height would be as a
        // character height and correct by what the font really measures.
        double points = std::min(logFont.lfHeight * 72.0 / ppi, kMaxPoints);
        font.SetFractionalPointSize(points);
        const int measured = CellHeight(dc, font);
        if (measured > 0) {
            points = std::min(points * logFont.lfHeight / measured, kMaxPoints);
            if (points > 0) font.SetFractionalPointSize(points);
        }
    }
    return font;
}
