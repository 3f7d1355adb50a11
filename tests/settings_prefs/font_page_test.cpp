#include "sheet_fixture.h"

#include "settings/charset_table.h"
#include "settings/font_arithmetic.h"
#include "settings/font_description.h"
#include "settings/list_match.h"
#include "settings/pref_page2.h"
#include "settings/simple_combo_box.h"
#include "support/gui_env.h"

#include <wx/dcscreen.h>
#include <wx/fontenum.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>

namespace {

int ScreenPpi() { return wxScreenDC().GetPPI().y; }

int IndexOf(const CSimpleComboBox* box, const std::string& entry) {
    const auto& entries = box->Entries();
    const auto at = std::find(entries.begin(), entries.end(), entry);
    return at == entries.end() ? wxNOT_FOUND : static_cast<int>(at - entries.begin());
}

std::string Selected(const CSimpleComboBox* box) {
    const int index = box->GetSelection();
    return index == wxNOT_FOUND ? std::string("(none)") : box->Entries()[static_cast<std::size_t>(index)];
}

// The focus leaves the box for the charset list.
void LoseFocus(CPrefDlg& sheet, CSimpleComboBox* box) {
    wxFocusEvent event(wxEVT_KILL_FOCUS, box->Edit()->GetId());
    event.SetEventObject(box->Edit());
    event.SetWindow(sheet.Font().CharsetList());
    box->Edit()->ProcessWindowEvent(event);
    gui_env::Pump();
}

using FontPageTest = SheetTest;

TEST_F(FontPageTest, OkAfterLookingLeavesTheFontEqual) {
    const CSettingsRecord before = settings;
    EXPECT_FALSE(RunSheet([&](CPrefDlg& sheet) {
        EXPECT_TRUE(ShowPage(sheet, CPrefDlg::kFontPage));
        CPrefPage2& page = sheet.Font();
        EXPECT_TRUE(page.IsInitialised());
        EXPECT_EQ(page.FaceBox()->GetText(), "Courier New");
        EXPECT_EQ(page.SizeBox()->GetText(),
                  std::to_string(font_arithmetic::SizeForHeight(-15, page.PixelsPerInch())));
        EXPECT_EQ(page.CharsetList()->GetSelection(), 1);
        EXPECT_EQ(page.CharsetList()->GetCount(), kCharsetTable.size());
        EXPECT_EQ(page.CharsetList()->GetString(19), "Baltic");
        const std::vector<std::string> sizes(std::begin(CPrefPage2::kSizes), std::end(CPrefPage2::kSizes));
        EXPECT_EQ(page.SizeBox()->Entries(), sizes);
        return Ok(sheet);
    }));
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(settings.m_logFont, before.m_logFont);
    EXPECT_EQ(settings.FontCharset, before.FontCharset);
}

TEST_F(FontPageTest, NeverOpeningThePageKeepsFontAndCharset) {
    settings.m_logFont.lfHeight = -20;
    settings.m_logFont.lfWeight = 700;  // a field the page would not keep
    settings.FontCharset = 5;
    settings.m_logFont.lfCharSet = 129;
    const CSettingsRecord before = settings;
    EXPECT_FALSE(RunSheet(Ok));
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(settings.m_logFont, before.m_logFont);
    EXPECT_EQ(settings.FontCharset, 5);
}

TEST_F(FontPageTest, ChoosingSize11At96PixelsPerInchStoresMinus15) {
    if (ScreenPpi() != 96) GTEST_SKIP() << "the display has " << ScreenPpi() << " pixels per inch, not 96";
    settings.m_logFont.lfHeight = -20;
    EXPECT_TRUE(RunSheet([&](CPrefDlg& sheet) {
        ShowPage(sheet, CPrefDlg::kFontPage);
        CSimpleComboBox* sizes = sheet.Font().SizeBox();
        EXPECT_EQ(sizes->GetText(), "15");
        Choose(sizes->List(), IndexOf(sizes, "11"));
        EXPECT_EQ(sizes->GetText(), "11");
        EXPECT_EQ(sheet.Font().SampleDescription().lfHeight, -15);
        return Ok(sheet);
    }));
    EXPECT_EQ(applied, 1);
    LOGFONT expected;
    font_description::SetFaceName(expected, "Courier New");
    expected.lfHeight = -15;
    expected.lfCharSet = 1;
    EXPECT_EQ(settings.m_logFont, expected);
}

// A loaded size shows as the first entry that begins with it, and the next
// sample uses that entry.
TEST_F(FontPageTest, SizeBoxShowsTheFirstEntryBeginningWithTheSize) {
    if (ScreenPpi() != 96) GTEST_SKIP() << "the display has " << ScreenPpi() << " pixels per inch, not 96";
    const struct {
        int height;
        const char* text;
        const char* selected;
        int sampleHeight;
    } cases[] = {
        {-3, "20", "20", -27},   // 2 points
        {-1, "10", "10", -13},   // 1 point
        {-15, "11", "11", -15},
        {-17, "13", "(none)", -17},  // 13 points: no entry begins with it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("height " + std::to_string(c.height));
        settings = DefaultSettings();
        settings.m_logFont.lfHeight = c.height;
        RunSheet([&](CPrefDlg& sheet) {
            ShowPage(sheet, CPrefDlg::kFontPage);
            CPrefPage2& page = sheet.Font();
            EXPECT_EQ(page.SizeBox()->GetText(), c.text);
            EXPECT_EQ(Selected(page.SizeBox()), c.selected);
            Choose(page.CharsetList(), 1);  // any notification builds the sample anew
            EXPECT_EQ(page.SampleDescription().lfHeight, c.sampleHeight);
            return Ok(sheet);
        });
        EXPECT_EQ(settings.m_logFont.lfHeight, c.sampleHeight);
    }
}

TEST_F(FontPageTest, HangulAndHangeulDifferOnlyInTheIndex) {
    settings.FontCharset = 5;
    settings.m_logFont.lfCharSet = 129;
    EXPECT_FALSE(RunSheet([&](CPrefDlg& sheet) {
        ShowPage(sheet, CPrefDlg::kFontPage);
        EXPECT_EQ(sheet.Font().CharsetList()->GetStringSelection(), "HANGUL");
        Choose(sheet.Font().CharsetList(), 4);
        return Ok(sheet);
    }));
    EXPECT_EQ(settings.FontCharset, 4);
    EXPECT_EQ(settings.m_logFont.lfCharSet, 129);
    EXPECT_EQ(applied, 0);

    EXPECT_TRUE(RunSheet([&](CPrefDlg& sheet) {
        ShowPage(sheet, CPrefDlg::kFontPage);
        Choose(sheet.Font().CharsetList(), 17);
        return Ok(sheet);
    }));
    EXPECT_EQ(settings.FontCharset, 17);
    EXPECT_EQ(settings.m_logFont.lfCharSet, 204);
    EXPECT_EQ(applied, 1);
}

// A stored index outside the table selects no charset; the page then keeps
// the index and the charset byte it was given.
TEST_F(FontPageTest, WithoutACharsetTheIndexAndByteStay) {
    settings.FontCharset = 25;
    settings.m_logFont.lfCharSet = CharsetValue(25);
    EXPECT_TRUE(RunSheet([&](CPrefDlg& sheet) {
        ShowPage(sheet, CPrefDlg::kFontPage);
        CPrefPage2& page = sheet.Font();
        EXPECT_EQ(page.CharsetList()->GetSelection(), wxNOT_FOUND);
        Choose(page.SizeBox()->List(), IndexOf(page.SizeBox(), "12"));
        EXPECT_EQ(page.CharsetIndex(), 25);
        return Ok(sheet);
    }));
    EXPECT_EQ(settings.FontCharset, 25);
    EXPECT_EQ(settings.m_logFont.lfCharSet, CharsetValue(25));
    EXPECT_EQ(settings.m_logFont.lfHeight, font_arithmetic::HeightForSize(12, ScreenPpi()));
}

// Typed text counts once the box loses the focus; a face name keeps 31 bytes.
TEST_F(FontPageTest, TypedFaceTakesEffectWhenTheBoxLosesTheFocus) {
    const std::string longFace = "Some Very Long Face Name That Goes On";
    EXPECT_TRUE(RunSheet([&](CPrefDlg& sheet) {
        ShowPage(sheet, CPrefDlg::kFontPage);
        CPrefPage2& page = sheet.Font();
        page.FaceBox()->Edit()->SetValue(wxString::FromUTF8(longFace));
        EXPECT_EQ(font_description::FaceName(page.SampleDescription()), "Courier New");
        LoseFocus(sheet, page.FaceBox());
        EXPECT_EQ(font_description::FaceName(page.SampleDescription()), longFace.substr(0, 31));
        EXPECT_EQ(page.FaceBox()->GetText(), longFace);
        return Ok(sheet);
    }));
    EXPECT_EQ(font_description::FaceName(settings.m_logFont), longFace.substr(0, 31));
}

// Leaving the page takes the typed text; coming back shows it as a loaded
// value: the first face that begins with it.
TEST_F(FontPageTest, ReturningToThePageShowsTheTakenText) {
    RunSheet([&](CPrefDlg& sheet) {
        ShowPage(sheet, CPrefDlg::kFontPage);
        CSimpleComboBox* faces = sheet.Font().FaceBox();
        if (faces->Entries().empty()) {
            ADD_FAILURE() << "no faces listed";
            return wxID_CANCEL;
        }
        const std::string& first = faces->Entries().front();
        const std::string typed = first.substr(0, 1);
        faces->Edit()->SetValue(wxString::FromUTF8(typed));
        EXPECT_TRUE(ShowPage(sheet, CPrefDlg::kGeneralPage));
        EXPECT_TRUE(ShowPage(sheet, CPrefDlg::kFontPage));
        const auto expected = list_match::FindFirstPrefix(faces->Entries(), typed);
        EXPECT_EQ(faces->GetText(), faces->Entries()[*expected]);
        EXPECT_EQ(faces->GetSelection(), static_cast<int>(*expected));
        return wxID_CANCEL;
    });
}

TEST_F(FontPageTest, FaceBoxListsEveryFaceOnceInOrder) {
    RunSheet([&](CPrefDlg& sheet) {
        ShowPage(sheet, CPrefDlg::kFontPage);
        const std::vector<std::string>& faces = sheet.Font().FaceBox()->Entries();
        EXPECT_FALSE(faces.empty());
        for (std::size_t i = 1; i < faces.size(); ++i) {
            EXPECT_TRUE(list_match::LessNoCase(faces[i - 1], faces[i])) << faces[i - 1] << " / " << faces[i];
            EXPECT_FALSE(list_match::EqualNoCase(faces[i - 1], faces[i])) << faces[i];
        }
        for (const wxString& face : wxFontEnumerator::GetFacenames()) {
            const std::string name = face.utf8_string();
            EXPECT_TRUE(std::any_of(faces.begin(), faces.end(),
                                    [&](const std::string& listed) { return list_match::EqualNoCase(listed, name); }))
                << name;
        }
        return wxID_CANCEL;
    });
}

}  // namespace
