#include "script/settings_syntax.h"

#include "settings/settings_record.h"

CommentSyntax CommentSyntaxOf(const CSettingsRecord& settings) {
    return CommentSyntax{settings.SingleLineComment, settings.MultilineCommentStart, settings.MultilineCommentEnd,
                         settings.RemoveComments != 0};
}
