#include "runner/run_options.h"
#include "runner/usage_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

TEST(RunOptions, ParsesEveryOptionInBothForms) {
    const CRunOptions o = CRunOptions::Parse({"--dsn", "Demo", "--user=scott", "--spool", "out.txt", "--quiet",
                                              "--remove-comments", "--max-col-len=40", "--def-col-len", "7",
                                              "--width", "132", "--lf", "--stop-on-error", "a.sql", "-", "b.sql"});
    EXPECT_EQ(o.action, CRunOptions::Action::kRun);
    EXPECT_EQ(o.dataSource, "Demo");
    EXPECT_EQ(o.userName, "scott");
    EXPECT_EQ(o.spoolFile, "out.txt");
    EXPECT_EQ(o.enableSpool, 1);
    EXPECT_EQ(o.enableOutput, 0);
    EXPECT_EQ(o.removeComments, 1);
    EXPECT_EQ(o.maxColLen, 40);
    EXPECT_EQ(o.defColLen, 7);
    EXPECT_EQ(o.wrapWidth, 132);
    EXPECT_TRUE(o.lfLineEnds);
    EXPECT_TRUE(o.stopOnError);
    EXPECT_EQ(o.ScriptPaths(), (Args{"a.sql", "-", "b.sql"}));
    EXPECT_TRUE(o.ReadsStandardInput());
}

TEST(RunOptions, DefaultsLeaveTheStoredSettingsAlone) {
    const CRunOptions o = CRunOptions::Parse({"--dsn=Demo"});
    EXPECT_EQ(o.userName, "");
    EXPECT_EQ(o.wrapWidth, 80);
    EXPECT_FALSE(o.lfLineEnds);
    EXPECT_FALSE(o.stopOnError);
    EXPECT_EQ(o.ScriptPaths(), Args{"-"});
    EXPECT_TRUE(o.ReadsStandardInput());

    CSettingsRecord settings;
    settings.DefColLen = 3;
    settings.MaxColLen = 33;
    settings.EnableSpool = 1;
    settings.SpoolFile = "keep.txt";
    settings.EnableOutput = 0;
    settings.RemoveComments = 1;
    const CSettingsRecord before = settings;
    o.ApplyTo(settings);
    EXPECT_EQ(settings.DefColLen, before.DefColLen);
    EXPECT_EQ(settings.MaxColLen, before.MaxColLen);
    EXPECT_EQ(settings.EnableSpool, before.EnableSpool);
    EXPECT_EQ(settings.SpoolFile, before.SpoolFile);
    EXPECT_EQ(settings.EnableOutput, before.EnableOutput);
    EXPECT_EQ(settings.RemoveComments, before.RemoveComments);
}

// Each case: the options after --dsn X, and the settings they leave
// (DefColLen, MaxColLen, EnableSpool, SpoolFile, EnableOutput, RemoveComments),
// starting from 10, 100, 0, "output.txt", 1, 0.
struct OverrideCase {
    Args args;
    int defColLen, maxColLen, enableSpool;
    std::string spoolFile;
    int enableOutput, removeComments;
};

