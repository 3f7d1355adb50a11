#include "runner/expected_transcript.h"

#include "common/file_exception.h"
#include "runner/script_file_error.h"
#include "runner/unified_diff.h"
#include "script/script_file.h"

#include <cstring>

CExpectedTranscript::CExpectedTranscript(std::string path, bool update) : m_strPath(std::move(path)), m_bUpdate(update) {
    if (update) return;
    try {
        m_strText = CScriptFile::Read(m_strPath);
    } catch (const CFileException& error) {
        throw CScriptFileError("cannot read the expected transcript '" + m_strPath +
                               "': " + std::strerror(error.GetOsError()));
    }
}

std::string CExpectedTranscript::Diff(std::string_view transcript) const {
    return CUnifiedDiff::Make(m_strText, transcript, m_strPath, "(this run)");
}

void CExpectedTranscript::Write(std::string_view transcript) const { CScriptFile::Write(m_strPath, transcript); }
