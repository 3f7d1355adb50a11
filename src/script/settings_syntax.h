#pragma once

#include "script/statement_reader.h"

class CSettingsRecord;

// The comment delimiters and RemoveComments of the settings, as the
// statement reader takes them.
CommentSyntax CommentSyntaxOf(const CSettingsRecord& settings);