TEST(RunOptions, OverridesReplaceOnlyWhatWasGivenAndTheLastOneWins) {
    const std::vector<OverrideCase> cases = {
        {{}, 10, 100, 0, "output.txt", 1, 0},
        {{"--spool", "s.txt"}, 10, 100, 1, "s.txt", 1, 0},
        {{"--spool", "s.txt", "--no-spool"}, 10, 100, 0, "s.txt", 1, 0},
        {{"--no-spool", "--spool=t.txt"}, 10, 100, 1, "t.txt", 1, 0},
        {{"--quiet"}, 10, 100, 0, "output.txt", 0, 0},
        {{"--quiet", "--output"}, 10, 100, 0, "output.txt", 1, 0},
        {{"--enable-output=0"}, 10, 100, 0, "output.txt", 0, 0},
        {{"--enable-output", "1", "--quiet", "--enable-output=1"}, 10, 100, 0, "output.txt", 1, 0},
        {{"--remove-comments"}, 10, 100, 0, "output.txt", 1, 1},
        {{"--remove-comments", "--keep-comments"}, 10, 100, 0, "output.txt", 1, 0},
        {{"--max-col-len", "1", "--def-col-len", "1000"}, 1000, 1, 0, "output.txt", 1, 0},
        {{"--max-col-len=1000", "--max-col-len=20"}, 10, 20, 0, "output.txt", 1, 0},
    };
    for (const OverrideCase& c : cases) {
        Args args = {"--dsn", "X"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        CSettingsRecord settings;
        settings.DefColLen = 10;
        settings.MaxColLen = 100;
        settings.SpoolFile = "output.txt";
        settings.EnableOutput = 1;
        CRunOptions::Parse(args).ApplyTo(settings);
        const std::string label = ::testing::PrintToString(c.args);
        EXPECT_EQ(settings.DefColLen, c.defColLen) << label;
        EXPECT_EQ(settings.MaxColLen, c.maxColLen) << label;
        EXPECT_EQ(settings.EnableSpool, c.enableSpool) << label;
        EXPECT_EQ(settings.SpoolFile, c.spoolFile) << label;
        EXPECT_EQ(settings.EnableOutput, c.enableOutput) << label;
        EXPECT_EQ(settings.RemoveComments, c.removeComments) << label;
    }
}

TEST(RunOptions, FilesAfterDoubleDashAndTheLoneDash) {
    const CRunOptions o = CRunOptions::Parse({"--dsn", "X", "--", "--lf", "-", "-x"});
    EXPECT_FALSE(o.lfLineEnds);
    EXPECT_EQ(o.ScriptPaths(), (Args{"--lf", "-", "-x"}));

    const CRunOptions named = CRunOptions::Parse({"a.sql", "--dsn", "X", "b.sql"});
    EXPECT_EQ(named.ScriptPaths(), (Args{"a.sql", "b.sql"}));
    EXPECT_FALSE(named.ReadsStandardInput());
}

TEST(RunOptions, HelpAndVersionNeedNoDataSource) {
    EXPECT_EQ(CRunOptions::Parse({"--help"}).action, CRunOptions::Action::kHelp);
    EXPECT_EQ(CRunOptions::Parse({"-h", "--bogus"}).action, CRunOptions::Action::kHelp);
    EXPECT_EQ(CRunOptions::Parse({"--dsn", "X", "--version"}).action, CRunOptions::Action::kVersion);
    EXPECT_EQ(CRunOptions::VersionText(), "tarnwell-run 0.6.1\n");
    const std::string help = CRunOptions::HelpText();
    for (const char* mention : {"--dsn", "--spool", "--lf", "--width", "TARNWELL_PASSWORD", "/dev/tty", "Exit status"})
        EXPECT_NE(help.find(mention), std::string::npos) << mention;
}

struct BadCase {
    Args args;
    std::string message;
};

TEST(RunOptions, BadCommandLinesGiveOneLineMessages) {
    const std::vector<BadCase> cases = {
        {{}, "missing --dsn NAME, the data source to connect to"},
        {{"a.sql"}, "missing --dsn NAME, the data source to connect to"},
        {{"--dsn"}, "option '--dsn' needs a value"},
        {{"--dsn", "--user", "u"}, "option '--dsn' needs a value"},
        {{"--dsn="}, "option '--dsn' needs a non-empty value"},
        {{"--dsn", "X", "--bogus"}, "unknown option '--bogus'"},
        {{"--dsn", "X", "--bogus=1"}, "unknown option '--bogus'"},
        {{"--dsn", "X", "-q"}, "unknown option '-q'"},
        {{"--dsn", "X", "--lf=1"}, "option '--lf' takes no value"},
        {{"--dsn", "X", "--spool="}, "option '--spool' needs a non-empty value"},
        {{"--dsn", "X", "--width"}, "option '--width' needs a value"},
        {{"--dsn", "X", "--width", "wide"}, "option '--width' needs a whole number, not 'wide'"},
        {{"--dsn", "X", "--width", "12x"}, "option '--width' needs a whole number, not '12x'"},
        {{"--dsn", "X", "--width", " 12"}, "option '--width' needs a whole number, not ' 12'"},
        {{"--dsn", "X", "--width=0"}, "option '--width' must be between 1 and 100000, not 0"},
        {{"--dsn", "X", "--width", "-5"}, "option '--width' must be between 1 and 100000, not -5"},
        {{"--dsn", "X", "--max-col-len", "0"}, "option '--max-col-len' must be between 1 and 1000, not 0"},
        {{"--dsn", "X", "--max-col-len", "1001"}, "option '--max-col-len' must be between 1 and 1000, not 1001"},
        {{"--dsn", "X", "--def-col-len=99999999999999999999"},
         "option '--def-col-len' must be between 1 and 1000, not 99999999999999999999"},
        {{"--dsn", "X", "--def-col-len="}, "option '--def-col-len' needs a whole number, not ''"},
        {{"--dsn", "X", "--enable-output=yes"}, "option '--enable-output' must be 0 or 1, not 'yes'"},
        {{"--dsn", "X", "--enable-output", "2"}, "option '--enable-output' must be 0 or 1, not '2'"},
    };
    for (const BadCase& c : cases) {
        try {
            CRunOptions::Parse(c.args);
            ADD_FAILURE() << "accepted " << ::testing::PrintToString(c.args);
        } catch (const CUsageError& error) {
            EXPECT_EQ(error.Message(), c.message) << ::testing::PrintToString(c.args);
            EXPECT_EQ(error.Message().find('\n'), std::string::npos);
        }
    }
}

}  // namespace
