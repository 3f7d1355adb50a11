// Every button of a message box gets its own mnemonic.
#include "common/mnemonic_labels.h"

#include <gtest/gtest.h>

TEST(MnemonicLabelsTest, EachLabelGetsAnUnusedKey) {
    const struct { std::vector<std::string> labels, expected; } cases[] = {
        {{"Yes", "No", "Cancel"}, {"&Yes", "&No", "&Cancel"}},
        {{"Recover", "Discard", "Later"}, {"&Recover", "&Discard", "&Later"}},
        // A taken letter moves on to the next free one, whatever its case.
        {{"Save", "Skip", "stop"}, {"&Save", "S&kip", "s&top"}},
        // A label's own mnemonic stays, and reserves its key before the others choose.
        {{"Open", "Cl&ose", "Other"}, {"O&pen", "Cl&ose", "O&ther"}},
        // "&&" is a plain ampersand; nothing left gives no mnemonic.
        {{"&&A", "A", "\xC3\xA9"}, {"&&&A", "A", "\xC3\xA9"}},
    };
    for (const auto& c : cases) EXPECT_EQ(WithMnemonics(c.labels), c.expected);
}
