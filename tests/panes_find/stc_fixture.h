#pragma once

#include "panes/search_target.h"
#include "support/gui_env.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/stc/stc.h>

#include <ostream>
#include <string>

inline void PrintTo(const CSearchTarget::Match& match, std::ostream* out) { *out << match.start << ".." << match.end; }

// A shown frame holding one text control, made for each test.
class StcFixture : public ::testing::Test {
protected:
    using Match = CSearchTarget::Match;

    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "find");
        control = new wxStyledTextCtrl(frame);
        frame->Show();
    }
    void TearDown() override {
        if (frame != nullptr) frame->Destroy();
        gui_env::Settle();
    }

    // Puts text in (bytes as they are) with the caret at the start.
    void SetText(const std::string& text, bool readOnly = false) {
        control->SetReadOnly(false);
        control->SetTextRaw(text.c_str());
        control->SetSelection(0, 0);
        control->SetReadOnly(readOnly);
    }
    std::string Text() const {
        const wxCharBuffer bytes = control->GetTextRaw();
        return std::string(bytes.data(), bytes.length());
    }
    Match Selection() const { return {control->GetSelectionStart(), control->GetSelectionEnd()}; }

    wxFrame* frame = nullptr;
    wxStyledTextCtrl* control = nullptr;
};
