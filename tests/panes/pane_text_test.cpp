// The text operations that both panes share: bytes in and out unchanged,
// lengths in bytes, the caller's buffer, selection and font. The output pane
// as the run's output: appends at the end, collected or not, byte for byte,
// and the wrap width in characters. Both panes' palettes as the theme changes.
#include "worksheet_fixture.h"

#include <wx/font.h>
#include <wx/stc/stc.h>

#include "panes/output_line_classes.h"
#include "panes/pane_palette.h"

#include <algorithm>
#include <array>
#include <functional>
#include <tuple>

using namespace std::string_literals;

class PaneTextTest : public WorksheetTest, public ::testing::WithParamInterface<bool> {
protected:
    // The pane under test: the script pane or the (read-only) output pane.
    CPane& Pane() { return GetParam() ? static_cast<CPane&>(*m_pOutputPane) : *m_pScriptPane; }
    wxStyledTextCtrl& Control() { return *Pane().GetControl(); }
    std::pair<int, int> Selection() { return {Control().GetSelectionStart(), Control().GetSelectionEnd()}; }
};

INSTANTIATE_TEST_SUITE_P(BothPanes, PaneTextTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Output" : "Script"; });

TEST_P(PaneTextTest, SetTextAndGetTextPassEveryByteIntoTheCallersBuffer) {
    for (const std::string& bytes : {""s, "select 1;\r\nselect 2\r\n"s, "caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD"s,
                                     "\x80\xFF\xC3(\xE2\x82 \xC0\xAF"s, "a\rb\nc"s, "a\0b\r\n\0"s}) {
        SCOPED_TRACE(bytes);
        Pane().SetText(bytes, false);
        EXPECT_EQ(std::pair(Pane().GetText(), Pane().GetTextLength()), std::pair(bytes, static_cast<int>(bytes.size())));
        std::string buffer(bytes.size() + 1, '#');
        Pane().GetText(buffer.data(), static_cast<int>(buffer.size()));
        EXPECT_EQ(buffer, bytes + '\0');
    }
    // The caller's buffer gets at most size - 1 bytes and a NUL.
    Pane().SetText("abcdef", false);
    const std::pair<int, std::string> cases[] = {
        {4, "abc\0####"s}, {1, "\0#######"s}, {7, "abcdef\0#"s}, {8, "abcdef\0#"s}, {0, "########"}, {-3, "########"},
    };
    for (const auto& [size, expected] : cases) {
        std::string buffer(8, '#');
        Pane().GetText(buffer.data(), size);
        EXPECT_EQ(buffer, expected) << size;
    }
    Pane().GetText(nullptr, 10);  // does nothing
}

TEST_P(PaneTextTest, SelectionsAreClampedAndReplacedWithTheCaretAfterTheInsertion) {
    Pane().SetText("0123456789", false);
    const std::pair<std::pair<long, long>, std::pair<int, int>> cases[] = {
        {{0, -1}, {0, 10}}, {{3, 1000}, {3, 10}}, {{4, 4}, {4, 4}}, {{2, 5}, {2, 5}}, {{-5, 2}, {0, 2}},
    };
    for (const auto& [range, selected] : cases) {
        Pane().SetSelection(range.first, range.second);
        EXPECT_EQ(Selection(), selected) << range.first << ".." << range.second;
    }
    Pane().SetSelection(6, 8);
    Pane().SetText("th\0ere"s, true);
    EXPECT_EQ(std::pair(Pane().GetText(), Selection()), std::pair("012345th\0ere89"s, std::pair(12, 12)));
    Pane().SetText(static_cast<const char*>(nullptr), false);
    EXPECT_EQ(Pane().GetTextLength(), 0);
}

TEST_P(PaneTextTest, SetPaneFontKeepsTheSelectionAndAppliesToAllText) {
    Pane().SetText("select 1\r\nfrom t", false);
    Pane().SetSelection(3, 12);
    wxFont font(wxFontInfo().FaceName("Monospace").Bold());
    font.SetFractionalPointSize(11.25);
    Pane().SetPaneFont(font, 9);
    // Every character's style has the font, never bold.
    const int style = Control().GetStyleAt(5);
    EXPECT_EQ(std::tuple(Selection(), Pane().GetCharWidth(), Control().StyleGetFaceName(wxSTC_STYLE_DEFAULT),
                         Control().StyleGetSizeFractional(style), Control().StyleGetBold(style)),
              std::tuple(std::pair(3, 12), 9, "Monospace", 1125, false));
}

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

        EXPECT_TRUE(m_pOutputPane->GetText() == expected);  // megabytes: not printed
        const int end = static_cast<int>(expected.size());
        // Frozen, the selection, read-only, what Undo would take back.
        EXPECT_EQ(std::tuple(Output().IsFrozen(), Output().GetSelectionStart(), Output().GetSelectionEnd(),
                             Output().GetReadOnly(), Output().CanUndo()),
                  std::tuple(false, end, end, true, false));
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

// The styles of the transcript stay those of its lines where its text is
// replaced: the pane passes over new plain text without writing its styles,
// which must not leave an earlier line's colour behind.
TEST_F(OutputPaneTest, LineColoursFollowTheTextThroughClearsAndReplacements) {
    const std::string plainRows = std::string(200'000, '.') + "\r\n";
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"echo prefix replaced", [&] { m_pOutputPane->SetSelection(0, 5); m_pOutputPane->SetText("row\r\nrow\r\n", true); }},
        {"cleared", [&] { m_pOutputPane->SetText("", false); m_pOutputPane->AppendText("row\r\nSQL> b\r\n"); }},
        {"long plain run, then an echo", [&] { m_pOutputPane->AppendText(plainRows + "SQL> c\r\n"); }},
    };
    for (const auto& [name, change] : cases) {
        SCOPED_TRACE(name);
        m_pOutputPane->SetText("SQL> a\r\n", false);
        Output().Colourise(0, -1);
        change();
        Output().Colourise(0, -1);
        const std::string text = m_pOutputPane->GetText();
        std::vector<unsigned char> classes(text.size()), styles(text.size());
        ClassifyOutputLines(text, classes.data());
        for (std::size_t at = 0; at < text.size(); ++at) styles[at] = Output().GetStyleAt(static_cast<int>(at));
        const auto differs = std::mismatch(styles.begin(), styles.end(), classes.begin()).first;
        EXPECT_TRUE(differs == styles.end()) << "a style that is not its line's class at " << differs - styles.begin();
    }
}

