#include "editor/completion_context.h"

#include "editor/sql_lexer.h"

#include <algorithm>

namespace {

using Kind = SqlToken::Kind;

bool IsName(const SqlToken& token) { return token.kind == Kind::Word || token.kind == Kind::QuotedName; }
bool IsPunct(const SqlToken& token, char c) { return token.kind == Kind::Punctuation && token.text[0] == c; }

// Keywords after which a table name follows.
bool IntroducesTable(const SqlToken& token) {
    return IsKeyword(token, "from") || IsKeyword(token, "join") || IsKeyword(token, "into") ||
           IsKeyword(token, "update");
}

// Words that end a table reference rather than name its alias.
bool EndsReference(const SqlToken& token) {
    static constexpr std::string_view kWords[] = {
        "where", "join",  "inner", "left",  "right",  "full",  "outer", "cross", "natural", "on",
        "using", "group", "order", "having", "limit", "union", "except", "intersect", "set", "values",
        "select", "default", "offset", "fetch", "window", "returning", "for", "lateral"};
    return std::any_of(std::begin(kWords), std::end(kWords), [&](std::string_view w) { return IsKeyword(token, w); });
}

// Whether the first count tokens leave a FROM list open: a FROM came, and
// no word that ends the list after it.
bool InFromList(const std::vector<SqlToken>& tokens, std::size_t count) {
    bool open = false;
    for (std::size_t i = 0; i < count; ++i) {
        if (IsKeyword(tokens[i], "from")) open = true;
        else if (tokens[i].kind == Kind::Word && EndsReference(tokens[i])) open = false;
    }
    return open;
}

// Whether a table name follows tokens[i]: FROM, JOIN, INTO, UPDATE, or a
// comma of a FROM list.
bool TableFollows(const std::vector<SqlToken>& tokens, std::size_t i) {
    return IntroducesTable(tokens[i]) || (IsPunct(tokens[i], ',') && InFromList(tokens, i));
}

// The statement's table references: a name (possibly "schema.name") where
// TableFollows, then an alias (with or without AS).
std::vector<TableReference> TablesOf(const std::vector<SqlToken>& tokens) {
    std::vector<TableReference> tables;
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (!IsName(tokens[i + 1]) || !TableFollows(tokens, i)) continue;
        std::size_t j = i + 1;
        TableReference ref{{}, tokens[j].text, {}, tokens[j].kind == Kind::QuotedName};
        if (j + 2 < tokens.size() && IsPunct(tokens[j + 1], '.') && IsName(tokens[j + 2])) {
            ref.schema = ref.name;
            j += 2;
            ref.name = tokens[j].text;
            ref.quoted = tokens[j].kind == Kind::QuotedName;
        }
        if (j + 1 < tokens.size() && IsKeyword(tokens[j + 1], "as")) ++j;
        if (j + 1 < tokens.size() && IsName(tokens[j + 1]) && !EndsReference(tokens[j + 1])) ref.alias = tokens[++j].text;
        tables.push_back(std::move(ref));
        i = j;
    }
    return tables;
}

bool SameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

CompletionContext CompletionContextAt(std::string_view statement, std::size_t caret, const CommentSyntax& syntax) {
    CompletionContext context;
    caret = std::min(caret, statement.size());
    const std::vector<SqlToken> tokens = LexSql(statement, syntax);
    // A name the caret is in or right after (not after a closed quoted name).
    const auto nameAtCaret = [caret](const SqlToken& t) {
        return IsName(t) && t.begin < caret && caret <= t.end && !(t.kind == Kind::QuotedName && t.terminated && caret == t.end);
    };

    // The tokens before the caret's name (or before the caret).
    std::size_t before = 0;
    for (const SqlToken& t : tokens) {
        const bool inside = t.begin < caret && (caret < t.end || (caret == t.end && !t.terminated));
        if (inside && (t.kind == Kind::String || t.kind == Kind::Comment)) return context;
        if (t.end > caret || nameAtCaret(t)) break;
        ++before;
    }
    context.tables = TablesOf(tokens);
    context.kind = CompletionContext::Kind::Any;
    context.prefixStart = caret;
    std::size_t nameBegin = caret;
    if (before < tokens.size() && nameAtCaret(tokens[before])) {
        nameBegin = tokens[before].begin;
        context.prefixStart = nameBegin + (tokens[before].kind == Kind::QuotedName ? 1 : 0);
        context.prefix.assign(statement.substr(context.prefixStart, caret - context.prefixStart));
    }
    // "qualifier." right before the name: a table's columns, or a schema's tables.
    if (before >= 2 && IsPunct(tokens[before - 1], '.') && tokens[before - 1].end == nameBegin &&
        IsName(tokens[before - 2]) && tokens[before - 2].end == tokens[before - 1].begin) {
        const std::string& qualifier = tokens[before - 2].text;
        if (before >= 3 && TableFollows(tokens, before - 3)) {
            context.kind = CompletionContext::Kind::Tables;
            context.schema = qualifier;
            return context;
        }
        context.kind = CompletionContext::Kind::Columns;
        for (const TableReference& t : context.tables)
            if (!context.qualified && (SameName(t.alias, qualifier) || (t.alias.empty() && SameName(t.name, qualifier))))
                context.qualified = t;
        if (!context.qualified) context.qualified = TableReference{{}, qualifier, {}, false};
        return context;
    }
    if (before >= 1 && TableFollows(tokens, before - 1)) context.kind = CompletionContext::Kind::Tables;
    return context;
}
