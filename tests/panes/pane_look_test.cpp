// The panes follow the desktop's theme: the dark palette while it is dark,
// also after a change of theme or of the pane font.
#include "panes/pane_palette.h"
#include "worksheet_fixture.h"

#include <wx/docview.h>
#include <wx/font.h>
#include <wx/stc/stc.h>

class PaneLookTest : public WorksheetTest {
protected:
    void TearDown() override {
        CPane::SetAppearanceQuery(nullptr);
        WorksheetTest::TearDown();
    }
};

TEST_F(PaneLookTest, PanesTakeThePaletteOfTheThemeWhenItChanges) {
    bool dark = false;
    CPane::SetAppearanceQuery([&dark] { return dark; });
    for (const bool theme : {true, false, true}) {
        SCOPED_TRACE(theme);
        dark = theme;
        wxSysColourChangedEvent event;
        event.SetEventObject(m_pFrame);
        m_pFrame->GetEventHandler()->ProcessEvent(event);
        m_pOutputPane->SetPaneFont(wxFont(wxFontInfo(11).Family(wxFONTFAMILY_TELETYPE)), 8);
        const PanePalette palette = PanePalette::For(theme);
        const auto colour = [](Rgb rgb) { return wxColour(rgb.red, rgb.green, rgb.blue); };
        // Style 1 is a class of its own: the script's block comments, the
        // transcript's echo lines.
        for (const auto& [pane, styleOne] : {std::pair<CPane*, Rgb>{m_pScriptPane, palette.comment},
                                             std::pair<CPane*, Rgb>{m_pOutputPane, palette.echo}}) {
            wxStyledTextCtrl& control = *pane->GetControl();
            for (const auto& [style, text] : {std::pair{0, palette.text}, std::pair{1, styleOne},
                                              std::pair{+wxSTC_STYLE_DEFAULT, palette.text}}) {
                EXPECT_EQ(control.StyleGetBackground(style), colour(palette.background));
                EXPECT_EQ(control.StyleGetForeground(style), colour(text));
            }
            EXPECT_GT(control.GetMarginLeft(), 0);
        }
    }
}
