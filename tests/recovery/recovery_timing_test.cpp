// When a modified script goes to its recovery file, and when a script's
// file counts as changed by another program.
#include "recovery/recovery_schedule.h"
#include "recovery/watched_file.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

using namespace std::chrono_literals;

TEST(RecoveryScheduleTest, LooksAtMostEveryFiveSecondsAndWritesOnlyChanges) {
    const CRecoverySchedule::Clock::time_point start{};
    const struct {
        std::chrono::milliseconds at;
        const char* text;   // looked at when due
        bool due;
        bool write;
    } steps[] = {
        {0ms, "a", true, true},         // the first look writes at once
        {1000ms, "ab", false, false},   // too soon
        {4999ms, "ab", false, false},
        {5000ms, "ab", true, true},
        {10000ms, "ab", true, false},   // unchanged: nothing to write
        {12000ms, "abc", false, false}, // the clock runs from the last look
        {15000ms, "abc", true, true},
        {16000ms, nullptr, false, false},  // Reset (saved): the next change goes at once
        {16500ms, "abcd", true, true},
    };
    CRecoverySchedule schedule;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.at.count());
        if (step.text == nullptr) {
            schedule.Reset();
            continue;
        }
        EXPECT_EQ(schedule.IsDue(start + step.at), step.due);
        if (step.due) {
            EXPECT_EQ(schedule.TakeText(start + step.at, step.text), step.write);
        }
    }
}

void SetModified(const std::string& path, long nanoseconds) {
    const timespec times[2] = {{0, UTIME_OMIT}, {1700000000, nanoseconds}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// Each change, made by "another program" after the file was kept, counts;
// size and time set back the same on the same file do not.
TEST(WatchedFileTest, ChangesOfTheKeptFileAndTheReloadOfferedOncePerChange) {
    const std::string path = test_env::TempPath("watched.sql");
    const std::string other = test_env::TempPath("other.sql");
    const struct {
        const char* what;
        std::function<void()> change;
        bool changed;
    } cases[] = {
        {"nothing", [] {}, false},
        {"time set back", [&] { SetModified(path, 1); }, false},
        {"time, nanoseconds", [&] { SetModified(path, 2); }, true},
        {"size", [&] { test_env::WriteFile(path, "select 22"); SetModified(path, 1); }, true},
        {"replaced, same size and time",
         [&] {
             test_env::WriteFile(other, "select 2");
             SetModified(other, 1);
             std::filesystem::rename(other, path);
         },
         true},
        {"removed", [&] { std::filesystem::remove(path); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test_env::WriteFile(path, "select 1");
        SetModified(path, 1);
        CWatchedFile watched;
        watched.Keep(path, CFileStamp::Of(path));
        c.change();
        EXPECT_EQ(watched.ChangedOnDisk(path), c.changed);
        EXPECT_FALSE(watched.ChangedOnDisk(other));
        // A removed file is nothing to reload; a changed one is offered once.
        const bool offer = c.changed && std::filesystem::exists(path);
        EXPECT_EQ(watched.TakeReloadOffer(), offer);
        EXPECT_FALSE(watched.TakeReloadOffer());
        if (!offer) continue;
        SetModified(path, 3);
        EXPECT_TRUE(watched.TakeReloadOffer()) << "a further change is offered again";
        watched.Keep(path, CFileStamp::Of(path));
        EXPECT_FALSE(watched.ChangedOnDisk(path)) << "saved or reloaded";
    }
}

}  // namespace
