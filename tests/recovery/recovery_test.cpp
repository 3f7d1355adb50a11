// Recovery files on disk (the record's bytes, atomic writes, which windows'
// files count as left over), when a modified script goes to its file, and
// when a script's file counts as changed by another program.
#include "common/file_descriptor.h"
#include "recovery/recovery_folder.h"
#include "recovery/recovery_schedule.h"
#include "recovery/recovery_slot.h"
#include "recovery/recovery_writer.h"
#include "recovery/watched_file.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::string_literals;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// A fresh recovery folder per test.
std::string NewFolder() {
    static int s_nFolders = 0;
    return test_env::TempPath("recovery" + std::to_string(++s_nFolders));
}

std::set<std::string> NamesIn(const std::string& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) names.insert(entry.path().filename().string());
    return names;
}

std::optional<CRecoveryRecord> ReadRecord(const std::string& path) {
    return CRecoveryRecord::Decode(test_env::ReadFile(path));
}

bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i) std::this_thread::sleep_for(5ms);
    return done();
}

// A process id that no process has (one that has just ended).
pid_t GonePid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

TEST(RecoveryRecordTest, EveryByteComesBackAndDamageIsRefused) {
    const CRecoveryRecord records[] = {
        {"", "", 0},
        {"select 1;\r\nselect '\0\xff\xfe';\rx\n"s, "/tmp/a b\nc.sql", 1700000000},
        {"text 3\nabc", "path 0\n", -5},
    };
    const auto fields = [](const CRecoveryRecord& r) { return std::tie(r.text, r.documentPath, r.time); };
    for (const CRecoveryRecord& record : records) {
        SCOPED_TRACE(record.text);
        const std::string bytes = record.Encode();
        const auto back = CRecoveryRecord::Decode(bytes);
        ASSERT_TRUE(back);
        EXPECT_EQ(fields(*back), fields(record));
        // Cut anywhere, or with a byte more, it is no record.
        for (std::size_t length = 0; length < bytes.size(); ++length)
            EXPECT_FALSE(CRecoveryRecord::Decode(bytes.substr(0, length))) << length;
        EXPECT_FALSE(CRecoveryRecord::Decode(bytes + "x"));
    }
}

TEST(RecoveryRecordTest, QuestionGivesTheLocalTimeAndTheLines) {
    std::tm local{};
    strptime("2024-03-05 14:32", "%Y-%m-%d %H:%M", &local);
    local.tm_isdst = -1;
    const std::int64_t time = std::mktime(&local);
    const std::pair<std::string, std::string> cases[] = {  // the text, and its lines
        {"", "0 lines"},       {"select 1", "1 line"},   {"a\nb\n", "2 lines"},
        {"a\r\nb\rc", "3 lines"}, {"\n\n\n", "3 lines"}, {"a\r", "1 line"},
    };
    const std::string question = "Tarnwell was closed before it could save your script. Recover the unsaved script from ";
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(CRecoveryRecord({text, "", time}).Question(), question + "14:32 (" + lines + ")?") << text;
}

TEST(RecoverySlotTest, WritesReplaceTheRecordWholeAndLeaveNothingElse) {
    const std::string folder = NewFolder() + "/state/recovery";
    CRecoverySlot slot(folder);
    const CRecoveryRecord first{"first\0text"s, "", 1}, second{std::string(1 << 20, 'x'), "/s.sql", 2};
    slot.Write(first, slot.Generation());
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    // A reader of the old record keeps it whole while the new one takes its place.
    CFileDescriptor old(::open(slot.DataPath().c_str(), O_RDONLY));
    slot.Write(second, slot.Generation());
    char buffer[64] = {};
    EXPECT_EQ(std::string(buffer, ::read(old.Get(), buffer, sizeof buffer)), first.Encode());
    EXPECT_EQ(ReadRecord(slot.DataPath())->text, second.text);
    EXPECT_EQ(NamesIn(folder), (std::set<std::string>{slot.Id() + ".script", slot.Id() + ".lock"}));

    // A write whose text was taken before a removal does not bring the file back.
    const std::uint64_t before = slot.Generation();
    slot.Remove();
    slot.Write(first, before);
    EXPECT_EQ(NamesIn(folder), std::set<std::string>{slot.Id() + ".lock"});

    // A folder that cannot be made fails the write.
    CRecoverySlot blocked(test_env::WriteFile(NewFolder(), "a file") + "/recovery");
    EXPECT_ANY_THROW(blocked.Write({"text", "", 1}, blocked.Generation()));
}

