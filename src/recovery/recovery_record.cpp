#include "recovery/recovery_record.h"

#include <charconv>
#include <ctime>

namespace {

constexpr std::string_view kMagic = "TarnwellRecovery 1\n";

// Reads "<name> <decimal number>\n" from the front of bytes.
template <typename Number>
bool TakeField(std::string_view& bytes, std::string_view name, Number& value) {
    if (!bytes.starts_with(name) || bytes.size() <= name.size() || bytes[name.size()] != ' ') return false;
    bytes.remove_prefix(name.size() + 1);
    const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), value);
    if (error != std::errc() || end == bytes.data() || end == bytes.data() + bytes.size() || *end != '\n') return false;
    bytes.remove_prefix(static_cast<std::size_t>(end - bytes.data()) + 1);
    return true;
}

// Reads "<name> <count>\n" and then count bytes.
bool TakeBytes(std::string_view& bytes, std::string_view name, std::string& value) {
    std::size_t count = 0;
    if (!TakeField(bytes, name, count) || bytes.size() < count) return false;
    value.assign(bytes.data(), count);
    bytes.remove_prefix(count);
    return true;
}

}  // namespace

std::string CRecoveryRecord::Header() const {
    std::string bytes(kMagic);
    bytes += "time " + std::to_string(time) + "\n";
    bytes += "path " + std::to_string(documentPath.size()) + "\n" + documentPath + "\n";
    bytes += "text " + std::to_string(text.size()) + "\n";
    return bytes;
}

std::optional<CRecoveryRecord> CRecoveryRecord::Decode(std::string_view bytes) {
    CRecoveryRecord record;
    if (!bytes.starts_with(kMagic)) return std::nullopt;
    bytes.remove_prefix(kMagic.size());
    if (!TakeField(bytes, "time", record.time) || !TakeBytes(bytes, "path", record.documentPath) ||
        !bytes.starts_with('\n'))
        return std::nullopt;
    bytes.remove_prefix(1);
    if (!TakeBytes(bytes, "text", record.text) || !bytes.empty()) return std::nullopt;
    return record;
}

std::size_t CRecoveryRecord::LineCount() const {
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++lines;
    }
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') ++lines;
    return lines;
}

std::string CRecoveryRecord::Question() const {
    const auto seconds = static_cast<std::time_t>(time);
    std::tm local{};
    char clock[16] = "";
    if (localtime_r(&seconds, &local) != nullptr) std::strftime(clock, sizeof clock, "%H:%M", &local);
    const std::size_t lines = LineCount();
    return "Tarnwell was closed before it could save your script. Recover the unsaved script from " +
           std::string(clock) + " (" + std::to_string(lines) + (lines == 1 ? " line" : " lines") + ")?";
}