TEST_F(OutputPaneTest, WrapWidthIsTheWholeCharactersThatFitThePane) {
    const std::array<int, 3> cases[] = {{8, 40 * 8 + 4, 40}, {0, 300, 0}, {100'000, 300, 0}};  // character, client, wrap
    for (const auto& [charWidth, clientWidth, wrapWidth] : cases) {
        SCOPED_TRACE(charWidth);
        m_pOutputPane->SetPaneFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)), charWidth);
        Output().SetClientSize(clientWidth, 200);
        gui_env::Pump();
        ASSERT_EQ(Output().GetClientSize().x, clientWidth);
        EXPECT_EQ(m_pOutputPane->WrapWidth(), wrapWidth);
    }
}

// The panes follow the desktop's theme: the dark palette while it is dark,
// also after a change of theme or of the pane font.
TEST_F(OutputPaneTest, PanesTakeThePaletteOfTheThemeWhenItChanges) {
    bool dark = false;
    CPane::SetAppearanceQuery([&dark] { return dark; });
    for (const bool theme : {true, false, true}) {
        SCOPED_TRACE(theme);
        dark = theme;
        wxSysColourChangedEvent event;
        event.SetEventObject(m_pFrame);
        m_pFrame->GetEventHandler()->ProcessEvent(event);
        m_pOutputPane->SetPaneFont(wxFont(wxFontInfo(11).Family(wxFONTFAMILY_TELETYPE)), 8);
        const PanePalette palette = PanePalette::For(theme);
        const auto colour = [](Rgb rgb) { return wxColour(rgb.red, rgb.green, rgb.blue); };
        // Style 1 is a class of its own: the script's block comments, the
        // transcript's echo lines.
        for (const auto& [pane, styleOne] : {std::pair<CPane*, Rgb>{m_pScriptPane, palette.comment},
                                             std::pair<CPane*, Rgb>{m_pOutputPane, palette.echo}}) {
            wxStyledTextCtrl& control = *pane->GetControl();
            for (const auto& [style, text] : {std::pair{0, palette.text}, std::pair{1, styleOne},
                                              std::pair{+wxSTC_STYLE_DEFAULT, palette.text}}) {
                EXPECT_EQ(control.StyleGetBackground(style), colour(palette.background));
                EXPECT_EQ(control.StyleGetForeground(style), colour(text));
            }
            EXPECT_GT(control.GetMarginLeft(), 0);
        }
    }
    CPane::SetAppearanceQuery(nullptr);
}
