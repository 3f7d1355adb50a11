#pragma once

#include <string>
#include <vector>

// Button labels with a mnemonic each ("&Recover": Alt+R presses it). A label
// that has one ('&' before a character; "&&" is a plain '&') keeps it; the
// others get '&' before their first ASCII letter or digit that no other
// label of the set uses yet, in order, and none when every one is taken.
std::vector<std::string> WithMnemonics(std::vector<std::string> labels);
