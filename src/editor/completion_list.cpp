#include "editor/completion_list.h"

#include "editor/completion_context.h"
#include "editor/sql_keywords.h"
#include "script/statement_locator.h"

#include <algorithm>

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithIgnoringCase(std::string_view name, std::string_view prefix) {
    return name.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), name.begin(), [](char a, char b) { return Upper(a) == Upper(b); });
}

// The list's order: ignoring ASCII case (as the popup matches), then by bytes.
bool LessIgnoringCase(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (const char x = Upper(a[i]), y = Upper(b[i]); x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

}  // namespace

std::optional<CompletionOffer> CCompletionList::OfferAt(std::string_view script, std::size_t caret, bool onRequest) const {
    caret = std::min(caret, script.size());
    const std::optional<StatementSpan> span = LocateStatement(script, m_syntax, caret);
    const std::size_t begin = span && span->begin <= caret ? span->begin : caret;
    const std::string_view statement = script.substr(begin, (span ? std::max(span->end, caret) : caret) - begin);
    const CompletionContext context = CompletionContextAt(statement, caret - begin, m_syntax);
    using Kind = CompletionContext::Kind;
    if (context.kind == Kind::None) return std::nullopt;
    if (!onRequest) {
        const bool afterDot = caret > 0 && script[caret - 1] == '.' && context.kind != Kind::Any;
        const bool thirdLetter = context.kind == Kind::Tables && context.prefix.size() == 3;
        if (!afterDot && !thirdLetter) return std::nullopt;
    }

    CompletionOffer offer;
    offer.typedLength = context.prefix.size();
    offer.loading = m_catalog && !m_catalog->Loaded();
    const auto add = [&](const std::vector<std::string>& names) {
        for (const std::string& name : names)
            if (StartsWithIgnoringCase(name, context.prefix)) offer.names.push_back(name);
    };
    const auto addColumns = [&](const TableReference& table) {
        if (!m_catalog) return;
        if (auto columns = m_catalog->Columns(table.schema, table.name, table.quoted)) add(*columns);
    };
    if (context.kind == Kind::Columns) {
        addColumns(*context.qualified);
    } else {
        if (m_catalog) add(m_catalog->TableNames(context.schema));
        if (context.kind == Kind::Any) {
            for (const TableReference& table : context.tables) addColumns(table);
            for (const std::string_view keyword : SqlKeywords())
                if (StartsWithIgnoringCase(keyword, context.prefix)) offer.names.emplace_back(keyword);
        }
    }
    std::sort(offer.names.begin(), offer.names.end(), LessIgnoringCase);
    offer.names.erase(std::unique(offer.names.begin(), offer.names.end()), offer.names.end());
    if (offer.names.size() > CompletionOffer::kMaxNames) {
        offer.names.resize(CompletionOffer::kMaxNames);
        offer.more = true;
    }
    if (offer.loading) {
        const std::string loading = CompletionOffer::kLoadingEntry;
        offer.names.insert(std::upper_bound(offer.names.begin(), offer.names.end(), loading, LessIgnoringCase), loading);
    }
    if (offer.names.empty()) return std::nullopt;
    return offer;
}
