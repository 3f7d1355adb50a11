#include "wx_test_app.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/init.h>

namespace {

class WxEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static char name[] = "panes_find_gui";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        // No accessibility bus under Xvfb: it only leaves D-Bus state behind.
        setenv("NO_AT_BRIDGE", "1", 1);
        wxApp::SetInstance(new wxApp);
        ASSERT_TRUE(wxEntryStart(argc, argv)) << "no display";
        ASSERT_TRUE(wxTheApp->CallOnInit());
    }
    void TearDown() override {
        if (wxTheApp == nullptr) return;
        // A selection in a text control is offered as the primary selection;
        // give that data back before the toolkit goes.
        if (wxTheClipboard->Open()) {
            wxTheClipboard->UsePrimarySelection(true);
            wxTheClipboard->Clear();
            wxTheClipboard->Close();
        }
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new WxEnvironment);

}  // namespace

void wx_test_app::Yield() {
    for (int round = 0; round < 5; ++round) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->Yield(true);
    }
    wxTheApp->ProcessIdle();  // deletes windows that were destroyed
}
