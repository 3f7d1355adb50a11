#include "common/mnemonic_labels.h"

#include <cctype>
#include <set>

namespace {

int Key(char c) { return std::tolower(static_cast<unsigned char>(c)); }

bool IsKey(char c) { return static_cast<unsigned char>(c) < 0x80 && std::isalnum(static_cast<unsigned char>(c)); }

// The position of the character label's mnemonic marks, or npos.
std::size_t MnemonicOf(const std::string& label) {
    for (std::size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != '&') continue;
        if (label[i + 1] != '&') return i + 1;
        ++i;
    }
    return std::string::npos;
}

}  // namespace

std::vector<std::string> WithMnemonics(std::vector<std::string> labels) {
    std::set<int> taken;
    for (const std::string& label : labels)
        if (const std::size_t at = MnemonicOf(label); at != std::string::npos) taken.insert(Key(label[at]));
    for (std::string& label : labels) {
        if (MnemonicOf(label) != std::string::npos) continue;
        for (std::size_t i = 0; i < label.size(); ++i) {
            if (label[i] == '&') {
                ++i;  // "&&"
            } else if (IsKey(label[i]) && taken.insert(Key(label[i])).second) {
                label.insert(i, 1, '&');
                break;
            }
        }
    }
    return labels;
}
