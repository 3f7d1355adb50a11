#include "common/xdg_folders.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

std::string Folder(const char* variable, const char* underHome) {
    if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') return value;
    return HomeFolder() + "/" + underHome;
}

}  // namespace

namespace xdg {

std::string ConfigHome() { return Folder("XDG_CONFIG_HOME", ".config"); }
std::string DataHome() { return Folder("XDG_DATA_HOME", ".local/share"); }
std::string StateHome() { return Folder("XDG_STATE_HOME", ".local/state"); }

}  // namespace xdg
