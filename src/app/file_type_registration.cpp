#include "app/file_type_registration.h"

#include "common/xdg_folders.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// A desktop-entry Exec argument: quoted when it holds anything the entry
// format treats specially.
std::string QuoteExecArgument(const std::string& arg) {
    if (arg.find_first_of(" \t\n\"'\\><~|&;$*?#()`=%") == std::string::npos) return arg;
    std::string quoted = "\"";
    for (const char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    // Inside the entry's string value a backslash itself is escaped once more.
    std::string escaped;
    for (const char c : quoted) {
        if (c == '\\') escaped += '\\';
        escaped += c;
    }
    // A literal "%" in Exec is written "%%".
    std::string result;
    for (const char c : escaped) {
        if (c == '%') result += '%';
        result += c;
    }
    return result;
}

bool ReadFile(const fs::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Writes text to path (through a temporary file and a rename) unless the file
// already holds exactly that text. changed tells whether it wrote.
bool WriteIfChanged(const fs::path& path, const std::string& text, bool& changed) {
    std::string old;
    if (ReadFile(path, old) && old == text) return true;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    const fs::path temp = path.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    changed = true;
    return true;
}

// The tool's full path when it is on PATH, else empty.
std::string FindTool(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) continue;
        const std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

// Runs the tool with one argument, quietly, and waits for it.
void RunQuietly(const std::string& tool, const std::string& argument) {
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv{const_cast<char*>(tool.c_str()), const_cast<char*>(argument.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

void Refresh(const std::string& toolName, const fs::path& folder, bool changed, const fs::path& cache) {
    if (!changed && fs::exists(cache)) return;
    const std::string tool = FindTool(toolName);
    if (!tool.empty()) RunQuietly(tool, folder.string());
}

}  // namespace

CFileTypeRegistration::CFileTypeRegistration(std::string dataHome, std::string executable)
    : m_dataHome(std::move(dataHome)), m_executable(std::move(executable)) {}

std::string CFileTypeRegistration::DefaultDataHome() {
    return xdg::DataHome();
}

std::string CFileTypeRegistration::RunningExecutable() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("tarnwell") : self.string();
}

bool CFileTypeRegistration::IsInstalled(const std::string& executable) {
    const fs::path prefix = fs::path(executable).parent_path().parent_path();
    if (prefix.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(CFileTypeRegistration((prefix / "share").string(), executable).MimePackagePath(), ec);
}

void CFileTypeRegistration::AddIcon(int size, std::string png) {
    if (size > 0 && !png.empty()) m_icons.push_back({size, std::move(png)});
}

std::string CFileTypeRegistration::IconPath(int size) const {
    const std::string pixels = std::to_string(size);
    return m_dataHome + "/icons/hicolor/" + pixels + "x" + pixels + "/apps/" + kIconName + ".png";
}

std::string CFileTypeRegistration::MimePackagePath() const { return m_dataHome + "/mime/packages/tarnwell.xml"; }

std::string CFileTypeRegistration::DesktopEntryPath() const {
    return m_dataHome + "/applications/" + kTypeId + ".desktop";
}

std::string CFileTypeRegistration::MimePackageText() const {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"") +
           kMimeType + "\">\n    <comment>" + kTypeName +
           "</comment>\n"
           "    <sub-class-of type=\"text/plain\"/>\n"
           "    <glob pattern=\"*" +
           kExtension + "\"/>\n  </mime-type>\n</mime-info>\n";
}

std::string CFileTypeRegistration::DesktopEntryText() const {
    return std::string("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Tarnwell\n"
                       "GenericName=SQL Worksheet\n"
                       "Comment=") +
           kTypeName +
           "\n"
           "Exec=" +
           QuoteExecArgument(m_executable) +
           " %f\n"
           "MimeType=" +
           kMimeType +
           ";\n"
           "Terminal=false\n"
           "Categories=Development;Database;\n" +
           (m_icons.empty() ? std::string() : std::string("Icon=") + kIconName + "\n");
}

bool CFileTypeRegistration::Register() const {
    if (m_dataHome.empty()) return false;
    bool mimeChanged = false;
    bool desktopChanged = false;
    const bool mimeOk = WriteIfChanged(MimePackagePath(), MimePackageText(), mimeChanged);
    bool iconsOk = true;
    bool iconsChanged = false;
    for (const Icon& icon : m_icons) iconsOk = WriteIfChanged(IconPath(icon.size), icon.png, iconsChanged) && iconsOk;
    if (iconsChanged) {
        // A new modification time of the theme folder tells the desktop that
        // any icon cache it keeps there is out of date.
        std::error_code ec;
        fs::last_write_time(fs::path(m_dataHome) / "icons" / "hicolor", fs::file_time_type::clock::now(), ec);
    }
    const bool desktopOk = WriteIfChanged(DesktopEntryPath(), DesktopEntryText(), desktopChanged);
    const fs::path data(m_dataHome);
    if (mimeOk) Refresh("update-mime-database", data / "mime", mimeChanged, data / "mime" / "mime.cache");
    if (desktopOk)
        Refresh("update-desktop-database", data / "applications", desktopChanged,
                data / "applications" / "mimeinfo.cache");
    return mimeOk && desktopOk && iconsOk;
}
