#include "editor/table_describer.h"

#include "db/db_exception.h"
#include "editor/catalog_reader.h"
#include "editor/row_table_statement.h"
#include "editor/sql_lexer.h"
#include "exec/result_formatter.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace {

struct NamePart {
    std::string text;
    bool quoted = false;
};

// "schema.table" cut into its parts, quotes removed; none when it is not a
// plain name of one or two parts.
std::optional<std::pair<NamePart, NamePart>> SplitName(std::string_view name) {
    const std::vector<SqlToken> tokens = LexSql(name, CommentSyntax{});
    const auto part = [](const SqlToken& t) -> std::optional<NamePart> {
        if (t.kind == SqlToken::Kind::Word) return NamePart{t.text, false};
        if (t.kind == SqlToken::Kind::QuotedName && t.terminated) return NamePart{t.text, true};
        return std::nullopt;
    };
    if (tokens.size() == 1 && part(tokens[0])) return std::pair{NamePart{}, *part(tokens[0])};
    if (tokens.size() == 3 && part(tokens[0]) && tokens[1].text == "." && part(tokens[2]))
        return std::pair{*part(tokens[0]), *part(tokens[2])};
    return std::nullopt;
}

// The spellings to try: as written; an unquoted name also folded to lower
// and to upper case.
std::vector<std::string> Spellings(const NamePart& part) {
    std::vector<std::string> spellings{part.text};
    if (part.quoted || part.text.empty()) return spellings;
    std::string lower = part.text, upper = part.text;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (const std::string& s : {lower, upper})
        if (std::find(spellings.begin(), spellings.end(), s) == spellings.end()) spellings.push_back(s);
    return spellings;
}

bool IsNameByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return std::isalnum(b) || b == '_' || b == '$' || b == '.' || b == '"' || b >= 0x80;
}

}  // namespace

void CTableDescriber::Describe(std::string_view name, COutputSink& output) {
    if (!m_connection.IsConnected()) {
        output.AppendText("not connected\r\n");
        return;
    }
    const auto parts = SplitName(name);
    try {
        if (parts) {
            CCatalogReader reader(m_connection);
            for (const std::string& schema : Spellings(parts->first)) {
                for (const std::string& table : Spellings(parts->second)) {
                    std::vector<CatalogColumn> columns = reader.Columns(schema, table);
                    if (columns.empty()) continue;
                    const std::vector<std::string> key = reader.PrimaryKey(schema, table);
                    std::vector<std::vector<std::string>> rows;
                    for (CatalogColumn& c : columns) {
                        const auto inKey = std::find(key.begin(), key.end(), c.name);
                        rows.push_back({std::move(c.name), std::move(c.type), std::move(c.size), std::move(c.nullable),
                                        std::move(c.defaultValue),
                                        inKey == key.end() ? std::string() : std::to_string(inKey - key.begin() + 1)});
                    }
                    output.AppendText("Table " + (schema.empty() ? table : schema + "." + table) + "\r\n");
                    CRowTableStatement statement({"Column", "Type", "Size", "Nullable", "Default", "Key"}, std::move(rows));
                    CResultFormatter(m_nDefColLen, m_nMaxColLen).Print(statement, output);
                    return;
                }
            }
        }
        output.AppendText("No table named " + std::string(name) + "\r\n");
    } catch (const CDBException& failure) {
        output.AppendText(failure.Message());
    }
}

std::string NameAt(std::string_view text, std::size_t caret) {
    caret = std::min(caret, text.size());
    std::size_t begin = caret, end = caret;
    while (begin > 0 && IsNameByte(text[begin - 1])) --begin;
    while (end < text.size() && IsNameByte(text[end])) ++end;
    std::string_view name = text.substr(begin, end - begin);
    while (!name.empty() && name.back() == '.') name.remove_suffix(1);
    while (!name.empty() && name.front() == '.') name.remove_prefix(1);
    return std::string(name);
}
