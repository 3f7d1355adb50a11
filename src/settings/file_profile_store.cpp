#include "settings/file_profile_store.h"

#include "common/file_descriptor.h"
#include "common/xdg_folders.h"
#include "settings/byte_conv.h"

#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A file larger than this is not a profile of ours: it is left alone.
constexpr std::size_t kMaxFileSize = 16u << 20;

// The file's text: UTF-8 that keeps every byte (see CByteConv).
const wxMBConv& FileConv() {
    static const CByteConv conv;
    return conv;
}

// While a corrupt file is parsed or written back, the parser's complaints
// (log messages and debug assertions, which a window would show in a
// dialog) are silenced: a damaged profile is simply read as far as it goes.
class QuietConfig {
public:
    QuietConfig() : m_assertHandler(wxSetAssertHandler(nullptr)) {}
    ~QuietConfig() { wxSetAssertHandler(m_assertHandler); }
    QuietConfig(const QuietConfig&) = delete;
    QuietConfig& operator=(const QuietConfig&) = delete;

private:
    wxLogNull m_noLog;
    wxAssertHandler_t m_assertHandler;
};

wxString KeyPath(const std::string& section, const std::string& key) {
    return CByteConv::ToText("/" + section + "/" + key);
}

// wxFileConfig takes a "!" before a key as a mark that the key may not be
// changed (meant for a system-wide file beneath the user's). In the user's
// own file it would only make every write of that key fail, and leave a later
// line of the same key unclaimed, to be moved into another group on saving.
// The marks are dropped, so such keys are ordinary ones.
std::string WithoutImmutableMarks(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    bool lineStart = true;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            lineStart = true;
        } else if (lineStart && c == '!') {
            continue;
        } else if (c != ' ' && c != '\t' && c != '\v' && c != '\f') {
            lineStart = false;
        }
        result += c;
    }
    return result;
}

enum class ReadResult { Missing, Read, Unreadable };

ReadResult ReadWholeFile(const std::string& path, std::string& bytes) {
    // O_NONBLOCK: a FIFO put in the file's place must not hang the start.
    CFileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Unreadable;
    struct stat info {};
    if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::size_t>(info.st_size) > kMaxFileSize)
        return ReadResult::Unreadable;
    char chunk[8192];
    for (;;) {
        const ssize_t got = read(file.Get(), chunk, sizeof chunk);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            return ReadResult::Unreadable;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
        if (bytes.size() > kMaxFileSize) return ReadResult::Unreadable;
    }
    return ReadResult::Read;
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// Replaces the file at path by bytes so that, whatever interrupts it, the
// file holds either its old or its new text: the bytes go to a temporary file
// in the same folder, are synced to disk, and the temporary file is renamed
// over the old one. A symbolic link at path is kept; its target is replaced.
bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
    std::error_code ignored;
    fs::path target(path);
    if (fs::is_symlink(target, ignored)) {
        const fs::path resolved = fs::canonical(target, ignored);
        if (!ignored) target = resolved;
    }
    fs::create_directories(target.parent_path(), ignored);

    std::string tempName = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    CFileDescriptor temp(mkostemp(tempName.data(), O_CLOEXEC));
    if (temp.Get() < 0) return false;
    struct stat old {};
    if (stat(target.c_str(), &old) == 0) fchmod(temp.Get(), old.st_mode & 07777);  // mkostemp gives 0600
    const bool written = WriteAll(temp.Get(), bytes) && fsync(temp.Get()) == 0;
    if (temp.Close() != 0 || !written || rename(tempName.c_str(), target.c_str()) != 0) {
        unlink(tempName.c_str());
        return false;
    }
    // Make the rename itself durable.
    CFileDescriptor folder(open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) fsync(folder.Get());
    return true;
}

std::optional<int> ParseInt(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    if (text[first] == '+' && first < last) ++first;
    int value = 0;
    const char* end = text.data() + last + 1;
    const auto [stop, error] = std::from_chars(text.data() + first, end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace

CFileProfileStore::CFileProfileStore() : CFileProfileStore(DefaultPath()) {}

CFileProfileStore::CFileProfileStore(std::string path) : m_path(std::move(path)) {
    std::string bytes;
    const ReadResult result = ReadWholeFile(m_path, bytes);
    m_keepFile = result == ReadResult::Unreadable;
    if (result != ReadResult::Read) bytes.clear();
    // Byte-order marks left by an editor go, also several, after empty lines
    // and behind "!" marks: wxFileConfig drops empty lines and we drop the
    // marks, so a byte-order mark behind either would be at the start of the
    // file once it is saved, and go only then.
    for (std::size_t start = 0; start < bytes.size();) {
        if (bytes.compare(start, 3, "\xEF\xBB\xBF") == 0 || bytes[start] == '!') {
            bytes.erase(start, bytes[start] == '!' ? 1 : 3);
        } else if (std::string_view("\r\n \t\v\f").find(bytes[start]) != std::string_view::npos) {
            ++start;
        } else {
            break;
        }
    }
    bytes = WithoutImmutableMarks(bytes);

    QuietConfig quiet;
    wxMemoryInputStream input(bytes.data(), bytes.size());
    m_config = std::make_unique<wxFileConfig>(input, FileConv());
    m_config->SetExpandEnvVars(false);
}

CFileProfileStore::~CFileProfileStore() {
    try {
        Flush();
    } catch (...) {
        // Write failures at exit are not reported.
    }
}

std::string CFileProfileStore::DefaultPath() {
    return xdg::ConfigHome() + "/Tarnwell/Tarnwell.conf";
}

wxConfigBase& CFileProfileStore::Config() { return *m_config; }

bool CFileProfileStore::Flush() {
    if (m_keepFile) return false;
    QuietConfig quiet;
    wxMemoryOutputStream output;
    if (!m_config->Save(output, FileConv())) return false;
    std::string bytes(static_cast<std::size_t>(output.GetLength()), '\0');
    output.CopyTo(bytes.data(), bytes.size());
    return WriteFileAtomically(m_path, bytes);
}

int CFileProfileStore::GetProfileInt(const std::string& section, const std::string& key, int defaultValue) {
    wxString value;
    if (!m_config->Read(KeyPath(section, key), &value)) return defaultValue;
    return ParseInt(CByteConv::FromText(value)).value_or(defaultValue);
}

std::string CFileProfileStore::GetProfileString(const std::string& section, const std::string& key,
                                                const std::string& defaultValue) {
    wxString value;
    if (!m_config->Read(KeyPath(section, key), &value)) return defaultValue;
    return CByteConv::FromText(value);
}

void CFileProfileStore::WriteProfileInt(const std::string& section, const std::string& key, int value) {
    m_config->Write(KeyPath(section, key), static_cast<long>(value));
}

void CFileProfileStore::WriteProfileString(const std::string& section, const std::string& key,
                                           const std::string& value) {
    m_config->Write(KeyPath(section, key), CByteConv::ToText(value));
}
