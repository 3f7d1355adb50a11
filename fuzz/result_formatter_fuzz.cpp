// Prints a result set made from the input through the result formatter and
// checks that every line of the table (header, underline, rows) takes the
// same number of display columns and that the count line counts the rows
// printed. Then wraps the whole input as a message and checks that no byte
// is lost or added: the pieces without the inserted line ends give the
// input back.
//
// Input: MaxColLen, DefColLen and the wrap width (signed bytes), the column
// count, per column a size class and a name, the row count and a fetch-error
// flag, per cell a NULL flag or a value; names and values are a length byte
// and that many bytes.

#include "common/display_text.h"
#include "db/db_exception.h"
#include "exec/fake_statement.h"
#include "exec/recording_sink.h"
#include "exec/result_formatter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

class Input {
public:
    explicit Input(std::string_view data) : m_data(data) {}
    unsigned Byte() {
        if (m_data.empty()) return 0;
        const auto byte = static_cast<unsigned char>(m_data[0]);
        m_data.remove_prefix(1);
        return byte;
    }
    int Signed() { return static_cast<std::int8_t>(Byte()); }
    std::string Text() {
        const std::string_view text = m_data.substr(0, Byte());
        m_data.remove_prefix(text.size());
        return std::string(text);
    }

private:
    std::string_view m_data;
};

void Check(bool ok, const char* what, const std::string& detail = {}) {
    if (ok) return;
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

std::string_view WithoutLineEnd(std::string_view line) {
    Check(line.ends_with("\r\n"), "a line without its line end", std::string(line));
    line.remove_suffix(2);
    return line;
}

void CheckTable(Input& input) {
    const int maxColLen = input.Signed();
    const int defColLen = input.Signed();
    std::vector<FakeColumn> columns(input.Byte() % 6);
    const SQLULEN sizes[] = {0, 1, 5, 40, 99, 100, 1000, std::numeric_limits<SQLULEN>::max()};
    for (FakeColumn& column : columns) {
        column.size = sizes[input.Byte() % std::size(sizes)];
        column.name = input.Text();
    }
    std::vector<FakeRow> rows(input.Byte() % 8);
    const bool fetchError = input.Byte() & 1;
    for (FakeRow& row : rows)
        for (std::size_t i = 0; i < columns.size(); ++i)
            row.push_back(input.Byte() & 1 ? std::optional<std::string>() : input.Text());

    CFakeStatement statement(columns, rows, fetchError);
    CRecordingSink sink;
    bool complete = true;
    try {
        CResultFormatter(defColLen, maxColLen).Print(statement, sink);
    } catch (const CDBException&) {
        complete = false;
    }

    // "\r\n", the header name by name, "\r\n", the underline, the rows, the count.
    const std::vector<std::string>& appends = sink.Appends();
    Check(!appends.empty() && appends[0] == "\r\n", "no line end first");
    std::size_t at = 1;
    std::string header;
    while (at < appends.size() && appends[at] != "\r\n") header += appends[at++];
    if (at == appends.size()) {
        Check(!complete, "the header did not end");
        return;  // a name too long for its buffer: the header stops there
    }
    const int width = display_text::Width(header);
    std::size_t printed = 0;
    for (at += 1; at + 1 < appends.size(); ++at, ++printed) {
        const std::string_view line = WithoutLineEnd(appends[at]);
        Check(display_text::Width(line) == width, "a line of another width", appends[at] + "|" + header);
    }
    Check(at + 1 == appends.size() && printed >= 1, "no underline or count line");
    Check(complete != fetchError, "the fetch error went unreported");
    Check(appends[at] == std::to_string(printed - 1) + " row(s) fetched\r\n", "a wrong count line", appends[at]);
}

void CheckWrapped(std::string_view text, int width) {
    CRecordingSink sink(width);
    sink.AppendWrapped(text);
    // Pieces and inserted line ends alternate; the last piece has none after it.
    const std::vector<std::string>& appends = sink.Appends();
    std::string joined;
    for (std::size_t i = 0; i < appends.size(); ++i) {
        if (i % 2 == 1) {
            Check(appends[i] == "\r\n", "no line end between pieces");
            continue;
        }
        const std::string& piece = appends[i];
        if (i + 1 < appends.size()) {
            Check(!piece.empty(), "an empty piece");
            Check(display_text::Width(piece) <= std::max(1, width) ||
                      display_text::PrefixForChars(piece, 1) == piece.size(),
                  "a piece too wide", piece);
        }
        joined += piece;
    }
    Check(appends.size() % 2 == 1, "a line end after the last piece");
    Check(joined == text, "the pieces are not the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Input input(bytes);
    const int wrapWidth = input.Signed();
    CheckTable(input);
    CheckWrapped(bytes, wrapWidth);
    return 0;
}
