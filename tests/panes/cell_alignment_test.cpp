// Result tables line up in the output pane whatever the characters: the
// first character of every column is drawn at the same x in every row, with
// wide characters drawn by whatever fallback font the system has (boxes when
// it has none), at more than one font size.
#include "../exec/fake_statement.h"
#include "common/display_text.h"
#include "exec/result_formatter.h"
#include "worksheet_fixture.h"

#include <wx/font.h>
#include <wx/stc/stc.h>

#include <string_view>
#include <vector>

namespace {

// The display columns at which the fields of a formatted header start.
std::vector<int> ColumnStarts(std::string_view header) {
    std::vector<int> starts{0};
    for (std::size_t i = 1; i < header.size(); ++i)
        if (header[i - 1] == ' ' && header[i] > ' ') starts.push_back(static_cast<int>(i));
    return starts;
}

}  // namespace

using CellAlignmentTest = WorksheetTest;

TEST_F(CellAlignmentTest, ColumnsStartAtTheSameXInEveryRow) {
    wxStyledTextCtrl& control = *m_pOutputPane->GetControl();
    for (const int points : {10, 15}) {
        SCOPED_TRACE(points);
        m_pOutputPane->SetPaneFont(wxFont(wxFontInfo(points).Family(wxFONTFAMILY_TELETYPE)), 8);
        m_pOutputPane->SetText("", false);
        const int lineHeight = control.TextHeight(0);
        CFakeStatement statement({{"name", 12}, {"city", 10}, {"note", 8}},
                                 {{"Ann Smith", "Oslo", "ok"},
                                  {"Zoë Müller", "Zürich", "été"},
                                  {"山田太郎", "東京", "한국"},
                                  {"ｆｕｌｌ", "e\xCC\x81t\xC3\xA9", "😀x"}});
        CResultFormatter(20, 40, nullptr).Print(statement, *m_pOutputPane);
        control.Refresh();
        control.Update();
        gui_env::Pump();

        // The lines keep the pane font's height (fitted styles and the
        // measuring made them taller once).
        EXPECT_EQ(control.TextHeight(0), lineHeight);

        // "\r\n", header, dashes, rows.
        const int header = 1;
        const std::string headerText = control.GetLineRaw(header).data();
        const std::vector<int> starts = ColumnStarts(headerText);
        ASSERT_EQ(starts.size(), 3u) << headerText;
        std::vector<int> headerX;
        for (const int column : starts)
            headerX.push_back(control.PointFromPosition(control.PositionFromLine(header) + column).x);
        for (int line = header + 2; line < header + 6; ++line) {
            const wxCharBuffer raw = control.GetLineRaw(line);
            const std::string_view row(raw.data(), raw.length());
            SCOPED_TRACE(std::string(row));
            for (std::size_t i = 0; i < starts.size(); ++i) {
                const auto offset = static_cast<int>(display_text::PrefixForWidth(row, starts[i]));
                EXPECT_EQ(control.PointFromPosition(control.PositionFromLine(line) + offset).x, headerX[i]);
            }
        }
    }
}
