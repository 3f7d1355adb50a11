#include "sheet_fixture.h"

#include "settings/options_flow.h"
#include "settings/pref_page1.h"
#include "settings/pref_page2.h"

#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

using Page = CPrefPage1;

const std::string kNotInteger = "Please enter an integer.";
const std::string kRange = "Please enter an integer between 1 and 1000.";
const std::string kEmpty = "String can't be empty";

wxString Text(CPrefDlg& sheet, int id) { return dynamic_cast<wxTextCtrl*>(sheet.FindWindow(id))->GetValue(); }

class GeneralPageTest : public SheetTest {
protected:
    GeneralPageTest() {
        settings.EnableSpool = 1;
        settings.SpoolFile = "/var/tmp/spool.txt";
        settings.RemoveComments = 1;
    }
};

TEST_F(GeneralPageTest, ShowsTheSettings) {
    RunSheet([&](CPrefDlg& sheet) {
        EXPECT_EQ(sheet.GetTitle(), "Options");
        EXPECT_EQ(sheet.GetBookCtrl()->GetSelection(), CPrefDlg::kGeneralPage);
        EXPECT_EQ(Text(sheet, Page::IDC_MAXCOLLEN), "100");
        EXPECT_EQ(Text(sheet, Page::IDC_DEFCOLLEN), "10");
        EXPECT_EQ(Text(sheet, Page::IDC_SPOOLFILE), "/var/tmp/spool.txt");
        EXPECT_TRUE(Find<wxCheckBox>(sheet, Page::IDC_ENABLESPOOL)->GetValue());
        EXPECT_TRUE(Find<wxCheckBox>(sheet, Page::IDC_ENABLEOUTPUT)->GetValue());
        EXPECT_TRUE(Find<wxCheckBox>(sheet, Page::IDC_REMOVECOMMENTS)->GetValue());
        EXPECT_EQ(Text(sheet, Page::IDC_SINGLELINECOMMENT), "--");
        EXPECT_EQ(Text(sheet, Page::IDC_MULTILINECOMMENTSTART), "/*");
        EXPECT_EQ(Text(sheet, Page::IDC_MULTILINECOMMENTEND), "*/");
        EXPECT_FALSE(Find<wxTextCtrl>(sheet, Page::IDC_SPOOLFILE)->IsEditable());
        EXPECT_TRUE(Find(sheet, Page::IDC_SELECTFILE)->IsEnabled());
        EXPECT_FALSE(sheet.Font().IsInitialised());
        return wxID_CANCEL;
    });
}

