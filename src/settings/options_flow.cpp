#include "settings/options_flow.h"

namespace options_flow {

CGeneralPrefs GeneralFrom(const CSettingsRecord& settings) {
    CGeneralPrefs general;
    general.DefColLen = settings.DefColLen;
    general.EnableSpool = settings.EnableSpool;
    general.MaxColLen = settings.MaxColLen;
    general.SpoolFile = settings.SpoolFile;
    general.EnableOutput = settings.EnableOutput;
    general.SingleLineComment = settings.SingleLineComment;
    general.MultilineCommentStart = settings.MultilineCommentStart;
    general.MultilineCommentEnd = settings.MultilineCommentEnd;
    general.RemoveComments = settings.RemoveComments;
    general.ShowTiming = settings.ShowTiming;
    general.NullText = settings.NullText;
    return general;
}

bool TakeOk(CSettingsRecord& settings, const CGeneralPrefs& general, int charsetIndex, const LOGFONT& fontBefore,
            const std::function<void()>& applyPaneFont) {
    settings.DefColLen = general.DefColLen;
    settings.MaxColLen = general.MaxColLen;
    settings.EnableSpool = general.EnableSpool;
    settings.SpoolFile = general.SpoolFile;

    settings.FontCharset = charsetIndex;
    const bool fontChanged = !(settings.m_logFont == fontBefore);
    if (fontChanged && applyPaneFont) applyPaneFont();

    settings.EnableOutput = general.EnableOutput;
    settings.SingleLineComment = general.SingleLineComment;
    settings.MultilineCommentStart = general.MultilineCommentStart;
    settings.MultilineCommentEnd = general.MultilineCommentEnd;
    settings.RemoveComments = general.RemoveComments;
    settings.ShowTiming = general.ShowTiming;
    settings.NullText = general.NullText;
    return fontChanged;
}

}  // namespace options_flow
