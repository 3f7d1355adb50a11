#include "exec/worker_run.h"
#include "exec/worker_script_run.h"
#include "run_fixture.h"
#include "support/case_name.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// Joins neighbouring "append:" events: the worker hands appends over in
// larger pieces, which is the one difference a run on it may make.
std::vector<std::string> JoinAppends(const std::vector<std::string>& events) {
    std::vector<std::string> joined;
    for (const std::string& event : events) {
        if (event.starts_with("append:") && !joined.empty() && joined.back().starts_with("append:"))
            joined.back() += event.substr(7);
        else
            joined.push_back(event);
    }
    return joined;
}

// An output that notes on which thread every append arrived and, when asked,
// lingers over each piece so that the job runs ahead of it.
class CThreadCheckingSink : public COutputSink {
public:
    void AppendText(std::string_view text) override {
        if (std::this_thread::get_id() != m_owner) ++m_nForeignCalls;
        m_strText.append(text);
        m_nReceived += text.size();
        if (m_bLinger) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    int WrapWidth() const override {
        if (std::this_thread::get_id() != m_owner) ++m_nForeignCalls;
        return 42;
    }

    std::thread::id m_owner = std::this_thread::get_id();
    mutable int m_nForeignCalls = 0;
    std::string m_strText;
    std::atomic<std::size_t> m_nReceived{0};
    bool m_bLinger = false;
};

// What action threw, or "" when it returned.
std::string Caught(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::runtime_error& failure) {
        return failure.what();
    }
    return {};
}

// A job faster than the output (which lingers over each piece): everything
// arrives in order on the calling thread, posted calls between the appends
// around them, and the job waits instead of piling up text.
TEST(WorkerRunTest, EverythingHandedOverArrivesInOrderOnTheCallingThread) {
    CThreadCheckingSink sink;
    sink.m_bLinger = true;
    CWorkerRun run(sink);
    std::string expected;
    std::thread::id jobThread;
    int width = 0;
    std::size_t mostAhead = 0;
    run.Run([&] {
        jobThread = std::this_thread::get_id();
        for (int i = 0; i < 60000; ++i) {
            const std::string row = std::to_string(i) + std::string(1000, 'x') + "\r\n";
            run.Append(row);
            expected += row;
            mostAhead = std::max(mostAhead, expected.size() - sink.m_nReceived.load());
            if (i % 15000 == 0) {
                run.Post([&sink, i] { sink.m_strText += "<" + std::to_string(i) + ">"; });
                expected += "<" + std::to_string(i) + ">";
            }
        }
        width = run.WrapWidth();
    });
    EXPECT_NE(jobThread, sink.m_owner);
    EXPECT_EQ(std::tie(sink.m_nForeignCalls, width), std::tuple(0, 42));
    EXPECT_TRUE(sink.m_strText == expected);
    // Sixteen pieces of about 1 MB queued, one being collected and one being
    // appended; far less than the 60 MB sent.
    EXPECT_LT(mostAhead, std::size_t{20} << 20);
}

