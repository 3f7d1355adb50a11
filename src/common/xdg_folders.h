#pragma once

#include <string>

// The user's base folders as the XDG base directory rules name them: the
// variable's value when it is an absolute path, else the usual folder under
// the home folder ($HOME, or the password database's entry when HOME is
// unset or empty).
namespace xdg {

std::string ConfigHome();   // $XDG_CONFIG_HOME or ~/.config
std::string DataHome();     // $XDG_DATA_HOME or ~/.local/share
std::string StateHome();    // $XDG_STATE_HOME or ~/.local/state

}  // namespace xdg
