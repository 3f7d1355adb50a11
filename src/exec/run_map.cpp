#include "exec/run_map.h"

#include <algorithm>

void CRunMap::TextInserted(std::size_t position, std::size_t length) {
    for (Statement& s : m_statements) {
        if (position <= s.scriptBegin) {
            s.scriptBegin += length;
            s.scriptEnd += length;
            s.errorBegin += length;
            s.errorEnd += length;
        } else if (position <= s.scriptEnd) {
            s.edited = true;
            s.scriptEnd += length;
        }
    }
}

void CRunMap::TextDeleted(std::size_t position, std::size_t length) {
    const std::size_t end = position + length;
    for (Statement& s : m_statements) {
        if (end <= s.scriptBegin) {
            s.scriptBegin -= length;
            s.scriptEnd -= length;
            s.errorBegin -= length;
            s.errorEnd -= length;
        } else if (position < s.scriptEnd) {
            // Overlaps the statement: what is left of it stays where it was cut.
            s.edited = true;
            s.scriptBegin = std::min(s.scriptBegin, position);
            s.scriptEnd = s.scriptEnd > end ? s.scriptEnd - length : position;
        }
    }
}

std::size_t CRunMap::LiveCount() const noexcept {
    return static_cast<std::size_t>(
        std::count_if(m_statements.begin(), m_statements.end(), [](const Statement& s) { return !s.edited; }));
}

void CRunMap::ScriptReplaced() {
    for (Statement& s : m_statements) s.edited = true;
}

void CRunMap::OutputCleared() { m_bOutputGone = true; }

std::optional<std::size_t> CRunMap::AtOutput(std::size_t position) const {
    if (m_bOutputGone) return std::nullopt;
    for (std::size_t i = 0; i < m_statements.size(); ++i)
        if (position >= m_statements[i].outputBegin && position < m_statements[i].outputEnd) return i;
    return std::nullopt;
}

std::optional<std::size_t> CRunMap::NextFailure(std::size_t position, bool forward) const {
    std::optional<std::size_t> first, last, found;
    for (std::size_t i = 0; i < m_statements.size(); ++i) {
        const Statement& s = m_statements[i];
        if (s.outcome != Outcome::Failed || s.edited) continue;
        if (!first) first = i;
        last = i;
        if (forward && !found && s.scriptBegin > position) found = i;
        if (!forward && s.scriptBegin < position) found = i;
    }
    if (found) return found;
    return forward ? first : last;
}
