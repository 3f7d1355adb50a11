#include "settings/options_flow.h"
#include "support/default_settings.h"

#include <gtest/gtest.h>

namespace {

// The first start's settings with spooling on to a file of its own.
CSettingsRecord Settings() {
    CSettingsRecord settings = DefaultSettings();
    settings.EnableSpool = 1;
    settings.SpoolFile = "spool.txt";
    return settings;
}

CGeneralPrefs Edited() {
    CGeneralPrefs general;
    general.DefColLen = 20;
    general.EnableSpool = 0;
    general.MaxColLen = 5;
    general.SpoolFile = "/tmp/other.txt";
    general.EnableOutput = 0;
    general.SingleLineComment = "#";
    general.MultilineCommentEnd = "}";
    general.MultilineCommentStart = "{";
    general.RemoveComments = 1;
    return general;
}

void ExpectGeneral(const CSettingsRecord& settings, const CGeneralPrefs& general) {
    EXPECT_EQ(options_flow::GeneralFrom(settings), general);
}

TEST(OptionsFlow, GeneralFieldsMirrorTheSettings) {
    const CSettingsRecord settings = Settings();
    const CGeneralPrefs general = options_flow::GeneralFrom(settings);
    EXPECT_EQ(general.DefColLen, 10);
    EXPECT_EQ(general.EnableSpool, 1);
    EXPECT_EQ(general.MaxColLen, 100);
    EXPECT_EQ(general.SpoolFile, "spool.txt");
    EXPECT_EQ(general.EnableOutput, 1);
    EXPECT_EQ(general.SingleLineComment, "--");
    EXPECT_EQ(general.MultilineCommentStart, "/*");
    EXPECT_EQ(general.MultilineCommentEnd, "*/");
    EXPECT_EQ(general.RemoveComments, 0);
}

TEST(OptionsFlow, UnchangedFontIsNotApplied) {
    CSettingsRecord settings = Settings();
    const LOGFONT before = settings.m_logFont;
    int applied = 0;
    EXPECT_FALSE(options_flow::TakeOk(settings, Edited(), 4, before, [&] { ++applied; }));
    EXPECT_EQ(applied, 0);
    ExpectGeneral(settings, Edited());
    EXPECT_EQ(settings.FontCharset, 4);
}

// The font goes to the panes after the widths, spooling and charset were
// taken and before the output mode and the comment settings.
TEST(OptionsFlow, ChangedFontIsAppliedBetweenTheTwoGroups) {
    CSettingsRecord settings = Settings();
    const LOGFONT before = settings.m_logFont;
    settings.m_logFont.lfHeight = -16;  // as the Font page's OK step would
    const CGeneralPrefs edited = Edited();
    int applied = 0;
    const bool changed = options_flow::TakeOk(settings, edited, 5, before, [&] {
        ++applied;
        EXPECT_EQ(settings.DefColLen, edited.DefColLen);
        EXPECT_EQ(settings.MaxColLen, edited.MaxColLen);
        EXPECT_EQ(settings.EnableSpool, edited.EnableSpool);
        EXPECT_EQ(settings.SpoolFile, edited.SpoolFile);
        EXPECT_EQ(settings.FontCharset, 5);
        EXPECT_EQ(settings.EnableOutput, 1);
        EXPECT_EQ(settings.SingleLineComment, "--");
        EXPECT_EQ(settings.MultilineCommentStart, "/*");
        EXPECT_EQ(settings.MultilineCommentEnd, "*/");
        EXPECT_EQ(settings.RemoveComments, 0);
    });
    EXPECT_TRUE(changed);
    EXPECT_EQ(applied, 1);
    ExpectGeneral(settings, edited);
    EXPECT_EQ(settings.m_logFont.lfHeight, -16);
}

// Every field counts, also those the settings never set.
TEST(OptionsFlow, AnyFieldOfTheDescriptionCountsAsAChange) {
    CSettingsRecord settings = Settings();
    const LOGFONT before = settings.m_logFont;
    settings.m_logFont.lfWeight = 700;
    EXPECT_TRUE(options_flow::TakeOk(settings, Edited(), 1, before, {}));
}

}  // namespace
