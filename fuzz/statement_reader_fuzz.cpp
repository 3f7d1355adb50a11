// Cuts arbitrary text with arbitrary comment settings and compares the
// reader, statement by statement, with a second, deliberately plain reading
// of the same rules: one byte at a time, no look-ahead tables, no runs.
//
// Input: one byte of flags (bit 0: remove comments; bit 1: own delimiters),
// with own delimiters three length bytes (0-3 each) and the delimiters'
// bytes, then the text.

#include "script/statement_reader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

class ModelReader {
public:
    ModelReader(std::string_view text, const CommentSyntax& syntax) : m_text(text), m_syntax(syntax) {
        const std::size_t nul = m_text.find('\0');
        if (nul != std::string_view::npos) m_text = m_text.substr(0, nul);
    }

    std::vector<std::string> All() {
        std::vector<std::string> statements;
        while (m_pos < m_text.size()) {
            std::string statement;
            for (;;) {
                while (QuotedOrComment(statement)) {
                }
                if (AtEnd()) break;
                const char c = m_text[m_pos++];
                if (c == ';') break;
                statement += c;
            }
            statements.push_back(statement);
        }
        return statements;
    }

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }

    // An empty delimiter never matches.
    bool At(const std::string& delimiter) const {
        return !delimiter.empty() && m_text.substr(m_pos, delimiter.size()) == delimiter;
    }

    void Take(std::string& statement, std::size_t count, bool always = false) {
        for (std::size_t i = 0; i < count && !AtEnd(); ++i, ++m_pos)
            if (always || !m_syntax.removeComments) statement += m_text[m_pos];
    }

    bool QuotedOrComment(std::string& statement) {
        if (AtEnd()) return false;
        if (m_text[m_pos] == '\'') {
            Take(statement, 1, true);
            while (!AtEnd() && m_text[m_pos] != '\'') Take(statement, 1, true);
            if (AtEnd()) return false;
            Take(statement, 1, true);
            return true;
        }
        if (At(m_syntax.singleLine)) {
            Take(statement, m_syntax.singleLine.size());
            while (!AtEnd() && m_text[m_pos] != '\r' && m_text[m_pos] != '\n') Take(statement, 1);
            if (AtEnd()) return false;
            // "\r" and the byte after it (the "\n" of the pair in pane text);
            // a "\n" alone is a line end of its own.
            Take(statement, m_text[m_pos] == '\r' ? 2 : 1);
            return true;
        }
        if (At(m_syntax.multiStart)) {
            Take(statement, m_syntax.multiStart.size());
            while (!AtEnd() && !At(m_syntax.multiEnd)) Take(statement, 1);
            if (AtEnd()) return false;
            Take(statement, m_syntax.multiEnd.size());
            return true;
        }
        return false;
    }

    std::string_view m_text;
    CommentSyntax m_syntax;
    std::size_t m_pos = 0;
};

std::string_view Take(std::string_view& input, std::size_t count) {
    const std::string_view piece = input.substr(0, count);
    input.remove_prefix(piece.size());
    return piece;
}

void Fail(const char* what, std::size_t index) {
    std::fprintf(stderr, "%s at statement %zu\n", what, index);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.empty()) return 0;
    const auto flags = static_cast<unsigned char>(Take(input, 1)[0]);
    CommentSyntax syntax;
    syntax.removeComments = flags & 1;
    if (flags & 2) {
        const std::string_view lengths = Take(input, 3);
        std::string* delimiters[] = {&syntax.singleLine, &syntax.multiStart, &syntax.multiEnd};
        for (std::size_t i = 0; i < 3; ++i)
            *delimiters[i] = Take(input, i < lengths.size() ? static_cast<unsigned char>(lengths[i]) % 4 : 0);
    }

    const std::vector<std::string> expected = ModelReader(input, syntax).All();
    CStatementReader reader;
    reader.Reset(input, syntax);
    std::string statement = "before";
    std::size_t index = 0;
    while (reader.GetNextStatement(statement)) {
        if (index == expected.size()) Fail("one statement too many", index);
        if (statement != expected[index]) Fail("a different statement", index);
        ++index;
    }
    if (index != expected.size()) Fail("statements missing", index);
    const std::string last = statement;
    if (reader.GetNextStatement(statement) || statement != last) Fail("a used-up reader changed", index);
    return 0;
}
