#include "sheet_fixture.h"

#include "settings/charset_table.h"
#include "settings/font_arithmetic.h"
#include "settings/font_description.h"
#include "settings/pref_page2.h"
#include "settings/simple_combo_box.h"

#include <wx/dcscreen.h>

#include <tuple>

namespace {

int ScreenPpi() { return wxScreenDC().GetPPI().y; }

class FontPageTest : public SheetTest {
protected:
    // Runs the sheet on the Font page; script's result ends it.
    bool RunFontPage(const std::function<int(CPrefPage2& page)>& script) {
        return RunSheet([&](CPrefDlg& sheet) {
            EXPECT_TRUE(ShowPage(sheet, CPrefDlg::kFontPage));
            return script(sheet.Font()) == wxID_OK ? Ok(sheet) : wxID_CANCEL;
        });
    }
};

// At 96 pixels per inch: a loaded size shows as the first entry that begins
// with it; the next sample uses the entry shown, or the one chosen.
TEST_F(FontPageTest, SizeBoxShowsTheFirstEntryBeginningWithTheSize) {
    if (ScreenPpi() != 96) GTEST_SKIP() << "the display has " << ScreenPpi() << " pixels per inch, not 96";
    // The stored height, the text and entry (index) shown, the entry chosen
    // (none: the charset list notifies), and the next sample's height.
    const std::tuple<int, const char*, int, const char*, int> cases[] = {
        {-3, "20", 8, nullptr, -27},             // 2 points
        {-1, "10", 2, nullptr, -13},             // 1 point
        {-17, "13", wxNOT_FOUND, nullptr, -17},  // 13 points: no entry begins with it
        {-20, "15", wxNOT_FOUND, "11", -15},     // size 11 stores -15
    };
    for (const auto& [height, text, selected, chosen, sampleHeight] : cases) {
        SCOPED_TRACE("height " + std::to_string(height));
        settings.m_logFont.lfHeight = height;
        applied = 0;
        const bool changed = RunFontPage([&](CPrefPage2& page) {
            EXPECT_EQ(std::tuple(page.SizeBox()->GetText(), page.SizeBox()->GetSelection()), std::tuple(text, selected));
            // Any notification builds the sample anew.
            chosen ? gui_env::ChooseEntry(page.SizeBox(), chosen) : gui_env::Choose(page.CharsetList(), 1);
            EXPECT_EQ(page.SampleDescription().lfHeight, sampleHeight);
            return wxID_OK;
        });
        EXPECT_EQ(std::pair(changed, applied), std::pair(height != sampleHeight, changed ? 1 : 0));
        LOGFONT expected{.lfHeight = sampleHeight, .lfCharSet = 1};
        font_description::SetFaceName(expected, "Courier New");
        EXPECT_EQ(settings.m_logFont, expected);
    }
}

// HANGEUL and HANGUL make the same description: choosing the other one
// changes only the stored index, and the panes keep their font.
TEST_F(FontPageTest, HangulAndHangeulDifferOnlyInTheIndex) {
    settings.FontCharset = 5;
    settings.m_logFont.lfCharSet = 129;
    const LOGFONT before = settings.m_logFont;
    EXPECT_FALSE(RunFontPage([&](CPrefPage2& page) {
        EXPECT_EQ(page.CharsetList()->GetStringSelection(), "HANGUL");
        gui_env::Choose(page.CharsetList(), 4);
        return wxID_OK;
    }));
    EXPECT_EQ(std::tuple(settings.FontCharset, settings.m_logFont, applied), std::tuple(4, before, 0));
}

// A stored index outside the table selects no charset; the page then keeps
// the index and the charset byte it was given.
TEST_F(FontPageTest, WithoutACharsetTheIndexAndByteStay) {
    settings.FontCharset = 25;
    EXPECT_TRUE(RunFontPage([&](CPrefPage2& page) {
        EXPECT_EQ(page.CharsetList()->GetSelection(), wxNOT_FOUND);
        gui_env::ChooseEntry(page.SizeBox(), "12");
        return wxID_OK;
    }));
    EXPECT_EQ(std::tuple(settings.FontCharset, settings.m_logFont.lfCharSet, settings.m_logFont.lfHeight),
              std::tuple(25, CharsetValue(25), font_arithmetic::HeightForSize(12, ScreenPpi())));
}

// Typed text counts once the box loses the focus, and shows again when the
// page is shown again; the description keeps 31 bytes of a face name.
TEST_F(FontPageTest, TypedFaceTakesEffectWhenTheBoxLosesTheFocus) {
    const std::string longFace = "Some Very Long Face Name That Goes On";
    EXPECT_TRUE(RunSheet([&](CPrefDlg& sheet) {
        EXPECT_TRUE(ShowPage(sheet, CPrefDlg::kFontPage));
        wxTextCtrl* edit = sheet.Font().FaceBox()->Edit();
        edit->SetValue(wxString::FromUTF8(longFace));
        EXPECT_EQ(font_description::FaceName(sheet.Font().SampleDescription()), "Courier New");
        wxFocusEvent lost(wxEVT_KILL_FOCUS, edit->GetId());
        lost.SetEventObject(edit);
        lost.SetWindow(sheet.Font().CharsetList());
        edit->ProcessWindowEvent(lost);
        gui_env::Pump();
        EXPECT_EQ(font_description::FaceName(sheet.Font().SampleDescription()), longFace.substr(0, 31));
        EXPECT_TRUE(ShowPage(sheet, CPrefDlg::kGeneralPage));
        EXPECT_TRUE(ShowPage(sheet, CPrefDlg::kFontPage));
        EXPECT_EQ(sheet.Font().FaceBox()->GetText(), longFace);
        return Ok(sheet);
    }));
    EXPECT_EQ(font_description::FaceName(settings.m_logFont), longFace.substr(0, 31));
}

}  // namespace