// Left over: a record whose lock nobody holds, whose lock names a process
// that is gone, or that has no lock file. Live: a lock held by a running
// process (this one).
TEST(RecoveryFolderTest, FindsTheRecordsOfGoneWindowsNewestFirst) {
    const std::string folder = NewFolder();
    CRecoverySlot live(folder);
    live.Write({"live", "", 50}, live.Generation());
    const CRecoveryFolder recovery(folder);
    // lockPid: "" for no lock file
    const struct { std::string id; std::int64_t time; std::string lockPid; bool held; } windows[] = {
        {"unlocked", 20, std::to_string(getpid()), false}, {"gone", 30, std::to_string(GonePid()), true},
        {"nolock", 10, "", false},
    };
    std::vector<std::unique_ptr<CFileDescriptor>> held;
    for (const auto& w : windows) {
        test_env::WriteFile(recovery.DataPath(w.id), CRecoveryRecord{w.id, "", w.time}.Encode());
        if (w.lockPid.empty()) continue;
        test_env::WriteFile(recovery.LockPath(w.id), w.lockPid + "\n");
        held.push_back(std::make_unique<CFileDescriptor>(::open(recovery.LockPath(w.id).c_str(), O_RDONLY)));
        if (w.held) {
            ASSERT_EQ(::flock(held.back()->Get(), LOCK_EX | LOCK_NB), 0);
        }
    }
    // Not records: a damaged one stays; a lock without a record, and the
    // temporary file of a gone window, go.
    test_env::WriteFile(recovery.DataPath("damaged"), "TarnwellRecovery 1\ntime 1\n");
    test_env::WriteFile(recovery.LockPath("debris"), "1\n");
    test_env::WriteFile(folder + "/debris.tmp-abcdef", "half");

    std::vector<std::string> found;
    for (const auto& leftOver : recovery.FindLeftOvers()) {
        EXPECT_EQ(leftOver.record.text, leftOver.id);
        found.push_back(leftOver.id);
    }
    EXPECT_EQ(found, (std::vector<std::string>{"gone", "unlocked", "nolock"}));
    EXPECT_TRUE(fs::exists(recovery.DataPath("damaged")));
    EXPECT_FALSE(fs::exists(recovery.LockPath("debris")));
    EXPECT_FALSE(fs::exists(folder + "/debris.tmp-abcdef"));

    recovery.Discard("gone");
    EXPECT_FALSE(fs::exists(recovery.DataPath("gone")) || fs::exists(recovery.LockPath("gone")));
    EXPECT_TRUE(fs::exists(live.DataPath()));
}

TEST(RecoveryWriterTest, WritesOffTheCallersThreadAndRemovesAtTheEnd) {
    const std::string folder = NewFolder();
    std::string path;
    {
        CRecoveryWriter writer(folder, {});
        path = writer.Slot().DataPath();
        for (int i = 1; i <= 20; ++i) writer.Write({"text " + std::to_string(i), "/a.sql", i});
        // The newest text wins.
        ASSERT_TRUE(WaitFor([&] {
            const auto record = ReadRecord(path);
            return record && record->text == "text 20";
        }));
        writer.Remove();
        EXPECT_FALSE(fs::exists(path));
        writer.Write({"again", "", 21});
        ASSERT_TRUE(WaitFor([&] { return fs::exists(path); }));
    }
    EXPECT_EQ(NamesIn(folder), std::set<std::string>());

    // A write that fails is reported, naming the folder.
    std::atomic<int> failures = 0;
    CRecoveryWriter blocked(test_env::WriteFile(NewFolder(), "a file") + "/recovery", [&](const std::string& message) {
        EXPECT_NE(message.find("/recovery"), std::string::npos) << message;
        ++failures;
    });
    blocked.Write({"text", "", 1});
    EXPECT_TRUE(WaitFor([&] { return failures > 0; }));
}

TEST(RecoveryScheduleTest, LooksAtMostEveryFiveSecondsAndWritesOnlyChanges) {
    const CRecoverySchedule::Clock::time_point start{};
    // text: looked at when due
    const struct { std::chrono::milliseconds at; const char* text; bool due, write; } steps[] = {
        {0ms, "a", true, true},                                           // the first look writes at once
        {1000ms, "ab", false, false}, {4999ms, "ab", false, false},       // too soon
        {5000ms, "ab", true, true}, {10000ms, "ab", true, false},         // unchanged: nothing to write
        {12000ms, "abc", false, false}, {15000ms, "abc", true, true},     // the clock runs from the last look
        {16000ms, nullptr, false, false}, {16500ms, "abcd", true, true},  // Reset (saved): a change goes at once
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
    const struct { const char* what; std::function<void()> change; bool changed; } cases[] = {
        {"nothing", [] {}, false},
        {"time set back", [&] { SetModified(path, 1); }, false},
        {"time, nanoseconds", [&] { SetModified(path, 2); }, true},
        {"size", [&] { test_env::WriteFile(path, "select 22"); SetModified(path, 1); }, true},
        {"replaced, same size and time",
         [&] {
             test_env::WriteFile(other, "select 2");
             SetModified(other, 1);
             fs::rename(other, path);
         },
         true},
        {"removed", [&] { fs::remove(path); }, true},
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
        const bool offer = c.changed && fs::exists(path);
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
