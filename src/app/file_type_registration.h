#pragma once

#include <string>
#include <vector>

// Registers script files (".sql") with the desktop the XDG way, under the
// user's data folder: a shared-mime-info package that names the type
// ("Tarnwl Document"), a desktop entry "Tarnwl.Document.desktop" that opens
// such files with this program, and the program's icon in the hicolor theme
// (icons/hicolor/<n>x<n>/apps/tarnwell.png), which the entry names. Files are rewritten only when their text
// changes; the desktop's caches are then refreshed with update-mime-database
// and update-desktop-database when those tools are installed. Every failure
// is silent: registration is a convenience, never a reason not to start.
//
// Only a program run from its build folder registers itself. An installed one
// (a package, or cmake --install) comes with its own desktop entry, MIME
// package and icons under PREFIX/share, where the desktop finds them.
class CFileTypeRegistration {
public:
    static constexpr const char* kTypeId = "Tarnwl.Document";
    static constexpr const char* kTypeName = "Tarnwl Document";
    static constexpr const char* kMimeType = "application/x-tarnwl-document";
    static constexpr const char* kExtension = ".sql";
    static constexpr const char* kIconName = "tarnwell";

    // dataHome: the XDG data folder; executable: the program to start.
    CFileTypeRegistration(std::string dataHome, std::string executable);

    // $XDG_DATA_HOME, or ~/.local/share when it is unset, empty or relative.
    static std::string DefaultDataHome();
    // The running program's own path (/proc/self/exe).
    static std::string RunningExecutable();
    // True when executable (PREFIX/bin/tarnwell) was installed: its MIME
    // package lies in the data folder beside it (PREFIX/share/mime/packages).
    static bool IsInstalled(const std::string& executable);

    // The icon, size by size pixels, as PNG bytes. The desktop entry names an
    // icon once one is added.
    void AddIcon(int size, std::string png);

    std::string MimePackagePath() const;
    std::string DesktopEntryPath() const;
    std::string IconPath(int size) const;
    std::string MimePackageText() const;
    std::string DesktopEntryText() const;

    // Writes what changed and refreshes the caches; true when everything
    // was already in place or has been written.
    bool Register() const;

private:
    struct Icon {
        int size;
        std::string png;
    };

    std::string m_dataHome;
    std::string m_executable;
    std::vector<Icon> m_icons;
};
