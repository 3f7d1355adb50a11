#include "exec/result_formatter.h"

#include "common/display_text.h"
#include "db/db_exception.h"

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool IsAscii(const char* text, std::size_t length) noexcept {
    unsigned char bits = 0;
    for (std::size_t i = 0; i < length; ++i) bits |= static_cast<unsigned char>(text[i]);
    return bits < 0x80;
}

// Length of text without a UTF-8 character that the driver cut off at the end
// of its buffer (a lead byte followed by fewer continuation bytes than it
// announces), so a cut value never leaves half a character in the output.
std::size_t WithoutCutCharacter(const char* text, std::size_t length) noexcept {
    const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    std::size_t start = length;
    while (start > 0 && length - start < 3 && (byte(start - 1) & 0xC0) == 0x80) --start;
    if (start == 0) return length;
    const unsigned char lead = byte(start - 1);
    const std::size_t needed = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    const std::size_t present = length - start + 1;
    return needed > present ? start - 1 : length;
}

// Writes text padded with blanks, or cut, to width display columns, then the
// column's separating blank. Returns the position after it.
char* PutCell(char* out, const char* text, std::size_t length, int width) noexcept {
    std::size_t bytes;
    int columns;
    if (IsAscii(text, length)) {
        bytes = std::min(length, static_cast<std::size_t>(width));
        columns = static_cast<int>(bytes);
    } else {
        bytes = display_text::PrefixForWidth(std::string_view(text, length), width, &columns);
    }
    std::memcpy(out, text, bytes);
    out += bytes;
    const std::size_t blanks = static_cast<std::size_t>(width - columns) + 1;
    std::memset(out, ' ', blanks);
    return out + blanks;
}

char* PutBlankCell(char* out, int width) noexcept {
    const std::size_t blanks = static_cast<std::size_t>(width) + 1;
    std::memset(out, ' ', blanks);
    return out + blanks;
}

// The largest column buffer, and default width, the preferences accept.
constexpr int kMaxColumnBuffer = 1000;

// The cells that NULL shows as: the NULL text, cut to each width as a value
// is (also to the bytes a bound value can hold).
std::vector<std::string> NullCells(std::string_view nullText, std::size_t bufferSize, const std::vector<int>& widths) {
    const std::string_view shown = nullText.substr(0, display_text::PrefixForBytes(nullText, bufferSize - 1));
    std::vector<std::string> cells;
    cells.reserve(widths.size());
    for (const int width : widths) {
        std::string cell(shown.size() + static_cast<std::size_t>(width) + 1, ' ');
        const char* end = PutCell(cell.data(), shown.data(), shown.size(), width);
        cell.resize(static_cast<std::size_t>(end - cell.data()));
        cells.push_back(std::move(cell));
    }
    return cells;
}

// The value's cell [cell, end) as it stays, or rebuilt when it reads exactly
// like the NULL cell without being the NULL text shown whole: then it keeps
// one column less of the value and ends in a mark that the NULL cell does
// not have in its last column. Returns the new end. A column of no width
// shows nothing of either.
char* TellApartFromNull(char* cell, char* end, std::string_view value, bool cutByDriver, int width,
                        std::string_view nullCell, std::string_view nullText) noexcept {
    if (width == 0 || static_cast<std::size_t>(end - cell) != nullCell.size() ||
        std::memcmp(cell, nullCell.data(), nullCell.size()) != 0)
        return end;
    if (!cutByDriver && value == nullText && display_text::Width(value) <= width) return end;
    const char mark = nullCell[nullCell.size() - 2] == '~' ? '>' : '~';
    end = PutCell(cell, value.data(), value.size(), width - 1);
    end[-1] = mark;
    *end++ = ' ';
    return end;
}

}  // namespace

void CResultFormatter::AppendRowCount(COutputSink& output, std::int64_t rows) {
    char text[100];
    const int length = std::snprintf(text, sizeof text, "%" PRId64 " row(s) fetched\r\n", rows);
    output.AppendText(std::string_view(text, static_cast<std::size_t>(length)));
}

CResultFormatter::CResultFormatter(int defColLen, int maxColLen, CRunControl* control, std::string_view nullText)
    // Settings edited by hand in the profile can hold anything: a buffer
    // needs at least one byte (for the NUL), and a default width below 0
    // means none. Above, the buffers stay within what the preferences
    // accept: drivers fill a bound buffer to its end on every fetch (SQLite's
    // pads the value with NULs), so a buffer of a billion bytes would take
    // seconds per row and gigabytes of memory.
    : m_nDefColLen(std::clamp(defColLen, 0, kMaxColumnBuffer)),
      m_nMaxColLen(std::clamp(maxColLen, 1, kMaxColumnBuffer)),
      m_pControl(control),
      m_nullText(nullText) {}

