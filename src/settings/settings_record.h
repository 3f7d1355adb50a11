#pragma once

#include "settings/font_description.h"
#include "settings/log_font.h"
#include "settings/profile_store.h"

#include <functional>
#include <string>

// The sixteen persistent settings, named by their stored keys. Before Load the
// comment strings are empty and the font description is all zero.
class CSettingsRecord {
public:
    static constexpr const char* kSection = "Settings";

    int DefColLen = 0;
    int MaxColLen = 0;
    int EnableSpool = 0;
    std::string SpoolFile;
    LOGFONT m_logFont;          // FontName and FontSize live in lfFaceName and lfHeight
    int FontCharset = 0;        // index into kCharsetTable (kept as stored)
    int EnableOutput = 0;
    std::string SingleLineComment;
    std::string MultilineCommentStart;
    std::string MultilineCommentEnd;
    int RemoveComments = 0;
    int ShowTiming = 0;         // "Elapsed:" after every statement
    std::string NullText{};     // what NULL shows as in result tables (empty: blanks)
    int HistoryLimit = 0;       // entries the durable history keeps (0: none on disk)
    int AutoCommit = 0;         // the worksheet's statements commit each on its own (Commands > Auto Commit)

    // Reads the sixteen keys in order with their defaults. Right after
    // FontCharset the font description is complete and applyFont (when
    // given) is called, before EnableOutput and the comment settings.
    // Values are used as stored; only a face name over 31 bytes is cut to 31
    // and a negative HistoryLimit reads as the default.
    void Load(CProfileStore& store, const std::function<void(const LOGFONT&)>& applyFont = {});

    // Writes all sixteen keys in the same order, changed or not.
    void Save(CProfileStore& store) const;

    std::string FontName() const { return font_description::FaceName(m_logFont); }
};
