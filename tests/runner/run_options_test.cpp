#include "runner/run_options.h"
#include "runner/usage_error.h"
#include "support/default_settings.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

TEST(RunOptions, ParsesBothFormsFilesAfterDoubleDashAndDefaults) {
    const CRunOptions o = CRunOptions::Parse({"--dsn", "Demo", "--user=scott", "--width", "132", "--lf",
                                              "--stop-on-error", "--history", "a.sql", "-", "--", "--quiet"});
    EXPECT_EQ(std::tie(o.dataSource, o.userName, o.wrapWidth, o.lfLineEnds, o.stopOnError, o.history),
              std::tuple("Demo", "scott", 132, true, true, true));
    EXPECT_EQ(o.ScriptPaths(), (Args{"a.sql", "-", "--quiet"}));
    EXPECT_TRUE(o.ReadsStandardInput() && !o.enableOutput);

    const CRunOptions plain = CRunOptions::Parse({"a.sql", "--dsn=Demo"});
    EXPECT_EQ(std::tie(plain.wrapWidth, plain.lfLineEnds, plain.stopOnError, plain.history),
              std::tuple(80, false, false, false));
    EXPECT_FALSE(plain.ReadsStandardInput());
    EXPECT_EQ(CRunOptions::Parse({"--dsn", "X"}).ScriptPaths(), Args{"-"});
    EXPECT_EQ(CRunOptions::Parse({"-h", "--bogus"}).action, CRunOptions::Action::kHelp);
}

// DefColLen, MaxColLen, EnableSpool, SpoolFile, EnableOutput and
// RemoveComments after the options (after --dsn X) replaced the ones of
// 10, 100, 0, output.txt, 1, 0.
std::string Overridden(Args args) {
    args.insert(args.begin(), {"--dsn", "X"});
    CSettingsRecord s = DefaultSettings();
    CRunOptions::Parse(args).ApplyTo(s);
    std::ostringstream shown;
    shown << s.DefColLen << ' ' << s.MaxColLen << ' ' << s.EnableSpool << ' ' << s.SpoolFile << ' ' << s.EnableOutput
          << ' ' << s.RemoveComments;
    return shown.str();
}

TEST(RunOptions, OverridesReplaceOnlyWhatWasGivenAndTheLastOneWins) {
    EXPECT_EQ(Overridden({}), "10 100 0 output.txt 1 0");
    EXPECT_EQ(Overridden({"--spool", "s.txt", "--no-spool", "--enable-output", "1", "--quiet", "--remove-comments",
                          "--max-col-len", "1", "--def-col-len", "1000"}),
              "1000 1 0 s.txt 0 1");
    EXPECT_EQ(Overridden({"--no-spool", "--spool=t.txt", "--quiet", "--enable-output=1", "--remove-comments",
                          "--keep-comments", "--max-col-len=1000", "--max-col-len=20"}),
              "10 20 1 t.txt 1 0");
}

TEST(RunOptions, BadCommandLinesGiveOneLineMessages) {
    const std::vector<std::pair<Args, std::string>> cases = {
        {{"a.sql"}, "missing --dsn NAME, the data source to connect to"},
        {{"--dsn", "--user", "u"}, "option '--dsn' needs a value"},
        {{"--dsn="}, "option '--dsn' needs a non-empty value"},
        {{"--dsn", "X", "--bogus=1"}, "unknown option '--bogus'"},
        {{"--dsn", "X", "--lf=1"}, "option '--lf' takes no value"},
        {{"--dsn", "X", "--width", " 12"}, "option '--width' needs a whole number, not ' 12'"},
        {{"--dsn", "X", "--width", "-5"}, "option '--width' must be between 1 and 100000, not -5"},
        {{"--dsn", "X", "--def-col-len=99999999999999999999"},
         "option '--def-col-len' must be between 1 and 1000, not 99999999999999999999"},
        {{"--dsn", "X", "--def-col-len="}, "option '--def-col-len' needs a whole number, not ''"},
        {{"--dsn", "X", "--enable-output", "2"}, "option '--enable-output' must be 0 or 1, not '2'"},
        {{"--dsn", "X", "--timeout", "0"}, "option '--timeout' must be between 1 and 2147483647, not 0"},
        {{"--dsn", "X", "--timeout=x"}, "option '--timeout' needs a whole number, not 'x'"},
        {{"--dsn", "X", "--format", "xml"}, "option '--format' must be table, csv, tsv, json or markdown, not 'xml'"},
        {{"--dsn", "X", "--update-expect"}, "option '--update-expect' needs --expect FILE, the file to write"},
    };
    for (const auto& [args, message] : cases) {
        try {
            CRunOptions::Parse(args);
            ADD_FAILURE() << "accepted " << ::testing::PrintToString(args);
        } catch (const CUsageError& error) {
            EXPECT_EQ(error.Message(), message);
        }
    }
}

}  // namespace