void CResultFormatter::Print(CDbStatement& statement, COutputSink& output) {
    output.AppendText("\r\n");

    const std::size_t bufferSize = static_cast<std::size_t>(m_nMaxColLen);
    const SQLULEN widest = static_cast<SQLULEN>(m_nMaxColLen - 1);
    const int columns = std::max(0, statement.GetColumnCount());
    const std::size_t count = static_cast<std::size_t>(columns);

    // Every buffer of the result set, allocated once and released on every
    // path out. A cell holds at most bufferSize - 1 bytes of text (which may
    // take no columns at all), padding up to its width and one blank.
    // Character buffers are left uninitialised: the driver writes a name or
    // value before it is read, and every line is built before it is appended.
    std::vector<int> widths(count);
    const auto nameBuffer = std::make_unique_for_overwrite<char[]>(bufferSize);
    const auto values = std::make_unique_for_overwrite<char[]>(count * bufferSize);
    std::vector<SQLLEN> indicators(count);
    const auto line = std::make_unique_for_overwrite<char[]>(count * (2 * bufferSize - 1) + 2);
    char* const lineStart = line.get();

    // Header, column by column, so a failing describe leaves the names
    // before it in the output.
    char* const name = nameBuffer.get();
    for (int i = 0; i < columns; ++i) {
        SQLULEN size = 0;
        name[0] = '\0';
        statement.DescribeColumn(i + 1, name, m_nMaxColLen, size);
        SQLULEN width = size == 0 ? static_cast<SQLULEN>(m_nDefColLen) : size;
        if (width > widest) width = widest;
        widths[i] = static_cast<int>(width);
        const char* end = PutCell(lineStart, name, strnlen(name, bufferSize), widths[i]);
        output.AppendText(std::string_view(lineStart, static_cast<std::size_t>(end - lineStart)));
    }
    output.AppendText("\r\n");

    for (int i = 0; i < columns; ++i)
        statement.BindColumn(i + 1, values.get() + i * bufferSize, static_cast<SQLLEN>(bufferSize), &indicators[i]);

    char* out = lineStart;
    for (int i = 0; i < columns; ++i) {
        std::memset(out, '-', static_cast<std::size_t>(widths[i]));
        out += widths[i];
        *out++ = ' ';
    }
    *out++ = '\r';
    *out++ = '\n';
    output.AppendText(std::string_view(lineStart, static_cast<std::size_t>(out - lineStart)));

    const bool showNullText = !m_nullText.empty();
    const std::vector<std::string> nullCells =
        showNullText ? NullCells(m_nullText, bufferSize, widths) : std::vector<std::string>();

    std::int64_t rows = 0;
    CRunControl* const control = m_pControl;
    if (control) control->BeginResult();
    const auto stopped = [control] { return control && control->StopRequested() != CRunControl::Stop::None; };
    try {
        while (!stopped() && statement.Fetch()) {
            out = lineStart;
            for (int i = 0; i < columns; ++i) {
                const SQLLEN indicator = indicators[i];
                if (indicator == SQL_NULL_DATA) {
                    if (showNullText) {
                        const std::string& cell = nullCells[i];
                        std::memcpy(out, cell.data(), cell.size());
                        out += cell.size();
                    } else {
                        out = PutBlankCell(out, widths[i]);
                    }
                    continue;
                }
                const char* value = values.get() + i * bufferSize;
                std::size_t length = strnlen(value, bufferSize);
                const bool cutByDriver = indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(bufferSize);
                if (cutByDriver && length > 0 && (value[length - 1] & 0x80)) length = WithoutCutCharacter(value, length);
                char* const cell = out;
                out = PutCell(out, value, length, widths[i]);
                if (showNullText)
                    out = TellApartFromNull(cell, out, std::string_view(value, length), cutByDriver, widths[i],
                                            nullCells[i], m_nullText);
            }
            *out++ = '\r';
            *out++ = '\n';
            output.AppendText(std::string_view(lineStart, static_cast<std::size_t>(out - lineStart)));
            ++rows;
            if (control) control->CountRow();
        }
    } catch (const CDBException&) {
        // A fetch error: the rows fetched so far keep their count line; the
        // caller prints the diagnostic under it.
        AppendRowCount(output, rows);
        throw;
    }
    AppendRowCount(output, rows);
}
