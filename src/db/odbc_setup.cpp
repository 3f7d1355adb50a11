#include "db/odbc_setup.h"

#include <sql.h>
#include <odbcinst.h>

#include <dlfcn.h>

#include <array>

// The installer library's own answers to "which files": exported by
// libodbcinst (what odbcinst -j prints) but declared only in its private header.
extern "C" {
char* odbcinst_system_file_path(char* buffer);
char* odbcinst_system_file_name(char* buffer);
BOOL _odbcinst_UserINI(char* fileName, BOOL verify);
}

namespace {

constexpr std::size_t kPathCapacity = 4096 + 1;   // the installer's FILENAME_MAX, and its end

// One entry of odbc.ini or odbcinst.ini; key null lists the section's keys
// instead. The result is "" when the section or key is missing.
std::string ProfileString(const std::string& section, const char* key, const char* file, int* count = nullptr) {
    std::array<char, kPathCapacity> buffer{};
    const int length = SQLGetPrivateProfileString(section.c_str(), key, "", buffer.data(),
                                                   static_cast<int>(buffer.size()), file);
    if (count) *count = length;
    return length > 0 ? std::string(buffer.data()) : std::string();
}

}  // namespace

OdbcFiles COdbcSetup::Files() {
    std::array<char, kPathCapacity> path{}, name{}, user{};
    // Both may hand back a buffer of their own instead of the one given.
    const std::string folder = odbcinst_system_file_path(path.data());
    const std::string drivers = odbcinst_system_file_name(name.data());
    _odbcinst_UserINI(user.data(), false);
    return OdbcFiles{folder + "/" + drivers, folder + "/odbc.ini", user.data()};
}

std::string COdbcSetup::DataSourceDriver(const std::string& dataSource) {
    return ProfileString(dataSource, "Driver", "odbc.ini");
}

std::optional<std::string> COdbcSetup::DriverLibrary(const std::string& driver) {
    if (driver.find('/') != std::string::npos) return driver;
    int keys = 0;
    ProfileString(driver, nullptr, "odbcinst.ini", &keys);
    if (keys <= 0) return std::nullopt;
    std::string library = ProfileString(driver, "Driver64", "odbcinst.ini");
    return library.empty() ? ProfileString(driver, "Driver", "odbcinst.ini") : library;
}

std::string COdbcSetup::DriverDescription(const std::string& driver) {
    return ProfileString(driver, "Description", "odbcinst.ini");
}

std::string COdbcSetup::LoadError(const std::string& library) {
    void* handle = dlopen(library.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = dlerror();
        return error ? error : "the loader gave no reason";
    }
    dlclose(handle);
    return {};
}
