#pragma once

#include "settings/profile_store.h"

#include <memory>
#include <string>

class wxConfigBase;
class wxFileConfig;

// The per-user profile: an INI-style text file, $XDG_CONFIG_HOME/Tarnwell/
// Tarnwell.conf, holding the groups [Settings] and [Recent File List]. It is
// read once when the store is made and written back whole, atomically, by
// Flush and on destruction; nothing reaches the file in between. Values are
// kept byte for byte, whatever the bytes (see CByteConv): text as it stands,
// with wxFileConfig's escapes, and a NUL byte as \0.
//
// A missing, unreadable or corrupt file gives an empty store (every read
// yields its default); a file that exists but cannot be read is never
// overwritten. Write failures are not reported beyond Flush's result.
class CFileProfileStore : public CProfileStore {
public:
    static constexpr const char* kRecentFileGroup = "/Recent File List";

    CFileProfileStore();                        // at DefaultPath()
    explicit CFileProfileStore(std::string path);
    ~CFileProfileStore() override;              // Flush()
    CFileProfileStore(const CFileProfileStore&) = delete;
    CFileProfileStore& operator=(const CFileProfileStore&) = delete;

    // $XDG_CONFIG_HOME/Tarnwell/Tarnwell.conf; ~/.config/Tarnwell/Tarnwell.conf
    // when XDG_CONFIG_HOME is unset, empty or not an absolute path.
    static std::string DefaultPath();
    const std::string& Path() const { return m_path; }

    // The configuration behind the store, for the recent-file list
    // (wxFileHistory::Load/Save under kRecentFileGroup). Saved by Flush, not
    // by its own Flush. The store owns it: never hand it to wxConfigBase::Set.
    wxConfigBase& Config();

    // Writes the whole store: a temporary file in the same folder, synced,
    // then renamed over the old one, so the file is always either the old
    // or the new text. False when nothing was written.
    bool Flush();

    // From now on neither Flush nor the destructor writes the file: for a
    // reader of the preferences that must leave them as they are
    // (tarnwell-run).
    void SetReadOnly() noexcept { m_keepFile = true; }

    // A stored value that is not a decimal integer (in int range) yields the default.
    int GetProfileInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override;
    void WriteProfileInt(const std::string& section, const std::string& key, int value) override;
    void WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override;

private:
    std::string m_path;
    std::unique_ptr<wxFileConfig> m_config;
    bool m_keepFile = false;  // never write: the file could not be read, or read-only
};
