#include "panes/output_line_classes.h"

#include <cstring>

namespace {

OutputClass ClassOfLine(std::string_view line) {
    if (line.starts_with("SQL> ")) return OutputClass::Echo;
    if (line.starts_with("Error: ")) return OutputClass::Error;
    if (line.starts_with("Warning: ")) return OutputClass::Warning;
    return OutputClass::Plain;
}

}  // namespace

void ClassifyOutputLines(std::string_view text, unsigned char* classes) {
    std::memset(classes, 0, text.size());
    for (std::size_t start = 0; start < text.size();) {
        // The first character decides before the line is searched for its end:
        // most lines of a result are rows, which no class starts like.
        const char first = text[start];
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (first == 'S' || first == 'E' || first == 'W') {
            std::size_t last = end;
            if (last > start && text[last - 1] == '\r') --last;
            const OutputClass cls = ClassOfLine(text.substr(start, last - start));
            if (cls != OutputClass::Plain) std::memset(classes + start, static_cast<int>(cls), last - start);
        }
        start = end + 1;
    }
}
