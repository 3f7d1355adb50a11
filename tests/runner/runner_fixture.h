#pragma once

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <ostream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

using Args = std::vector<std::string>;

struct DataSource {
    std::string dsn, user, password;
};

inline DataSource Sqlite() { return {test_env::SqliteDsn(), "", ""}; }
inline DataSource Postgres() { return {test_env::PgDsn(), test_env::PgUser(), test_env::PgPassword()}; }

// Whether the harness started PostgreSQL (a failure when it must have).
inline bool HavePostgres() {
    if (!test_env::HavePostgres() && test_env::PostgresRequired()) ADD_FAILURE() << "no PostgreSQL server";
    return test_env::HavePostgres();
}

// SQLite, and PostgreSQL when it is there.
inline std::vector<DataSource> Sources() {
    std::vector<DataSource> sources = {Sqlite()};
    if (HavePostgres()) sources.push_back(Postgres());
    return sources;
}

struct ChildResult {
    int status;  // -1 when the child did not exit normally, or not in time
    std::string out, err;
    bool operator==(const ChildResult&) const = default;
};

inline void PrintTo(const ChildResult& r, std::ostream* os) {
    *os << "status " << r.status << ", out " << testing::PrintToString(r.out) << ", err "
        << testing::PrintToString(r.err);
}

struct Child {
    pid_t pid;  // the shell, which becomes the last command word by exec
    std::string base;
};

// tarnwell-run as its users run it: a child process with files, standard
// input, environment, and settings and state folders of its own (one per
// test, so settings and history never leak between tests).
class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = test_env::TempDir() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(m_dir + "/config");
    }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    void StoreSettings(const std::string& lines) const {
        std::filesystem::create_directories(Path("config/Tarnwell"));
        test_env::WriteFile(Path("config/Tarnwell/Tarnwell.conf"), "[Settings]\n" + lines);
    }

    // Starts the command words in the test's folder, in a session of its own
    // (no controlling terminal, so no password prompt can wait on one), with
    // standard input from the given bytes; redirection is shell text applied
    // after the standard ones. Both outputs go to files: no pipe can fill up.
    Child StartChild(const Args& words, const std::string& input, const std::string& redirection = {}) const {
        static int runs = 0;
        const std::string base = m_dir + "/child" + std::to_string(++runs);
        test_env::WriteFile(base + ".in", input);
        std::string command = "cd " + Quoted(m_dir) + " && exec setsid -w";
        for (const std::string& word : words) command += " " + Quoted(word);
        command += " <" + Quoted(base + ".in") + " >" + Quoted(base + ".out") + " 2>" + Quoted(base + ".err") + " " +
                   redirection;
        const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
        pid_t pid = -1;
        EXPECT_EQ(posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
        return {pid, base};
    }

    // Waits for the child to end, killing it after the time allowed.
    static ChildResult FinishChild(const Child& child, std::chrono::seconds allowed = std::chrono::seconds(300)) {
        const auto deadline = std::chrono::steady_clock::now() + allowed;
        int status = 0;
        while (waitpid(child.pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(child.pid, SIGKILL);
                waitpid(child.pid, &status, 0);
                ADD_FAILURE() << "the child did not end in " << allowed.count() << " s";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test_env::ReadFile(child.base + ".out"),
                test_env::ReadFile(child.base + ".err")};
    }

    // tarnwell-run with TARNWELL_PASSWORD set to password, or unset.
    Child Start(const Args& args, const std::string& input = {},
                const std::optional<std::string>& password = std::nullopt, const std::string& redirection = {}) const {
        Args words = {"env", "-u", "TARNWELL_PASSWORD", "XDG_CONFIG_HOME=" + Path("config"),
                      "XDG_STATE_HOME=" + Path("state")};
        if (password) words.push_back("TARNWELL_PASSWORD=" + *password);
        words.push_back(TARNWELL_RUN_PATH);
        words.insert(words.end(), args.begin(), args.end());
        return StartChild(words, input, redirection);
    }
    ChildResult Run(const Args& args, const std::string& input = {},
                    const std::optional<std::string>& password = std::nullopt, const std::string& redirection = {}) const {
        return FinishChild(Start(args, input, password, redirection));
    }
    // On source: its name, user name and password.
    Child StartOn(const DataSource& source, Args args, const std::string& input = {},
                  const std::string& redirection = {}) const {
        args.insert(args.begin(), {"--dsn", source.dsn, "--user", source.user});
        return Start(args, input, source.password, redirection);
    }
    ChildResult RunOn(const DataSource& source, const Args& args, const std::string& input = {},
                      const std::string& redirection = {}) const {
        return FinishChild(StartOn(source, args, input, redirection));
    }

private:
    static std::string Quoted(const std::string& word) {
        std::string quoted = "'";
        for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted + "'";
    }

    std::string m_dir;
};
