#include "sheet_fixture.h"

#include "settings/font_arithmetic.h"
#include "settings/font_description.h"
#include "settings/pref_page1.h"
#include "settings/pref_page2.h"
#include "settings/simple_combo_box.h"

#include <optional>
#include <tuple>

namespace {

using Page = CPrefPage1;
using GeneralPageTest = SheetTest;

const std::string kNotInteger = "Please enter an integer.";
const std::string kRange = "Please enter an integer between 1 and 1000.";
const std::string kEmpty = "String can't be empty";

// OK without changes, whether the Font page was looked at or never opened,
// copies back equal values (bytes that are not UTF-8 included) and leaves
// the pane font alone; so does Cancel after edits on both pages. A font
// description the Font page rebuilt would lose the weight.
TEST_F(GeneralPageTest, OkWithoutChangesAndCancelKeepEverySetting) {
    settings = {.DefColLen = 7, .MaxColLen = 70, .EnableSpool = 1, .SpoolFile = "/tmp/caf\xE9.txt",
                .m_logFont = {.lfHeight = -20, .lfWeight = 700, .lfCharSet = 129}, .FontCharset = 5, .EnableOutput = 0,
                .SingleLineComment = "\xA7", .MultilineCommentStart = "(*", .MultilineCommentEnd = "*)",
                .RemoveComments = 1, .ShowTiming = 1, .NullText = "\xA7null"};
    font_description::SetFaceName(settings.m_logFont, "Courier New");
    const CSettingsRecord before = settings;
    const Script scripts[] = {
        Ok,
        [](CPrefDlg& sheet) {
            EXPECT_TRUE(ShowPage(sheet, CPrefDlg::kFontPage));
            EXPECT_EQ(std::tuple(sheet.Font().FaceBox()->GetText(), sheet.Font().SizeBox()->GetText(),
                                 sheet.Font().CharsetList()->GetStringSelection()),
                      std::tuple("Courier New",
                                 std::to_string(font_arithmetic::SizeForHeight(-20, sheet.Font().PixelsPerInch())),
                                 "HANGUL"));
            return Ok(sheet);
        },
        [](CPrefDlg& sheet) {
            Type(sheet, Page::IDC_MAXCOLLEN, "50");
            Toggle(sheet, Page::IDC_ENABLESPOOL);  // takes the page's values into its fields
            Type(sheet, Page::IDC_SINGLELINECOMMENT, "#");
            Toggle(sheet, Page::IDC_SHOWTIMING);
            EXPECT_TRUE(ShowPage(sheet, CPrefDlg::kFontPage));
            gui_env::Choose(sheet.Font().CharsetList(), 17);
            return wxID_CANCEL;
        },
    };
    for (const Script& script : scripts) {
        SCOPED_TRACE(testing::Message() << "script " << &script - scripts);
        EXPECT_FALSE(RunSheet(script));
        ExpectSameSettings(settings, before);
    }
    EXPECT_EQ(std::pair(applied, messages.size()), std::pair(0, std::size_t{0}));
}

// A refused value keeps the sheet open, and the page too: only the first
// failing step in the exchange's order is reported, and its edit gets the
// focus with its text selected.
TEST_F(GeneralPageTest, FirstFailingFieldIsReported) {
    // What is typed into which edits, the edit that fails, and its message.
    const int max = Page::IDC_MAXCOLLEN, def = Page::IDC_DEFCOLLEN, single = Page::IDC_SINGLELINECOMMENT,
              start = Page::IDC_MULTILINECOMMENTSTART, end = Page::IDC_MULTILINECOMMENTEND;
    const std::tuple<const char*, std::vector<std::pair<int, std::string>>, int, std::string> cases[] = {
        {"maximum 0", {{max, "0"}}, max, kRange}, {"default empty", {{def, ""}}, def, kNotInteger},
        {"default before maximum", {{max, "0"}, {def, "x"}}, def, kNotInteger},
        {"all comments", {{start, ""}, {end, ""}, {single, ""}}, single, kEmpty},
        {"both multi-line comments", {{start, ""}, {end, ""}}, end, kEmpty},
        {"multi-line start", {{start, ""}}, start, kEmpty},
    };
    for (const auto& [name, typed, failing, message] : cases) {
        SCOPED_TRACE(name);
        messages.clear();
        EXPECT_FALSE(RunSheet([&](CPrefDlg& sheet) {
            for (const auto& [id, text] : typed) Type(sheet, id, text);
            sheet.FindWindow(Page::IDC_ENABLEOUTPUT)->SetFocus();  // away from the failing edit
            EXPECT_EQ(Ok(sheet), wxID_CANCEL);
            EXPECT_TRUE(FocusedAndSelected(sheet, failing));
            sheet.FindWindow(Page::IDC_ENABLEOUTPUT)->SetFocus();
            EXPECT_FALSE(ShowPage(sheet, CPrefDlg::kFontPage));
            EXPECT_TRUE(FocusedAndSelected(sheet, failing));
            EXPECT_FALSE(sheet.Font().IsInitialised());
            return wxID_CANCEL;
        }));
        EXPECT_EQ(messages, std::vector<Message>(2, Warning(message)));  // OK, then the page switch
        ExpectSameSettings(settings, DefaultSettings());
    }
}

// A spooling click takes the page's values in the exchange's order and the
// spool controls follow the spooling value taken. The default width comes
// before the check box: while it is refused, the click is not taken.
TEST_F(GeneralPageTest, SpoolingClickTakesThePageUpToTheFirstFailure) {
    settings.EnableSpool = 1;
    // The edit and its text, the message (empty: none), and whether the click is taken.
    const std::tuple<int, std::string, std::string, bool> cases[] = {
        {Page::IDC_MAXCOLLEN, "50", "", true}, {Page::IDC_DEFCOLLEN, "abc", kNotInteger, false},
        {Page::IDC_SINGLELINECOMMENT, "", kEmpty, true},
    };
    for (const auto& [edit, text, message, taken] : cases) {
        SCOPED_TRACE("typed \"" + text + "\"");
        messages.clear();
        RunSheet([&](CPrefDlg& sheet) {
            Type(sheet, edit, text);
            Toggle(sheet, Page::IDC_ENABLESPOOL);
            EXPECT_FALSE(Checked(sheet, Page::IDC_ENABLESPOOL));  // the box itself shows the click
            EXPECT_EQ(sheet.General().Prefs().EnableSpool, taken ? 0 : 1);
            for (int id : {Page::IDC_SELECTFILE, Page::IDC_SPOOLFILE, Page::IDC_SPOOLFILE_LABEL})
                EXPECT_EQ(Enabled(sheet, id), !taken) << id;
            EXPECT_EQ(messages, std::vector<Message>(message.empty() ? 0 : 1, Warning(message)));
            EXPECT_TRUE(message.empty() || FocusedAndSelected(sheet, edit));
            return wxID_CANCEL;
        });
        EXPECT_EQ(settings.EnableSpool, 1);
    }
}

// "Select file" shows the chosen path with the values last taken (by a
// spooling click), not those typed since; cancelling it changes nothing.
TEST_F(GeneralPageTest, SelectFileShowsThePathAndTheLastTakenValues) {
    const std::string chosen = "/home/someone/spool/run.txt";
    EXPECT_FALSE(RunSheet([&](CPrefDlg& sheet) {
        std::optional<std::string> answer;  // cancelled at first
        int asked = 0;
        sheet.General().SetFileChooser([&](wxWindow*) { ++asked; return answer; });
        Type(sheet, Page::IDC_DEFCOLLEN, "33");
        Type(sheet, Page::IDC_MAXCOLLEN, "20");  // below the default width: allowed
        Toggle(sheet, Page::IDC_ENABLESPOOL);
        Type(sheet, Page::IDC_DEFCOLLEN, "77");
        Toggle(sheet, Page::IDC_REMOVECOMMENTS);
        Click(sheet, Page::IDC_SELECTFILE);
        EXPECT_EQ(std::tuple(Text(sheet, Page::IDC_SPOOLFILE), Text(sheet, Page::IDC_DEFCOLLEN)),
                  std::tuple("output.txt", "77"));
        answer = chosen;
        Click(sheet, Page::IDC_SELECTFILE);
        EXPECT_EQ(std::tuple(asked, Text(sheet, Page::IDC_SPOOLFILE), Text(sheet, Page::IDC_DEFCOLLEN),
                             Checked(sheet, Page::IDC_REMOVECOMMENTS)),
                  std::tuple(2, chosen, "33", false));
        // Edits after that are taken by OK.
        Type(sheet, Page::IDC_SINGLELINECOMMENT, "#");
        Type(sheet, Page::IDC_MULTILINECOMMENTSTART, "(*");
        Type(sheet, Page::IDC_MULTILINECOMMENTEND, "*)");
        Toggle(sheet, Page::IDC_ENABLEOUTPUT);
        Toggle(sheet, Page::IDC_SHOWTIMING);
        Type(sheet, Page::IDC_NULLTEXT, "(null)");
        return Ok(sheet);
    }));
    const CSettingsRecord defaults = DefaultSettings();
    ExpectSameSettings(settings, {.DefColLen = 33, .MaxColLen = 20, .EnableSpool = 1, .SpoolFile = chosen,
                                  .m_logFont = defaults.m_logFont, .FontCharset = defaults.FontCharset,
                                  .EnableOutput = 0, .SingleLineComment = "#", .MultilineCommentStart = "(*",
                                  .MultilineCommentEnd = "*)", .RemoveComments = 0, .ShowTiming = 1,
                                  .NullText = "(null)", .HistoryLimit = defaults.HistoryLimit,
                                  .AutoCommit = defaults.AutoCommit});
}

}  // namespace
