#include "support/default_settings.h"

#include "settings/font_description.h"

#include <gtest/gtest.h>

CSettingsRecord DefaultSettings() {
    CSettingsRecord settings;
    settings.DefColLen = 10;
    settings.MaxColLen = 100;
    settings.EnableSpool = 0;
    settings.SpoolFile = "output.txt";
    font_description::SetFaceName(settings.m_logFont, "Courier New");
    settings.m_logFont.lfHeight = -15;
    settings.m_logFont.lfCharSet = 1;
    settings.FontCharset = 1;
    settings.EnableOutput = 1;
    settings.SingleLineComment = "--";
    settings.MultilineCommentStart = "/*";
    settings.MultilineCommentEnd = "*/";
    settings.RemoveComments = 0;
    settings.HistoryLimit = 10000;
    settings.AutoCommit = 1;
    return settings;
}

void ExpectSameSettings(const CSettingsRecord& actual, const CSettingsRecord& expected) {
    EXPECT_EQ(actual.DefColLen, expected.DefColLen);
    EXPECT_EQ(actual.MaxColLen, expected.MaxColLen);
    EXPECT_EQ(actual.EnableSpool, expected.EnableSpool);
    EXPECT_EQ(actual.SpoolFile, expected.SpoolFile);
    EXPECT_EQ(actual.FontName(), expected.FontName());
    EXPECT_EQ(actual.m_logFont.lfHeight, expected.m_logFont.lfHeight);
    EXPECT_TRUE(actual.m_logFont == expected.m_logFont) << "the font descriptions differ";
    EXPECT_EQ(actual.FontCharset, expected.FontCharset);
    EXPECT_EQ(actual.EnableOutput, expected.EnableOutput);
    EXPECT_EQ(actual.SingleLineComment, expected.SingleLineComment);
    EXPECT_EQ(actual.MultilineCommentStart, expected.MultilineCommentStart);
    EXPECT_EQ(actual.MultilineCommentEnd, expected.MultilineCommentEnd);
    EXPECT_EQ(actual.RemoveComments, expected.RemoveComments);
    EXPECT_EQ(actual.ShowTiming, expected.ShowTiming);
    EXPECT_EQ(actual.NullText, expected.NullText);
    EXPECT_EQ(actual.HistoryLimit, expected.HistoryLimit);
    EXPECT_EQ(actual.AutoCommit, expected.AutoCommit);
}
