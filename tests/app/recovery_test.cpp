// The script's file changed behind the window's back, and the unsaved
// script of a window process that was killed, brought back at the next
// start. The windows that are killed or closed run in a child process: this
// test program started again to run only RecoveryChild (see there).
#include "app_test_env.h"

#include "app/doc_manager.h"
#include "app/tarnwell_app.h"
#include "recovery/recovery_folder.h"
#include "recovery/script_recovery.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include <csignal>
#include <cstdlib>

#include <sys/wait.h>
#include <unistd.h>

using namespace app_test;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

// Every kind of byte: CR line ends, invalid UTF-8, a NUL and text after it.
const std::string kUnsaved = "select 1;\r\n-- \xff\xfe\xc3\r\nselect '\0after NUL';\rend"s;

void Open(const std::string& path) {
    ASSERT_EQ(App().GetDocManager()->OpenScript(ToUiString(path)), CDocManager::OpenResult::Opened);
}

void EditScript(CMainFrame& window, const std::string& text) {
    window.ScriptPane()->SetText(std::string_view(text), false);
    ASSERT_TRUE(window.Script()->IsModified());
}

TEST_F(WindowTest, SavingOverAFileAnotherProgramChangedAsksFirst) {
    const std::string path = test_env::TempPath("changed.sql");
    const struct {
        const char* what;
        std::function<void()> change;
        int answer;
        std::optional<std::string> file;  // afterwards (none: removed)
    } cases[] = {
        {"rewritten, No", [&] { test_env::WriteFile(path, "other program"); }, wxNO, "other program"},
        {"removed, No", [&] { fs::remove(path); }, wxNO, std::nullopt},
        {"removed, Yes", [&] { fs::remove(path); }, wxYES, "mine"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test_env::WriteFile(path, "select 1");
        SetScript("");
        Open(path);
        EditScript(Frame(), "mine");
        c.change();
        AnswerYesNo(c.answer);
        Frame().RunCommand(wxID_SAVE);
        EXPECT_EQ(TakeOneMessageBox().text,
                  "changed.sql was changed by another program since it was opened. Overwrite it?");
        EXPECT_EQ(fs::exists(path) ? std::optional(ReadFile(path)) : std::nullopt, c.file);
        EXPECT_EQ(ScriptText(), "mine");
        EXPECT_EQ(Frame().Script()->IsModified(), c.answer == wxNO);
    }
    // Saved over it: the window's own save is no change by another program.
    EditScript(Frame(), "mine again");
    Frame().RunCommand(wxID_SAVE);
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EXPECT_EQ(ReadFile(path), "mine again");
    SetScript("");
}

TEST_F(WindowTest, BackInTheWindowAChangedFileIsOfferedForReloadingOncePerChange) {
    const std::string path = WriteTempFile("reload.sql", "select 1");
    SetScript("");
    Open(path);
    const std::string question = "reload.sql was changed by another program. Reload it?";
    const struct {
        const char* file;    // written by another program before (none: unchanged)
        const char* edit;    // typed into the script before (none: unmodified)
        int answer;
        bool asked;
        std::string script;  // afterwards
    } steps[] = {
        {"select 22", nullptr, wxNO, true, "select 1"},
        {nullptr, nullptr, wxYES, false, "select 1"},     // the same change: asked once
        {"select 333", nullptr, wxYES, true, "select 333"},
        {nullptr, nullptr, wxYES, false, "select 333"},   // reloaded
        {"select 4444", "mine", wxYES, false, "mine"},    // modified: Save asks instead
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.script);
        if (step.file != nullptr) test_env::WriteFile(path, step.file);
        if (step.edit != nullptr) EditScript(Frame(), step.edit);
        AnswerYesNo(step.answer);
        wxActivateEvent activate(wxEVT_ACTIVATE, true);
        Frame().GetEventHandler()->ProcessEvent(activate);
        gui_env::Settle();
        const std::vector<MessageBox> boxes = TakeMessageBoxes();
        EXPECT_EQ(boxes.size(), step.asked ? 1u : 0u);
        EXPECT_EQ(boxes.empty() ? "" : boxes[0].text, step.asked ? question : "");
        EXPECT_EQ(ScriptText(), step.script);
        EXPECT_EQ(Frame().Script()->IsModified(), step.edit != nullptr);
    }
    SetScript("");
}