TEST_F(GeneralPageTest, OkWithoutChangesCopiesEqualValues) {
    const CSettingsRecord before = settings;
    EXPECT_FALSE(RunSheet(Ok));
    EXPECT_EQ(options_flow::GeneralFrom(settings), options_flow::GeneralFrom(before));
    EXPECT_EQ(settings.m_logFont, before.m_logFont);
    EXPECT_EQ(settings.FontCharset, before.FontCharset);
    EXPECT_EQ(applied, 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(GeneralPageTest, OkTakesTheEditedValues) {
    EXPECT_FALSE(RunSheet([&](CPrefDlg& sheet) {
        Type(Find<wxTextCtrl>(sheet, Page::IDC_MAXCOLLEN), " 25\t");
        Type(Find<wxTextCtrl>(sheet, Page::IDC_DEFCOLLEN), "40");  // larger than the maximum: allowed
        Toggle(Find<wxCheckBox>(sheet, Page::IDC_ENABLESPOOL));
        Toggle(Find<wxCheckBox>(sheet, Page::IDC_ENABLEOUTPUT));
        Type(Find<wxTextCtrl>(sheet, Page::IDC_SINGLELINECOMMENT), "#");
        Type(Find<wxTextCtrl>(sheet, Page::IDC_MULTILINECOMMENTSTART), "(*");
        Type(Find<wxTextCtrl>(sheet, Page::IDC_MULTILINECOMMENTEND), "*)");
        Toggle(Find<wxCheckBox>(sheet, Page::IDC_REMOVECOMMENTS));
        return Ok(sheet);
    }));
    EXPECT_EQ(settings.MaxColLen, 25);
    EXPECT_EQ(settings.DefColLen, 40);
    EXPECT_EQ(settings.EnableSpool, 0);
    EXPECT_EQ(settings.SpoolFile, "/var/tmp/spool.txt");
    EXPECT_EQ(settings.EnableOutput, 0);
    EXPECT_EQ(settings.SingleLineComment, "#");
    EXPECT_EQ(settings.MultilineCommentStart, "(*");
    EXPECT_EQ(settings.MultilineCommentEnd, "*)");
    EXPECT_EQ(settings.RemoveComments, 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(GeneralPageTest, CancelAfterEditsChangesNothing) {
    const CSettingsRecord before = settings;
    EXPECT_FALSE(RunSheet([&](CPrefDlg& sheet) {
        Type(Find<wxTextCtrl>(sheet, Page::IDC_MAXCOLLEN), "50");
        Toggle(Find<wxCheckBox>(sheet, Page::IDC_ENABLESPOOL));  // takes the page's values into its fields
        Type(Find<wxTextCtrl>(sheet, Page::IDC_SINGLELINECOMMENT), "#");
        EXPECT_TRUE(ShowPage(sheet, CPrefDlg::kFontPage));
        Choose(sheet.Font().CharsetList(), 17);
        return wxID_CANCEL;
    }));
    EXPECT_EQ(options_flow::GeneralFrom(settings), options_flow::GeneralFrom(before));
    EXPECT_EQ(settings.m_logFont, before.m_logFont);
    EXPECT_EQ(settings.FontCharset, before.FontCharset);
    EXPECT_EQ(applied, 0);
}

// A refused value keeps the sheet open; only the first failing step in the
// exchange's order is reported, and its edit gets the focus with its text
// selected.
TEST_F(GeneralPageTest, FirstFailingFieldIsReported) {
    const struct {
        const char* name;
        std::vector<std::pair<int, std::string>> typed;
        int failing;
        std::string message;
    } cases[] = {
        {"maximum 0", {{Page::IDC_MAXCOLLEN, "0"}}, Page::IDC_MAXCOLLEN, kRange},
        {"maximum 1001", {{Page::IDC_MAXCOLLEN, "1001"}}, Page::IDC_MAXCOLLEN, kRange},
        {"maximum with a letter", {{Page::IDC_MAXCOLLEN, "12a"}}, Page::IDC_MAXCOLLEN, kNotInteger},
        {"default -5", {{Page::IDC_DEFCOLLEN, "-5"}}, Page::IDC_DEFCOLLEN, kRange},
        {"default empty", {{Page::IDC_DEFCOLLEN, ""}}, Page::IDC_DEFCOLLEN, kNotInteger},
        {"default before maximum", {{Page::IDC_MAXCOLLEN, "0"}, {Page::IDC_DEFCOLLEN, "x"}}, Page::IDC_DEFCOLLEN,
         kNotInteger},
        {"single-line comment", {{Page::IDC_SINGLELINECOMMENT, ""}}, Page::IDC_SINGLELINECOMMENT, kEmpty},
        {"both multi-line comments",
         {{Page::IDC_MULTILINECOMMENTSTART, ""}, {Page::IDC_MULTILINECOMMENTEND, ""}},
         Page::IDC_MULTILINECOMMENTEND, kEmpty},
        {"all comments",
         {{Page::IDC_MULTILINECOMMENTSTART, ""}, {Page::IDC_MULTILINECOMMENTEND, ""}, {Page::IDC_SINGLELINECOMMENT, ""}},
         Page::IDC_SINGLELINECOMMENT, kEmpty},
        {"multi-line start", {{Page::IDC_MULTILINECOMMENTSTART, ""}}, Page::IDC_MULTILINECOMMENTSTART, kEmpty},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings = DefaultSettings();
        const CSettingsRecord before = settings;
        messages.clear();
        EXPECT_FALSE(RunSheet([&](CPrefDlg& sheet) {
            for (const auto& [id, text] : c.typed) Type(Find<wxTextCtrl>(sheet, id), text);
            // Something to move the focus away from the failing edit.
            Find(sheet, Page::IDC_ENABLEOUTPUT)->SetFocus();
            EXPECT_EQ(Ok(sheet), wxID_CANCEL);
            EXPECT_TRUE(FocusedAndSelected(Find<wxTextCtrl>(sheet, c.failing)));
            // Neither does switching pages get past the refused value.
            Find(sheet, Page::IDC_ENABLEOUTPUT)->SetFocus();
            EXPECT_FALSE(ShowPage(sheet, CPrefDlg::kFontPage));
            EXPECT_FALSE(sheet.Font().IsInitialised());
            EXPECT_TRUE(FocusedAndSelected(Find<wxTextCtrl>(sheet, c.failing)));
            return wxID_CANCEL;
        }));
        ASSERT_EQ(messages.size(), 2u);  // OK, then the page switch
        for (const Message& message : messages) {
            EXPECT_EQ(message.text, c.message);
            EXPECT_EQ(message.caption, "Tarnwell");
            EXPECT_TRUE(message.style & wxICON_WARNING);
        }
        EXPECT_EQ(options_flow::GeneralFrom(settings), options_flow::GeneralFrom(before));
    }
}

// Steps before the failing one keep what they took; it and the later ones
// keep their previous values.
TEST_F(GeneralPageTest, FailureKeepsValuesTakenBeforeIt) {
    RunSheet([&](CPrefDlg& sheet) {
        Type(Find<wxTextCtrl>(sheet, Page::IDC_DEFCOLLEN), "33");
        Toggle(Find<wxCheckBox>(sheet, Page::IDC_ENABLESPOOL));
        Type(Find<wxTextCtrl>(sheet, Page::IDC_MAXCOLLEN), "1001");
        Toggle(Find<wxCheckBox>(sheet, Page::IDC_ENABLEOUTPUT));
        EXPECT_EQ(Ok(sheet), wxID_CANCEL);
        const CGeneralPrefs& prefs = sheet.General().Prefs();
        EXPECT_EQ(prefs.DefColLen, 33);
        EXPECT_EQ(prefs.EnableSpool, 0);
        EXPECT_EQ(prefs.MaxColLen, 100);
        EXPECT_EQ(prefs.EnableOutput, 1);
        return wxID_CANCEL;
    });
}

TEST_F(GeneralPageTest, SpoolingClickEnablesTheSpoolControls) {
    RunSheet([&](CPrefDlg& sheet) {
        auto* spooling = Find<wxCheckBox>(sheet, Page::IDC_ENABLESPOOL);
        const int controls[] = {Page::IDC_SELECTFILE, Page::IDC_SPOOLFILE, Page::IDC_SPOOLFILE_LABEL};
        Toggle(spooling);
        for (int id : controls) EXPECT_FALSE(Find(sheet, id)->IsEnabled()) << id;
        EXPECT_EQ(sheet.General().Prefs().EnableSpool, 0);
        Toggle(spooling);
        for (int id : controls) EXPECT_TRUE(Find(sheet, id)->IsEnabled()) << id;
        EXPECT_EQ(Text(sheet, Page::IDC_SPOOLFILE), "/var/tmp/spool.txt");
        EXPECT_TRUE(messages.empty());
        return wxID_CANCEL;
    });
}

// The default width comes before the check box in the exchange: while it is
// refused the click is not taken and the controls stay as they were.
TEST_F(GeneralPageTest, SpoolingClickWithAnInvalidDefaultWidth) {
    RunSheet([&](CPrefDlg& sheet) {
        auto* spooling = Find<wxCheckBox>(sheet, Page::IDC_ENABLESPOOL);
        Type(Find<wxTextCtrl>(sheet, Page::IDC_DEFCOLLEN), "abc");
        Toggle(spooling);
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages.at(0).text, kNotInteger);
        EXPECT_TRUE(FocusedAndSelected(Find<wxTextCtrl>(sheet, Page::IDC_DEFCOLLEN)));
        EXPECT_EQ(sheet.General().Prefs().EnableSpool, 1);
        EXPECT_TRUE(Find(sheet, Page::IDC_SELECTFILE)->IsEnabled());
        EXPECT_TRUE(Find(sheet, Page::IDC_SPOOLFILE)->IsEnabled());
        EXPECT_FALSE(spooling->GetValue());  // the box itself shows the click
        return wxID_CANCEL;
    });
    EXPECT_EQ(settings.EnableSpool, 1);
}

// A failure after the check box's step still lets the controls follow it.
TEST_F(GeneralPageTest, SpoolingClickWithALaterFailure) {
    RunSheet([&](CPrefDlg& sheet) {
        Type(Find<wxTextCtrl>(sheet, Page::IDC_SINGLELINECOMMENT), "");
        Toggle(Find<wxCheckBox>(sheet, Page::IDC_ENABLESPOOL));
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages.at(0).text, kEmpty);
        EXPECT_EQ(sheet.General().Prefs().EnableSpool, 0);
        EXPECT_FALSE(Find(sheet, Page::IDC_SELECTFILE)->IsEnabled());
        return wxID_CANCEL;
    });
}

TEST_F(GeneralPageTest, SelectFileShowsThePathAndTheLastTakenValues) {
    const std::string chosen = "/home/someone/spool/run.txt";
    EXPECT_FALSE(RunSheet([&](CPrefDlg& sheet) {
        int asked = 0;
        sheet.General().SetFileChooser([&](wxWindow*) -> std::optional<std::string> {
            ++asked;
            return chosen;
        });
        // Each spooling click takes the whole page: 33 is taken.
        Type(Find<wxTextCtrl>(sheet, Page::IDC_DEFCOLLEN), "33");
        Toggle(Find<wxCheckBox>(sheet, Page::IDC_ENABLESPOOL));
        Toggle(Find<wxCheckBox>(sheet, Page::IDC_ENABLESPOOL));
        // Typed and clicked, but not taken.
        Type(Find<wxTextCtrl>(sheet, Page::IDC_DEFCOLLEN), "77");
        Toggle(Find<wxCheckBox>(sheet, Page::IDC_REMOVECOMMENTS));
        Click(Find(sheet, Page::IDC_SELECTFILE));
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(Text(sheet, Page::IDC_SPOOLFILE), chosen);
        EXPECT_EQ(Text(sheet, Page::IDC_DEFCOLLEN), "33");
        EXPECT_TRUE(Find<wxCheckBox>(sheet, Page::IDC_REMOVECOMMENTS)->GetValue());
        return Ok(sheet);
    }));
    EXPECT_EQ(settings.SpoolFile, chosen);
    EXPECT_EQ(settings.DefColLen, 33);
    EXPECT_EQ(settings.EnableSpool, 1);
    EXPECT_EQ(settings.RemoveComments, 1);
}

TEST_F(GeneralPageTest, CancelledSelectFileChangesNothing) {
    RunSheet([&](CPrefDlg& sheet) {
        sheet.General().SetFileChooser([](wxWindow*) { return std::optional<std::string>(); });
        Type(Find<wxTextCtrl>(sheet, Page::IDC_DEFCOLLEN), "77");
        Click(Find(sheet, Page::IDC_SELECTFILE));
        EXPECT_EQ(Text(sheet, Page::IDC_SPOOLFILE), "/var/tmp/spool.txt");
        EXPECT_EQ(Text(sheet, Page::IDC_DEFCOLLEN), "77");
        return wxID_CANCEL;
    });
}

// Flags are tested for non-zero elsewhere; the page shows values outside
// 0..2 as unchecked (and takes them as 0), and saves 0 or 1.
TEST_F(GeneralPageTest, CheckBoxesLoadOddValues) {
    settings.EnableSpool = 7;
    settings.EnableOutput = 2;
    settings.RemoveComments = -1;
    EXPECT_FALSE(RunSheet([&](CPrefDlg& sheet) {
        EXPECT_FALSE(Find<wxCheckBox>(sheet, Page::IDC_ENABLESPOOL)->GetValue());
        EXPECT_FALSE(Find(sheet, Page::IDC_SELECTFILE)->IsEnabled());
        EXPECT_TRUE(Find<wxCheckBox>(sheet, Page::IDC_ENABLEOUTPUT)->GetValue());
        EXPECT_FALSE(Find<wxCheckBox>(sheet, Page::IDC_REMOVECOMMENTS)->GetValue());
        return Ok(sheet);
    }));
    EXPECT_EQ(settings.EnableSpool, 0);
    EXPECT_EQ(settings.EnableOutput, 1);
    EXPECT_EQ(settings.RemoveComments, 0);
}

// Text that is not UTF-8 (a profile edited by hand) shows, and goes back
// byte for byte while its edit is left alone.
TEST_F(GeneralPageTest, TextThatIsNotUtf8GoesBackUnchanged) {
    settings.SpoolFile = "/tmp/caf\xE9.txt";
    settings.SingleLineComment = "\xA7";
    EXPECT_FALSE(RunSheet([&](CPrefDlg& sheet) {
        EXPECT_FALSE(Text(sheet, Page::IDC_SINGLELINECOMMENT).empty());
        return Ok(sheet);
    }));
    EXPECT_EQ(settings.SpoolFile, "/tmp/caf\xE9.txt");
    EXPECT_EQ(settings.SingleLineComment, "\xA7");
}

}  // namespace
