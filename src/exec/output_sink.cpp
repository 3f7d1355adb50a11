#include "exec/output_sink.h"

#include "common/display_text.h"

#include <algorithm>

void COutputSink::AppendWrapped(std::string_view text) {
    // A pane narrower than one column wraps as if it were one column wide, so
    // the loop always advances and every byte is appended exactly once.
    const int width = std::max(1, WrapWidth());
    for (;;) {
        std::size_t piece = display_text::PrefixForWidth(text, width);
        if (piece >= text.size()) break;
        // A double-width character in a one-column pane: it still gets a line
        // of its own rather than being cut.
        if (piece == 0) piece = display_text::PrefixForChars(text, 1);
        AppendText(text.substr(0, piece));
        AppendText("\r\n");
        text.remove_prefix(piece);
    }
    AppendText(text);
}
