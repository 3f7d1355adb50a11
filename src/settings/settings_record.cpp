#include "settings/settings_record.h"

#include "settings/charset_table.h"
#include "settings/font_description.h"

namespace {

constexpr int kDefColLen = 10;
constexpr int kMaxColLen = 100;
constexpr int kEnableSpool = 0;
constexpr const char* kSpoolFile = "output.txt";
constexpr const char* kFontName = "Courier New";
constexpr int kFontSize = -15;
constexpr int kEnableOutput = 1;
constexpr const char* kSingleLineComment = "--";
constexpr const char* kMultilineCommentStart = "/*";
constexpr const char* kMultilineCommentEnd = "*/";
constexpr int kRemoveComments = 0;
constexpr int kShowTiming = 0;
constexpr const char* kNullText = "";
constexpr int kHistoryLimit = 10000;
constexpr int kAutoCommit = 1;

}  // namespace

void CSettingsRecord::Load(CProfileStore& store, const std::function<void(const LOGFONT&)>& applyFont) {
    DefColLen = store.GetProfileInt(kSection, "DefColLen", kDefColLen);
    MaxColLen = store.GetProfileInt(kSection, "MaxColLen", kMaxColLen);
    EnableSpool = store.GetProfileInt(kSection, "EnableSpool", kEnableSpool);
    SpoolFile = store.GetProfileString(kSection, "SpoolFile", kSpoolFile);

    // Only height, charset and face name are set; every other field is 0.
    m_logFont = LOGFONT{};
    font_description::SetFaceName(m_logFont, store.GetProfileString(kSection, "FontName", kFontName));
    m_logFont.lfHeight = store.GetProfileInt(kSection, "FontSize", kFontSize);
    FontCharset = store.GetProfileInt(kSection, "FontCharset", kDefaultCharsetIndex);
    m_logFont.lfCharSet = CharsetValue(FontCharset);
    if (applyFont) applyFont(m_logFont);

    EnableOutput = store.GetProfileInt(kSection, "EnableOutput", kEnableOutput);
    SingleLineComment = store.GetProfileString(kSection, "SingleLineComment", kSingleLineComment);
    MultilineCommentStart = store.GetProfileString(kSection, "MultilineCommentStart", kMultilineCommentStart);
    MultilineCommentEnd = store.GetProfileString(kSection, "MultilineCommentEnd", kMultilineCommentEnd);
    RemoveComments = store.GetProfileInt(kSection, "RemoveComments", kRemoveComments);
    ShowTiming = store.GetProfileInt(kSection, "ShowTiming", kShowTiming);
    NullText = store.GetProfileString(kSection, "NullText", kNullText);
    HistoryLimit = store.GetProfileInt(kSection, "HistoryLimit", kHistoryLimit);
    if (HistoryLimit < 0) HistoryLimit = kHistoryLimit;
    AutoCommit = store.GetProfileInt(kSection, "AutoCommit", kAutoCommit);
}

void CSettingsRecord::Save(CProfileStore& store) const {
    store.WriteProfileInt(kSection, "DefColLen", DefColLen);
    store.WriteProfileInt(kSection, "MaxColLen", MaxColLen);
    store.WriteProfileInt(kSection, "EnableSpool", EnableSpool);
    store.WriteProfileString(kSection, "SpoolFile", SpoolFile);
    store.WriteProfileString(kSection, "FontName", FontName());
    store.WriteProfileInt(kSection, "FontSize", m_logFont.lfHeight);
    store.WriteProfileInt(kSection, "FontCharset", FontCharset);
    store.WriteProfileInt(kSection, "EnableOutput", EnableOutput);
    store.WriteProfileString(kSection, "SingleLineComment", SingleLineComment);
    store.WriteProfileString(kSection, "MultilineCommentStart", MultilineCommentStart);
    store.WriteProfileString(kSection, "MultilineCommentEnd", MultilineCommentEnd);
    store.WriteProfileInt(kSection, "RemoveComments", RemoveComments);
    store.WriteProfileInt(kSection, "ShowTiming", ShowTiming);
    store.WriteProfileString(kSection, "NullText", NullText);
    store.WriteProfileInt(kSection, "HistoryLimit", HistoryLimit);
    store.WriteProfileInt(kSection, "AutoCommit", AutoCommit);
}
