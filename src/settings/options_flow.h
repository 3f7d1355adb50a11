#pragma once

#include "settings/general_prefs.h"
#include "settings/log_font.h"
#include "settings/settings_record.h"

#include <functional>

// What the Options command does with the settings around the sheet: copy
// them into the pages before, and back after OK. The Font page writes the
// record's font description itself (in its OK step); the command only
// compares it with the copy it kept.
namespace options_flow {

// The General page's fields from the record.
CGeneralPrefs GeneralFrom(const CSettingsRecord& settings);

// After OK, in this order: DefColLen, MaxColLen, EnableSpool, SpoolFile;
// FontCharset; then, when the record's font description differs from
// fontBefore in any field, applyPaneFont (when given); then EnableOutput,
// the three comment strings, RemoveComments, ShowTiming and NullText. Returns whether
// the font description differed.
bool TakeOk(CSettingsRecord& settings, const CGeneralPrefs& general, int charsetIndex, const LOGFONT& fontBefore,
            const std::function<void()>& applyPaneFont);

}  // namespace options_flow
