// The output pane as the run's output: appends at the end, wrapping at the
// pane's width in characters, and collected appends that behave exactly like
// immediate ones.
#include "worksheet_fixture.h"

#include <wx/font.h>
#include <wx/stc/stc.h>

#include <chrono>
#include <functional>

using namespace std::string_literals;

class OutputPaneTest : public WorksheetTest {
protected:
    // Gives the output pane a client area exactly columns characters of
    // charWidth pixels wide, plus a few pixels that do not make a character.
    void SetColumns(int columns, int charWidth = 8) {
        m_pOutputPane->SetPaneFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)), charWidth);
        m_pOutputPane->GetControl()->SetClientSize(columns * charWidth + charWidth / 2, 200);
        gui_env::Pump();
        ASSERT_EQ(m_pOutputPane->GetControl()->GetClientSize().x, columns * charWidth + charWidth / 2);
    }

    wxStyledTextCtrl& Output() { return *m_pOutputPane->GetControl(); }
};

TEST_F(OutputPaneTest, AppendGoesToTheEndAndTheUsersSelectionIsLost) {
    m_pOutputPane->SetText("abc\r\ndef", false);
    m_pOutputPane->SetSelection(1, 4);  // as the user would select
    m_pOutputPane->AppendText("xyz\r\n");
    EXPECT_EQ(m_pOutputPane->GetText(), "abc\r\ndefxyz\r\n");
    EXPECT_EQ(Output().GetSelectionStart(), 13);
    EXPECT_EQ(Output().GetSelectionEnd(), 13);
    EXPECT_TRUE(Output().GetReadOnly());
    EXPECT_FALSE(Output().CanUndo());
}

TEST_F(OutputPaneTest, AppendWrappedCutsAtTheWidth) {
    const std::string a40(40, 'a'), b40(40, 'b');
    struct Case {
        const char* name;
        int columns;  // 0: no character width; -1: a character wider than the pane
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"exactly the width", 40, a40, a40},
        {"81 bytes", 40, a40 + b40 + "c", a40 + "\r\n" + b40 + "\r\nc"},
        {"shorter", 40, "\r\nshort", "\r\nshort"},
        {"empty", 40, "", ""},
        {"no character width wraps as one column", 0, "abc", "a\r\nb\r\nc"},
        {"a pane narrower than a character as well", -1, "ab", "a\r\nb"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        if (test.columns > 0) {
            SetColumns(test.columns);
            EXPECT_EQ(m_pOutputPane->WrapWidth(), test.columns);
        } else {
            m_pOutputPane->SetPaneFont(wxFont(wxFontInfo(10)), test.columns < 0 ? 100'000 : 0);
            EXPECT_EQ(m_pOutputPane->WrapWidth(), 0);
        }
        m_pOutputPane->SetText("", false);
        m_pOutputPane->AppendWrapped(test.text);
        EXPECT_EQ(m_pOutputPane->GetText(), test.expected);
    }
}

TEST_F(OutputPaneTest, CollectedAppendsEqualImmediateAppends) {
    COutputPane immediate;
    ASSERT_TRUE(immediate.Create(m_pFrame));

    // The same appends, with a user's selection before them and reads in
    // between; the pane under test collects them in nested batches.
    const std::function<void(COutputPane&, bool)> script = [](COutputPane& pane, bool batch) {
        pane.SetText("earlier\r\n", false);
        pane.SetSelection(0, 3);
        if (batch) pane.SuspendRedraw();
        pane.AppendText("SQL> select 1\r\n");
        pane.AppendText("");
        if (batch) pane.BeginBatch();
        pane.AppendText("\xC3\xA9\0x"s);
        EXPECT_EQ(pane.GetTextLength(), 28);
        pane.AppendText("ok\r\n");
        if (batch) pane.EndBatch();
        for (int row = 0; row < 3000; ++row) pane.AppendText("row " + std::to_string(row) + "\r\n");
        if (batch) pane.ResumeRedraw();
    };
    script(*m_pOutputPane, true);
    script(immediate, false);

    EXPECT_FALSE(Output().IsFrozen());
    EXPECT_EQ(m_pOutputPane->GetTextLength(), immediate.GetTextLength());
    EXPECT_TRUE(m_pOutputPane->GetText() == immediate.GetText());
    EXPECT_EQ(Output().GetSelectionStart(), immediate.GetControl()->GetSelectionStart());
    EXPECT_EQ(Output().GetSelectionEnd(), immediate.GetControl()->GetTextLength());
}

TEST_F(OutputPaneTest, ClearingEmptiesThePaneAlsoWithAppendsCollected) {
    m_pOutputPane->BeginBatch();
    m_pOutputPane->AppendText("collected\r\n");
    m_pOutputPane->SetText("", false);
    m_pOutputPane->AppendText("after\r\n");
    m_pOutputPane->EndBatch();
    EXPECT_EQ(m_pOutputPane->GetText(), "after\r\n");
}

// Not a timing assertion: a million result lines go through one batch, as a
// run prints a large result set, and all of them arrive.
TEST_F(OutputPaneTest, AMillionAppendedLinesArriveWhole) {
    const std::string line = "        42 some text in a column          2024-01-01 12:00:00\r\n";
    const auto started = std::chrono::steady_clock::now();
    m_pOutputPane->SuspendRedraw();
    for (int row = 0; row < 1'000'000; ++row) m_pOutputPane->AppendText(line);
    m_pOutputPane->ResumeRedraw();
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    RecordProperty("million_lines_ms", static_cast<int>(elapsed.count()));
    EXPECT_EQ(m_pOutputPane->GetTextLength(), static_cast<int>(line.size() * 1'000'000));
    EXPECT_EQ(Output().GetLineCount(), 1'000'001);
    EXPECT_EQ(Output().GetLineRaw(999'999).data(), line);
}
