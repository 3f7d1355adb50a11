#pragma once

#include <string_view>

// Where a run writes its transcript: the output pane, a spool tee, the
// console or a test.
class COutputSink {
public:
    virtual ~COutputSink() = default;

    // Adds the bytes at the end, unchanged.
    virtual void AppendText(std::string_view text) = 0;

    // Adds text that differs from run to run (a time), as AppendText does. A
    // sink that passes text on passes this on the same way, so that one that
    // keeps a transcript for comparing can leave it out.
    virtual void AppendVolatile(std::string_view text) { AppendText(text); }

    // Display columns per line for AppendWrapped. A width below 1 wraps as if
    // one column wide, so every byte is still appended once.
    virtual int WrapWidth() const = 0;

    // While the rest of text is wider than WrapWidth() columns: AppendText its
    // first WrapWidth() columns (never cutting a UTF-8 character), then
    // AppendText "\r\n"; finally AppendText the rest, which may be empty.
    // Line ends already in the text count as ordinary bytes.
    void AppendWrapped(std::string_view text);
};