// Pumped from the window thread, text shows while the job still collects it
// and waits (for a driver, say), and calls wake the window.
TEST(WorkerRunTest, APumpTakesTheTextTheJobIsStillCollecting) {
    CThreadCheckingSink sink;
    std::atomic<int> wakes{0};
    CWorkerRun run(sink, [&] { ++wakes; });
    std::atomic<bool> release{false};
    run.Start([&] {
        run.Append("SQL> select pg_sleep(60)");
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        run.Append("\r\nok\r\n");
        EXPECT_EQ(run.WrapWidth(), 42);
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (sink.m_strText.empty() && std::chrono::steady_clock::now() < deadline) EXPECT_FALSE(run.Pump());
    EXPECT_EQ(sink.m_strText, "SQL> select pg_sleep(60)");
    release = true;
    while (!run.Pump() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    run.Finish();
    EXPECT_EQ(std::tie(sink.m_strText, sink.m_nForeignCalls), std::tuple("SQL> select pg_sleep(60)\r\nok\r\n", 0));
    EXPECT_GE(wakes, 2);   // the call, and the end
}

// The window thread leaves without pumping (out of memory, say): the job,
// waiting for room in the queue, is let go instead of waiting for ever.
TEST(WorkerRunTest, AJobWaitingForAWindowThatLeftIsLetGo) {
    CThreadCheckingSink sink;
    std::atomic<bool> failed{false};
    {
        CWorkerRun run(sink);
        run.Start([&] {
            failed = !Caught([&] { for (int i = 0; i < 64; ++i) run.Append(std::string(std::size_t{1} << 20, 'x')); }).empty();
        });
    }
    EXPECT_TRUE(failed);
    EXPECT_TRUE(sink.m_strText.empty());
}

TEST(WorkerRunTest, FailuresTravelLikeInAPlainCall) {
    const auto postFailure = [](CWorkerRun& run) { run.Post([] { throw std::runtime_error("posted"); }); };
    const struct {
        const char* name;
        std::function<void(CWorkerRun&, std::string& caught)> job;
        std::string output;     // what reached the output
        std::string caught;     // what the job caught
        std::string rethrown;   // what Run threw
    } cases[] = {
        {"JobFailureComesOutAfterItsAppends",
         [](CWorkerRun& run, std::string&) {
             run.Append("before");
             throw std::runtime_error("job");
         }, "before", "", "job"},
        // The job cannot tell when the window thread gets to a posted call: a
        // Call waits until it has.
        {"PostedFailureReachesTheJobAtItsNextAppend",
         [&](CWorkerRun& run, std::string& caught) {
             postFailure(run);
             caught = Caught([&] { run.Call([] {}); run.Append("not reached"); });
             run.Append("after");
         }, "after", "posted", ""},
        {"PostedFailureTheJobNeverSawComesOutOfRun",
         [&](CWorkerRun& run, std::string&) {
             run.Append("text");
             postFailure(run);
         }, "text", "", "posted"},
        {"CallFailureGoesToTheJob",
         [](CWorkerRun& run, std::string& caught) {
             caught = Caught([&] { run.Call([] { throw std::runtime_error("call"); }); });
             run.Append("on");
         }, "on", "call", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CThreadCheckingSink sink;
        CWorkerRun run(sink);
        std::string caught;
        EXPECT_EQ(Caught([&] { run.Run([&] { c.job(run, caught); }); }), c.rethrown);
        EXPECT_EQ(std::tie(sink.m_strText, caught), std::tie(c.output, c.caught));
    }
}

// A whole run on the worker against SQLite gives the output and the host
// exactly what the plain run gives them, spool file and history included.
struct ScriptCase { const char* name; std::string script; int enableOutput; };

const ScriptCase kScripts[] = {
    {"Verbose", "create table t(a int, b varchar(10));insert into t values(1, 'one');;select * from nosuch;"
                "select a, b, a * 2 as c from t", 1},
    {"Quiet", "create table t(a int);select * from nosuch;select 1 as x", 0},
    // Far more output than the worker keeps queued.
    {"LargeResult",
     "create table n(i integer);"
     "insert into n with recursive s(i) as (select 1 union all select i + 1 from s where i < 200000) select i from s;"
     "select i, printf('%090d', i) as wide from n", 1},
};

class WorkerScriptRunTest : public RunFixture, public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(WorkerScriptRunTest, SameTranscriptAndCallsAsThePlainRun) {
    m_settings.EnableOutput = GetParam().enableOutput;
    m_settings.EnableSpool = 1;
    // The events, the spool file, and the summary's statements and failures.
    std::tuple<std::vector<std::string>, std::string, int, int> outcomes[2];
    for (int onWorker = 0; onWorker < 2; ++onWorker) {
        const std::string name = std::string("Worker") + GetParam().name + std::to_string(onWorker);
        m_connection.Connect(test_env::NewSqliteDsn(name), "", "");
        m_settings.SpoolFile = test_env::TempPath(name + ".txt");
        m_events.clear();
        CTextStatementSource source(GetParam().script);
        const auto onTheWorker = [&] {
            CWorkerScriptRun run(m_connection, m_history, m_output, m_host, source, m_settings);
            run.SetRecorder(&m_recorded);
            return run.Run();
        };
        const RunSummary summary = onWorker ? onTheWorker() : m_runner.Run(source, m_settings);
        outcomes[onWorker] = {JoinAppends(m_events), test_env::ReadFile(m_settings.SpoolFile), summary.statements,
                              summary.failures};
        m_connection.Disconnect();
    }
    EXPECT_EQ(outcomes[1], outcomes[0]);
    EXPECT_GT(std::get<2>(outcomes[0]) + std::get<3>(outcomes[0]), 1);
    ASSERT_EQ(m_history.Size(), 2u);
    EXPECT_EQ(m_history.Entry(1), GetParam().script);
    // The worker records its run as the plain run does.
    ASSERT_EQ(m_recorded.records.size(), 2u);
    const HistoryRecord& record = m_recorded.records[1];
    EXPECT_EQ(std::tie(record.script, record.dataSource, record.failures),
              std::tuple(GetParam().script, std::string("Worker") + GetParam().name + "1", std::get<3>(outcomes[1])));
}

INSTANTIATE_TEST_SUITE_P(Sqlite, WorkerScriptRunTest, ::testing::ValuesIn(kScripts), CaseName<ScriptCase>);

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

// The address space this process has reserved now, in bytes.
std::size_t AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// A host whose first call holds the window thread back for a second, as a
// busy pane does, so the job runs ahead as far as the hand-over lets it.
class CSlowStartHost : public CRecordingHost {
public:
    using CRecordingHost::CRecordingHost;
    void SetStatusText(const std::string& text) override {
        if (!std::exchange(m_bHeld, true)) std::this_thread::sleep_for(std::chrono::seconds(1));
        CRecordingHost::SetStatusText(text);
    }

private:
    bool m_bHeld = false;
};

// tail: how the output ends ("": it may end in "Out of memory."); headroom:
// MB of address space beyond what the process uses.
struct LimitCase { const char* name; std::string script, tail; rlim_t headroom; };

std::string Repeated(const std::string& statement, int times) {
    std::string script;
    while (times-- > 0) script += statement;
    return script;
}

const LimitCase kLimitCases[] = {
    // Each small statement posts calls and a small piece of text: the queue
    // must count what those really hold.
    {"ManySmallStatements", Repeated("select 1 as a;\n", 25000), "1 row(s) fetched\r\n", 300},
    // More output than the address space holds: the run ends in "Out of
    // memory." or with std::bad_alloc, never by terminating the process.
    {"MoreOutputThanMemory",
     Repeated("with recursive c(x) as (select 1 union all select x + 1 from c where x < 500) "
              "select x, printf('%.90c', 'y') as wide from c;\n", 2000), "", 150},
};

class WorkerMemoryLimitTest : public RunFixture, public ::testing::WithParamInterface<LimitCase> {};

// In a child process whose address space is limited to what it uses now and
// a little more, the run ends normally.
TEST_P(WorkerMemoryLimitTest, ARunStaysWithinALoweredAddressSpace) {
    m_connection.Connect(test_env::NewSqliteDsn(std::string("Limit") + GetParam().name), "", "");
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        alarm(120);   // a run that never ends (a worker left waiting for room) fails as well
        const rlim_t limit = AddressSpaceInUse() + (GetParam().headroom << 20);
        const rlimit lowered{limit, limit};
        if (setrlimit(RLIMIT_AS, &lowered) != 0) _exit(10);
        CSlowStartHost host(m_events);
        CTextStatementSource source(GetParam().script);
        try {
            RunScriptOnWorker(m_connection, m_history, m_output, host, source, m_settings);
        } catch (const std::bad_alloc&) {
            _exit(GetParam().tail.empty() ? 0 : 11);
        }
        const std::string& text = m_output.Text();
        if (GetParam().tail.empty()) _exit(text.find("Out of memory.") != std::string::npos ? 0 : 12);
        _exit(text.ends_with(GetParam().tail) ? 0 : 13);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

INSTANTIATE_TEST_SUITE_P(Limit, WorkerMemoryLimitTest, ::testing::ValuesIn(kLimitCases), CaseName<LimitCase>);

#endif

}  // namespace
