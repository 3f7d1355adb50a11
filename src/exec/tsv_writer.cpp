#include "exec/tsv_writer.h"

void CTsvWriter::PutField(std::string& line, std::string_view value) {
    for (const char c : value) {
        switch (c) {
        case '\t': line += "\\t"; break;
        case '\n': line += "\\n"; break;
        case '\r': line += "\\r"; break;
        case '\\': line += "\\\\"; break;
        case '\0': line += "\\0"; break;
        default: line += c;
        }
    }
}
