// The durable history: what goes in comes back, the limit, two processes
// writing at once, damaged and unwritable files, the full-text search and
// the session's list filled from it.
#include "history/history_file.h"
#include "history/history_list.h"
#include "history/history_search.h"
#include "history/history_store.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

// A fresh folder for one test, under the test process's own.
std::string Folder() {
    const std::string folder = test_env::TempPath(testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

HistoryRecord Entry(std::string script, std::string dataSource = "Sales", std::string user = "ann") {
    return HistoryRecord{.timeMs = 1700000000000, .script = std::move(script), .dataSource = std::move(dataSource),
                         .userName = std::move(user), .statements = 1};
}

std::vector<std::string> Scripts(const std::vector<HistoryRecord>& records) {
    std::vector<std::string> scripts;
    for (const HistoryRecord& record : records) scripts.push_back(record.script);
    return scripts;
}

// Every field but the id, which the store gives.
auto Fields(const HistoryRecord& r) {
    return std::tie(r.script, r.dataSource, r.userName, r.timeMs, r.statements, r.failures, r.cancelled, r.elapsedMs);
}

TEST(HistoryStoreTest, EveryFieldComesBackByteForByte) {
    const std::string path = Folder() + "/history.sqlite";
    const std::vector<HistoryRecord> kept = {
        {.timeMs = 1, .script = "", .dataSource = "", .userName = ""},
        {.timeMs = 1700000000123, .script = "select 1;\r\nselect\0 2;\r"s, .dataSource = "Sales", .userName = "ann",
         .statements = 2, .failures = 1, .cancelled = true, .elapsedMs = 98765},
        {.timeMs = 4102444800000, .script = "select '\xFF\xFE\xC3'\n\xE6\xBC\xA2", .dataSource = "D\xE9mo",
         .userName = "b\0b"s, .statements = 2147483647, .failures = 0, .elapsedMs = 1LL << 40},
    };
    {
        CHistoryStore store(path, 100);
        EXPECT_TRUE(store.OnDisk());
        EXPECT_EQ(store.Message(), "");
        for (const HistoryRecord& record : kept) store.Record(record);
    }
    const std::vector<HistoryRecord> back = CHistoryStore(path, 100).Newest(10);
    ASSERT_EQ(back.size(), kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {  // newest first
        EXPECT_EQ(Fields(back[i]), Fields(kept[kept.size() - 1 - i])) << "entry " << i;
        if (i > 0) {
            EXPECT_LT(back[i].id, back[i - 1].id);
        }
    }
}

// The newest entries stay, also when a later session keeps fewer; the ones
// dropped are gone from the search too.
TEST(HistoryStoreTest, KeepsTheNewestUpToTheLimit) {
    const std::string path = Folder() + "/history.sqlite";
    const struct { int limit, records; std::vector<std::string> newest; } cases[] = {
        {5, 3, {"word 3", "word 2", "word 1"}}, {5, 4, {"word 7", "word 6", "word 5", "word 4", "word 3"}},
        {2, 1, {"word 8", "word 7"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        CHistoryStore store(path, c.limit);
        for (int i = 0; i < c.records; ++i) store.Record(Entry("word " + std::to_string(++n)));
        EXPECT_EQ(Scripts(store.Newest(100)), c.newest);
        EXPECT_EQ(Scripts(store.Search("word")), c.newest);
    }
}

// Two processes, each writing 1,000 entries as fast as it can into one
// file, lose none.
TEST(HistoryStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kEach = 1000;
    const std::string path = Folder() + "/history.sqlite";
    CHistoryStore(path, 10000);   // made before, as a window would have
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    pid_t children[2];
    for (int p = 0; p < 2; ++p) {
        children[p] = fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            close(go[1]);
            char byte;
            (void)!read(go[0], &byte, 1);   // both start when the pipe closes
            int failures = 0;
            CHistoryStore store(path, 10000);
            store.SetFailureHandler([&failures](const std::string&) { ++failures; });
            for (int i = 0; i < kEach; ++i) store.Record(Entry("process " + std::to_string(p) + " entry " + std::to_string(i)));
            _exit(failures == 0 && store.OnDisk() ? 0 : 1);
        }
    }
    close(go[0]);
    close(go[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    const std::vector<std::string> scripts = Scripts(CHistoryStore(path, 10000).Newest(3 * kEach));
    const std::set<std::string> distinct(scripts.begin(), scripts.end());
    EXPECT_EQ(scripts.size(), 2u * kEach);
    EXPECT_EQ(distinct.size(), 2u * kEach);
    EXPECT_TRUE(distinct.count("process 0 entry 999") && distinct.count("process 1 entry 0"));
}

// Bytes that are no database, or a database cut short, are moved aside
// with their bytes as they were, and a new, working store takes their
// place; the status bar's message names the moved file. A good file and
// an empty one are used as they are.
TEST(HistoryStoreTest, DamagedFilesAreMovedAsideAndReplaced) {
    const std::string folder = Folder();
    const std::string path = folder + "/history.sqlite";
    {
        CHistoryStore store(path, 1000);
        for (int i = 0; i < 300; ++i) store.Record(Entry("select " + std::to_string(i) + std::string(400, 'x')));
    }
    const std::string database = test_env::ReadFile(path);
    ASSERT_GT(database.size(), 64u * 1024);
    std::string noise(20000, '\0');
    unsigned seed = 7;
    for (char& c : noise) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);

    const struct { const char* name; std::string bytes; bool damaged; } cases[] = {
        {"garbage", noise, true}, {"text", "select 1;\n", true},
        {"truncated at a page", database.substr(0, database.size() / 2 / 4096 * 4096), true},
        {"truncated inside a page", database.substr(0, database.size() - 1000), true},
        {"header only", database.substr(0, 100), true}, {"good", database, false}, {"empty", "", false},
    };
    const std::regex moved("The history file was damaged; it was moved aside as "
                           "(history\\.sqlite\\.damaged-\\d{8}-\\d{6}(-\\d+)?) and a new one was started\\.");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& file : fs::directory_iterator(folder)) fs::remove(file);
        test_env::WriteFile(path, c.bytes);
        CHistoryStore store(path, 1000);
        EXPECT_TRUE(store.OnDisk());
        std::smatch match;
        const std::string message = store.Message();
        ASSERT_EQ(std::regex_match(message, match, moved), c.damaged) << message;
        if (c.damaged) {
            EXPECT_EQ(test_env::ReadFile(folder + "/" + match[1].str()), c.bytes);
            EXPECT_TRUE(store.Newest(5).empty());
        } else {
            EXPECT_EQ(message, "");
        }
        store.Record(Entry("after"));
        EXPECT_EQ(store.Newest(1).at(0).script, "after");
    }
}

// Where the file cannot be made the history lives in memory, search
// included, with one message; so it does, without one, with a limit of 0.
TEST(HistoryStoreTest, WithoutAFileTheHistoryIsKeptInMemory) {
    const std::string folder = Folder();
    std::vector<std::pair<std::string, int>> paths = {
        {folder + "/off/history.sqlite", 0},
        {test_env::WriteFile(folder + "/plain file", "x") + "/Tarnwell/history.sqlite", 1000}};
    if (geteuid() != 0) {   // root writes into read-only folders
        fs::create_directory(folder + "/read-only");
        chmod((folder + "/read-only").c_str(), 0555);
        paths.emplace_back(folder + "/read-only/history.sqlite", 1000);
    }
    for (const auto& [path, limit] : paths) {
        SCOPED_TRACE(path);
        CHistoryStore store(path, limit);
        EXPECT_FALSE(store.OnDisk());
        EXPECT_EQ(store.Message(), limit == 0 ? "" : "The history folder " + fs::path(path).parent_path().string() +
                                   " cannot be written; the history of this session is kept in memory only.");
        store.Record(Entry("select 1 from memory"));
        EXPECT_EQ(Scripts(store.Search("memory")), std::vector<std::string>{"select 1 from memory"});
        EXPECT_FALSE(fs::exists(path));
    }
    chmod((folder + "/read-only").c_str(), 0755);
}

// Every word must be in the script, the data source or the user name (also
// as the start of a longer word, in any case and without accents); any
// text is a valid query; newest first, at most 500.
TEST(HistoryStoreTest, SearchFindsEveryWordNewestFirst) {
    CHistoryStore store(Folder() + "/history.sqlite", 10000);
    const std::vector<HistoryRecord> entries = {
        Entry("select * from employees where name = 'Café'", "Sales", "ann"),
        Entry("update orders set \"qty\" = 2 -- NEAR(x)", "Stock", "bob"),
        Entry("select count(*) from orders", "Sales", "bob"),
        Entry("delete from archive", "Archive", "carol"),
    };
    for (const HistoryRecord& entry : entries) store.Record(entry);
    const struct { std::string words; std::vector<std::size_t> found; } cases[] = {  // found: entries, newest first
        {"orders", {2, 1}}, {"  ORD  sel ", {2}}, {"sales", {2, 0}}, {"bob orders", {2, 1}}, {"cafe", {0}},
        {"employees carol", {}},
        // Quotes and operators are words like any other.
        {"\"qty\"", {1}}, {"NEAR( x", {1}}, {"orders -count", {2}}, {"(orders", {2, 1}},
        {"orders ) \" * : ^ OR", {2, 1}}, {"\"orders\"*", {2, 1}}, {"*", {}}, {"", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> found;
        for (const std::size_t i : c.found) found.push_back(entries[i].script);
        EXPECT_EQ(Scripts(store.Search(c.words)), found) << c.words;
    }

    for (int i = 0; i < 600; ++i) store.Record(Entry("select many " + std::to_string(i)));
    const std::vector<HistoryRecord> many = store.Search("many");
    ASSERT_EQ(many.size(), CHistoryStore::kMaxFound);
    EXPECT_EQ(many.front().script, "select many 599");
    EXPECT_EQ(many.back().script, "select many 100");
}

// On its worker, a newer query replaces an older one: the last results
// handed over are the newest query's. Runs record meanwhile, on threads of
// their own, as windows' runs do.
TEST(HistoryStoreTest, ANewerSearchReplacesAnOlderOne) {
    CHistoryStore store(Folder() + "/history.sqlite", 10000);
    store.Record(Entry("select alpha"));
    store.Record(Entry("select beta"));
    std::vector<std::jthread> runs;
    for (int t = 0; t < 2; ++t)
        runs.emplace_back([&store, t] {
            for (int i = 0; i < 100; ++i) store.Record(Entry("update gamma " + std::to_string(t * 100 + i)));
        });
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<std::uint64_t, std::vector<std::string>>> handed;
    std::uint64_t last = 0;
    {
        CHistorySearch search(store, [&](std::uint64_t query, std::vector<HistoryRecord> found) {
            const std::lock_guard lock(mutex);
            handed.emplace_back(query, Scripts(found));
            changed.notify_all();
        });
        search.Start("alpha");
        last = search.Start("beta");
        std::unique_lock lock(mutex);  // let go before the search ends
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(30),
                                     [&] { return !handed.empty() && handed.back().first == last; }));
    }
    for (std::jthread& run : runs) run.join();
    EXPECT_EQ(store.Search("gamma").size(), 200u);
    const std::lock_guard lock(mutex);
    ASSERT_LE(handed.size(), 2u);
    EXPECT_EQ(handed.back(), std::make_pair(last, std::vector<std::string>{"select beta"}));
    if (handed.size() == 2) {
        EXPECT_EQ(handed.front().second, std::vector<std::string>{"select alpha"});
    }
}

// At start the session's list holds the newest 21 entries, oldest first,
// and Previous script brings back the newest.
TEST(HistoryStoreTest, FillsTheSessionListWithTheNewest) {
    CHistoryStore store(Folder() + "/history.sqlite", 10000);
    CHistoryList list;
    store.Fill(list);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_FALSE(list.CanGoPrevious());
    for (int i = 1; i <= 25; ++i) store.Record(Entry("script " + std::to_string(i)));
    store.Fill(list);
    ASSERT_EQ(list.Size(), 21u);
    EXPECT_EQ(list.Entry(0), "script 5");
    EXPECT_EQ(list.Entry(20), "script 25");
    EXPECT_FALSE(list.CanGoNext());
    EXPECT_EQ(list.GoPrevious(), "script 25");
    EXPECT_EQ(list.GoPrevious(), "script 24");
    list.Append("script 26");
    EXPECT_EQ(list.Size(), 21u);
    EXPECT_EQ(list.Current(), "script 26");
}

TEST(HistoryStoreTest, DefaultPathFollowsXdgStateHome) {
    const std::string saved = std::getenv("XDG_STATE_HOME");  // the test's own
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const std::pair<const char*, std::string> cases[] = {  // nullptr: unset
        {"/var/state", "/var/state/Tarnwell/history.sqlite"},
        {nullptr, home + "/.local/state/Tarnwell/history.sqlite"},
        {"", home + "/.local/state/Tarnwell/history.sqlite"},
        {"relative/state", home + "/.local/state/Tarnwell/history.sqlite"},
    };
    for (const auto& [value, path] : cases) {
        value ? setenv("XDG_STATE_HOME", value, 1) : unsetenv("XDG_STATE_HOME");
        EXPECT_EQ(history_file::DefaultPath(), path) << (value ? value : "unset");
    }
    setenv("XDG_STATE_HOME", saved.c_str(), 1);
}

TEST(HistoryStoreTest, AFoundEntrysLineShowsTimeDataSourceAndFirstLine) {
    setenv("TZ", "UTC", 1);
    tzset();
    HistoryRecord record = Entry("select 1\r\nfrom dual", "Sales");
    record.timeMs = 1700000000999;   // 2023-11-14 22:13:20.999 UTC
    EXPECT_EQ(record.ListLine(), "2023-11-14 22:13  Sales  select 1");
    record.script = std::string(150, 'x');
    EXPECT_EQ(record.ListLine(), "2023-11-14 22:13  Sales  " + std::string(99, 'x'));
}

}  // namespace
