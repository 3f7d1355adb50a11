#pragma once

#include "editor/catalog.h"
#include "script/statement_reader.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the completion popup shows: the names that start with what was typed
// of the name at the caret (case ignored), sorted ignoring ASCII case (the
// popup's own order), each once, as the database spells them; while the
// catalog is still loading, the entry "loading..." among them.
struct CompletionOffer {
    static constexpr const char* kLoadingEntry = "loading...";
    // The most names an offer holds: the first of them in the list's order.
    // The popup fills in time with this many; typing more of the name asks
    // for the offer anew.
    static constexpr std::size_t kMaxNames = 500;

    std::size_t typedLength = 0;   // bytes of the name before the caret
    std::vector<std::string> names;
    bool loading = false;
    bool more = false;   // names were left out beyond kMaxNames
};

// Completion for the script pane: the statement that holds the caret gives
// the context (see CompletionContextAt); the catalog (none when not
// connected) and the keyword list give the names.
class CCompletionList {
public:
    void SetCatalog(std::shared_ptr<const CCatalog> catalog) { m_catalog = std::move(catalog); }
    void SetSyntax(const CommentSyntax& syntax) { m_syntax = syntax; }

    // The offer at caret (a byte offset into script): on request (Ctrl+Space)
    // whenever the context allows one; else only right after a typed "." or
    // the third character of a name after FROM, JOIN, INTO or UPDATE. None
    // when there is nothing to offer.
    std::optional<CompletionOffer> OfferAt(std::string_view script, std::size_t caret, bool onRequest) const;

private:
    std::shared_ptr<const CCatalog> m_catalog;
    CommentSyntax m_syntax;
};
