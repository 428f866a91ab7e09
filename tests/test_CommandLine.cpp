// The two programs' own options, run as a user runs them: help and version go to standard
// output with status 0, the viewer's without a display, and a mistake gets the usage on the
// error stream with status 2.

#include <gtest/gtest.h>

#include "support/RunCommand.h"

namespace trovelin {
namespace {

using testing::CommandOutcome;

// Runs a program with no display to connect to.
CommandOutcome run(const std::string& program, const std::string& arguments)
{
    return testing::runCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + program + "' " + arguments);
}

bool mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CommandLine, TheViewerAnswersHelpAndVersionWithoutADisplay)
{
    const CommandOutcome help = run(TROVELIN_APP, "--help");
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_TRUE(help.out.starts_with("usage: trovelin [PATH]\n")) << help.out;
    EXPECT_EQ(help.err, "");

    const CommandOutcome version = run(TROVELIN_APP, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("trovelin ") + TROVELIN_VERSION + "\n");
}

TEST(CommandLine, TheToolsHelpListsEveryCommandWithItsOptionsAndExamples)
{
    const CommandOutcome help = run(TROVELIN_CLI, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    for (const char* part : {"trovelin-cli harvest [--json] [--out DIR] [--keep-going] [--max-memory SIZE] [-q] PATH...",
                             "trovelin-cli dump [--json] FILE.kvr", "trovelin-cli render",
                             "  --keep-going", "  --max-memory SIZE", "  -q", "  --out FILE.png",
                             "trovelin-cli harvest --out pictures samples/", "trovelin-cli render samples/"})
        EXPECT_TRUE(mentions(help.out, part)) << part;
    EXPECT_EQ(run(TROVELIN_CLI, "help").out, help.out);

    // One command's help, asked either way, is that command's part of the whole.
    const CommandOutcome harvest = run(TROVELIN_CLI, "harvest --json --help");
    EXPECT_EQ(harvest.status, 0);
    EXPECT_TRUE(harvest.out.starts_with("usage: trovelin-cli harvest ")) << harvest.out;
    EXPECT_TRUE(mentions(help.out, harvest.out));
    EXPECT_FALSE(mentions(harvest.out, "trovelin-cli dump"));
    EXPECT_EQ(run(TROVELIN_CLI, "help harvest").out, harvest.out);
    EXPECT_EQ(run(TROVELIN_CLI, "dump --help").status, 0);  // not taken for a file to dump

    const CommandOutcome version = run(TROVELIN_CLI, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("trovelin-cli ") + TROVELIN_VERSION + "\n");
}

TEST(CommandLine, AMistakeGetsTheUsageOnTheErrorStream)
{
    for (const char* arguments : {"", "harvest", "harvest --bogus x.kvr", "help bogus", "bogus"}) {
        const CommandOutcome outcome = run(TROVELIN_CLI, arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_EQ(outcome.out, "") << arguments;
        EXPECT_TRUE(outcome.err.starts_with("usage: trovelin-cli harvest ")) << arguments;
        EXPECT_TRUE(mentions(outcome.err, "trovelin-cli --help")) << arguments;
    }
}

}  // namespace
}  // namespace trovelin
