#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What the last run did, statement by statement, in the positions of the two
// panes (byte offsets): the script pane draws a mark beside each statement,
// the output pane leads from a line of the transcript back to its statement,
// and the error commands walk the failures. The positions follow the script
// pane's edits; a statement whose text is edited is kept but marked so.
class CRunMap {
public:
    enum class Outcome { Succeeded, Failed, Stopped };

    struct Statement {
        std::size_t scriptBegin = 0, scriptEnd = 0;   // its text in the script pane
        std::size_t outputBegin = 0, outputEnd = 0;   // its part of the output pane
        Outcome outcome = Outcome::Succeeded;
        std::string message;                          // a failure's diagnostic, on one line
        std::size_t errorBegin = 0, errorEnd = 0;     // where the diagnostic says the error is (none: equal)
        bool edited = false;                          // the script no longer holds it as it ran
    };

    void Clear() {
        m_statements.clear();
        m_bOutputGone = false;
    }
    void Add(Statement statement) { m_statements.push_back(std::move(statement)); }
    const std::vector<Statement>& Statements() const noexcept { return m_statements; }
    // How many statements the script still holds as they ran.
    std::size_t LiveCount() const noexcept;

    // The script pane's text changed at position. Statements after the change
    // move with it; one whose text the change touches is edited.
    void TextInserted(std::size_t position, std::size_t length);
    void TextDeleted(std::size_t position, std::size_t length);
    // Another script was loaded: no statement is in it any more.
    void ScriptReplaced();
    // The output pane was emptied: no line leads back any more.
    void OutputCleared();

    // The statement whose output holds the output pane's position.
    std::optional<std::size_t> AtOutput(std::size_t position) const;
    // The failed statement after (forward) or before the script position,
    // from the other end when there is none that way; none without failures
    // that the script still holds.
    std::optional<std::size_t> NextFailure(std::size_t position, bool forward) const;

private:
    std::vector<Statement> m_statements;
    bool m_bOutputGone = false;
};
