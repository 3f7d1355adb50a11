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
        for (CPane* pane : {static_cast<CPane*>(m_pScriptPane), static_cast<CPane*>(m_pOutputPane)}) {
            wxStyledTextCtrl& control = *pane->GetControl();
            for (const int style : {0, 1, wxSTC_STYLE_DEFAULT}) {
                EXPECT_EQ(control.StyleGetBackground(style), wxColour(palette.background.red, palette.background.green,
                                                                       palette.background.blue));
                EXPECT_EQ(control.StyleGetForeground(style),
                          wxColour(palette.text.red, palette.text.green, palette.text.blue));
            }
            EXPECT_GT(control.GetMarginLeft(), 0);
        }
    }
}
