// The output pane as the run's output: appends at the end, collected or not,
// byte for byte, and the wrap width in characters.
#include "worksheet_fixture.h"

#include <wx/font.h>
#include <wx/stc/stc.h>

#include <array>

using namespace std::string_literals;

class OutputPaneTest : public WorksheetTest {
protected:
    wxStyledTextCtrl& Output() { return *m_pOutputPane->GetControl(); }
};

TEST_F(OutputPaneTest, AppendsCollectedOrNotGiveExactlyTheirBytesAtTheEnd) {
    // More than the pane collects at once, and more room than a small text gets.
    std::string large;
    while (large.size() < (17 << 20)) large += std::to_string(large.size()) + std::string(80, '.') + "\r\n";
    for (const bool batch : {false, true}) {
        SCOPED_TRACE(batch ? "collected" : "immediate");
        std::string expected = "earlier\r\n";
        m_pOutputPane->SetText(expected, false);
        m_pOutputPane->SetSelection(0, 3);  // as the user selects; appending loses it
        const auto append = [&](const std::string& bytes) {
            m_pOutputPane->AppendText(bytes);
            expected += bytes;
        };
        if (batch) m_pOutputPane->SuspendRedraw();
        append("SQL> select 1\r\n");
        append("");
        if (batch) m_pOutputPane->BeginBatch();
        append("\xC3\xA9\0\x80\xFFx"s);
        EXPECT_EQ(m_pOutputPane->GetTextLength(), static_cast<int>(expected.size()));  // reads see every append
        append(large);
        for (int row = 0; row < 1100; ++row) append(std::to_string(row) + std::string(1000, '.') + "\r\n");
        append(std::string(1 << 20, '+'));  // a large piece after rows still collected
        if (batch) m_pOutputPane->EndBatch();
        append("ok\r\n");
        if (batch) m_pOutputPane->ResumeRedraw();

        EXPECT_FALSE(Output().IsFrozen());
        EXPECT_TRUE(m_pOutputPane->GetText() == expected);
        const int end = static_cast<int>(expected.size());
        EXPECT_EQ(std::pair(Output().GetSelectionStart(), Output().GetSelectionEnd()), std::pair(end, end));
        EXPECT_TRUE(Output().GetReadOnly());
        EXPECT_FALSE(Output().CanUndo());
    }
}

TEST_F(OutputPaneTest, ClearingDropsAppendsCollectedBefore) {
    m_pOutputPane->BeginBatch();
    m_pOutputPane->AppendText("collected\r\n");
    m_pOutputPane->SetText("", false);
    m_pOutputPane->AppendText("after\r\n");
    m_pOutputPane->EndBatch();
    EXPECT_EQ(m_pOutputPane->GetText(), "after\r\n");
}

TEST_F(OutputPaneTest, WrapWidthIsTheWholeCharactersThatFitThePane) {
    // {character width, client width, wrap width}
    const std::array<int, 3> cases[] = {{8, 40 * 8 + 4, 40}, {0, 300, 0}, {100'000, 300, 0}};
    for (const auto& [charWidth, clientWidth, wrapWidth] : cases) {
        SCOPED_TRACE(charWidth);
        m_pOutputPane->SetPaneFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)), charWidth);
        Output().SetClientSize(clientWidth, 200);
        gui_env::Pump();
        ASSERT_EQ(Output().GetClientSize().x, clientWidth);
        EXPECT_EQ(m_pOutputPane->WrapWidth(), wrapWidth);
    }
}
