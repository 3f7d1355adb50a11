#include "exec/csv_writer.h"

namespace {

bool NeedsQuotes(std::string_view value) noexcept {
    if (value.empty()) return true;
    for (const char c : value)
        if (c == ',' || c == '"' || c == '\r' || c == '\n') return true;
    return false;
}

}  // namespace

void CCsvWriter::PutField(std::string& line, std::string_view value) {
    if (!NeedsQuotes(value)) {
        line += value;
        return;
    }
    line += '"';
    for (std::size_t quote; (quote = value.find('"')) != std::string_view::npos; value.remove_prefix(quote + 1)) {
        line.append(value.substr(0, quote + 1));
        line += '"';
    }
    line += value;
    line += '"';
}
