#pragma once

#include "settings/settings_record.h"

// The settings of a first start, written out field by field.
CSettingsRecord DefaultSettings();

// Expects actual to hold expected's twelve settings and the same font
// description (every field of it).
void ExpectSameSettings(const CSettingsRecord& actual, const CSettingsRecord& expected);