// Runs in the child process: a window of its own holds kUnsaved, modified,
// over the file RECOVERY_CHILD_FILE, with its recovery file in
// RECOVERY_CHILD_STATE. Once that file is written it says so in
// RECOVERY_CHILD_MARKER (with its temporary folder, which only a clean end
// removes) and ends as RECOVERY_CHILD_MODE says: "kill" waits to be killed,
// "close" closes the window (No to saving) and ends the program, "exit"
// closes it forced during a run that never ends, which ends the process on
// the spot.
TEST_F(WindowTest, DISABLED_RecoveryChild) {
    const std::string mode = std::getenv("RECOVERY_CHILD_MODE");
    setenv("XDG_STATE_HOME", std::getenv("RECOVERY_CHILD_STATE"), 1);
    CSecondWindow window(wxSize(600, 400));
    ASSERT_NE(window->Recovery(), nullptr);
    ASSERT_EQ(static_cast<CDocManager*>(window->GetDocumentManager())->OpenScript(ToUiString(std::getenv("RECOVERY_CHILD_FILE"))),
              CDocManager::OpenResult::Opened);
    EditScript(*window, kUnsaved);
    const std::string file = window->Recovery()->FilePath();
    ASSERT_TRUE(gui_env::WaitUntil([&] { return fs::exists(file); }, 30000));

    const std::string marker = std::getenv("RECOVERY_CHILD_MARKER");
    test_env::WriteFile(marker + ".new", test_env::TempDir());
    fs::rename(marker + ".new", marker);
    if (mode == "kill") {
        gui_env::WaitUntil([] { return false; }, 60000);
        FAIL() << "not killed";
    } else if (mode == "close") {
        AnswerYesNo(wxNO);
        EXPECT_TRUE(window.Close());
    } else {
        Connect(*window, test_env::NewStuckDsn("Stuck"));
        window->RunCommand(ID_EXECUTE);
        ASSERT_TRUE(gui_env::WaitUntil([&] { return StatusOf(*window).starts_with("Executing statement 1: "); }));
        window->Close(true);
        FAIL() << "the process did not end";
    }
}

// This program started again for RecoveryChild in mode (which ends by itself
// within a minute); returns its exit status (137 when killed, 3 in mode
// "kill" when it never said it was ready to be). The shell waits for the
// program itself, so its files are closed (its lock let go) on return.
int RunChild(const std::string& mode, const std::string& script, std::string& log) {
    const std::string marker = test_env::TempPath("child-" + mode);
    log = marker + ".log";
    const std::string command =
        "RECOVERY_CHILD_MODE=" + mode + " RECOVERY_CHILD_FILE='" + script + "' RECOVERY_CHILD_MARKER='" + marker +
        "' RECOVERY_CHILD_STATE=\"$XDG_STATE_HOME\" '" + fs::read_symlink("/proc/self/exe").string() +
        "' --gtest_filter=WindowTest.DISABLED_RecoveryChild --gtest_also_run_disabled_tests > '" + log +
        "' 2>&1 & child=$!\n" +
        (mode == "kill" ? "timeout 60 sh -c 'until [ -e \"$0\" ]; do sleep 0.1; done' '" + marker +
                              "' || { wait; exit 3; }\nkill -KILL $child\n"
                        : "") +
        "wait $child";
    const int status = std::system(command.c_str());
    // A child that did not end cleanly leaves its temporary folder.
    std::error_code error;
    if (fs::exists(marker)) fs::remove_all(ReadFile(marker), error);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Only the killed window leaves a recovery file, and it brings back its
// script byte for byte, modified, with its file name.
TEST_F(WindowTest, AKilledWindowsScriptIsRecoveredAndCleanEndsLeaveNoFile) {
    const std::string folder = std::getenv("XDG_STATE_HOME") + "/Tarnwell/recovery"s;
    const std::string script = WriteTempFile("killed.sql", "select 0");
    const struct {
        std::string mode;
        bool killed;
        std::vector<std::string> files;
    } cases[] = {{"close", false, {}}, {"exit", false, {}}, {"kill", true, {".lock", ".script"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        std::string log;
        EXPECT_EQ(RunChild(c.mode, script, log), c.killed ? 128 + SIGKILL : 0) << ReadFile(log);
        // The child's files (not this process's, whose ids start with its
        // process id): a killed window's record and lock, nothing else.
        std::vector<std::string> childFiles;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            const std::string name = entry.path().filename().string();
            if (!name.starts_with(std::to_string(getpid()) + "-")) childFiles.push_back(entry.path().extension());
        }
        std::sort(childFiles.begin(), childFiles.end());
        EXPECT_EQ(childFiles, c.files);
        EXPECT_EQ(CRecoveryFolder(folder).FindLeftOvers().size(), c.killed ? 1u : 0u);
    }

    SetScript("");
    AnswerYesNo(wxYES);
    Frame().OfferRecovery();
    const std::string offer = TakeOneMessageBox().text;
    EXPECT_TRUE(offer.starts_with("Tarnwell was closed before it could save your script. Recover the unsaved script from ") &&
                offer.ends_with(" (4 lines)?")) << offer;
    EXPECT_EQ(ScriptText(), kUnsaved);
    EXPECT_TRUE(Frame().Script()->IsModified());
    EXPECT_EQ(FromUiString(Frame().Script()->GetFilename()), script);
    EXPECT_TRUE(TitleOf(Frame()).starts_with("killed.sql")) << TitleOf(Frame());
    EXPECT_TRUE(CRecoveryFolder(folder).FindLeftOvers().empty());
    SetScript("");
}

}  // namespace
