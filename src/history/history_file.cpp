#include "history/history_file.h"

#include "common/xdg_folders.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kHeaderBytes = 100;
constexpr char kMagic[] = "SQLite format 3";   // with its NUL: 16 bytes

std::uint32_t BigEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | bytes[i];
    return value;
}

std::uintmax_t SizeOf(const fs::path& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    return error ? 0 : size;
}


}  // namespace

namespace history_file {

std::string DefaultPath() {
    return xdg::StateHome() + "/Tarnwell/history.sqlite";
}

bool LooksDamaged(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size == 0) return false;   // missing (or not a file: SQLite will say) or empty

    unsigned char header[kHeaderBytes] = {};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(header), kHeaderBytes)) return true;   // shorter than a header
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0) return true;

    std::uint32_t pageSize = BigEndian(header + 16, 2);
    if (pageSize == 1) pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) return true;
    if (size % pageSize != 0) return true;
    // The header's page count holds when the change counter agrees with the
    // version it was written for. Pages still in a write-ahead log are not
    // in the file yet, so the count is compared only without one.
    const std::uint32_t pages = BigEndian(header + 28, 4);
    const bool countValid = pages != 0 && BigEndian(header + 24, 4) == BigEndian(header + 92, 4);
    return countValid && SizeOf(path + "-wal") == 0 && std::uintmax_t(pages) * pageSize > size;
}

std::string MoveAside(const std::string& path, std::time_t now) {
    std::tm local{};
    char stamp[32] = "";
    if (localtime_r(&now, &local)) std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string aside = path + ".damaged-" + stamp;
    std::error_code error;
    for (int n = 2; fs::exists(aside, error) && n < 100; ++n) aside = path + ".damaged-" + stamp + "-" + std::to_string(n);

    if (std::rename(path.c_str(), aside.c_str()) != 0) return {};
    // The log belongs to the damaged file: applied to a new one it would
    // bring the damage back.
    if (std::rename((path + "-wal").c_str(), (aside + "-wal").c_str()) != 0) fs::remove(path + "-wal", error);
    fs::remove(path + "-shm", error);
    return fs::path(aside).filename().string();
}

}  // namespace history_file
