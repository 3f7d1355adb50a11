#pragma once

#include <string>
#include <string_view>

// The file of --expect: the transcript a run is expected to give, read
// before anything runs and compared with the run's transcript after it; with
// --update-expect the run's transcript replaces it instead.
class CExpectedTranscript {
public:
    // Reads the file unless update is set (then it need not exist yet).
    // Throws CScriptFileError naming the file and the reason.
    CExpectedTranscript(std::string path, bool update);

    const std::string& Path() const noexcept { return m_strPath; }
    bool Updates() const noexcept { return m_bUpdate; }

    // The unified diff from the file's text to transcript; "" when equal.
    std::string Diff(std::string_view transcript) const;

    // Makes the file hold transcript (the old file stays whole when that
    // fails). Throws CFileException.
    void Write(std::string_view transcript) const;

private:
    std::string m_strPath;
    bool m_bUpdate;
    std::string m_strText;
};
