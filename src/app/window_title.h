#pragma once

#include "common/app_name.h"

#include <string>
#include <string_view>

// The main window's title: the document title, " - ", the application name,
// " - " and the connection text. It is built from these parts every time, so
// dashes inside the document title never confuse it and a new connection
// text replaces the old one instead of adding to it.
std::string WindowTitle(std::string_view documentTitle, std::string_view connection);
