// The two programs' own options, run as a user runs them: help and version go to standard
// output with status 0, the viewer's without a display, and a mistake gets the usage on the
// error stream with status 2. The tool's commands in a bare environment, its memory limit, and
// how it puts its outputs on the disk.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

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

const std::string samples = std::string(TROVELIN_SOURCE_DIR) + "/samples/";

// The leak checker of a sanitizer build cannot run under ptrace, and strace is ptrace.
const std::string leakCheckOff = "ASAN_OPTIONS=detect_leaks=0 ";

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        char name[] = "/tmp/trovelin-cli-test-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path); }
    std::string path;
};

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
                             "trovelin-cli dump [--json] [--max-memory SIZE] FILE.kvr", "trovelin-cli render",
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

TEST(CommandLine, AMistakeIsNamedOnTheErrorStream)
{
    const CommandOutcome bare = run(TROVELIN_CLI, "");
    EXPECT_EQ(bare.status, 2);
    EXPECT_TRUE(bare.err.starts_with("usage: trovelin-cli harvest ")) << bare.err;
    for (const auto& [arguments, named] : std::vector<std::pair<std::string, std::string>>{
             {"harvest", "trovelin-cli: harvest: no PATH given\nRun 'trovelin-cli harvest --help' for its options.\n"},
             {"harvest --bogus x.kvr", "trovelin-cli: harvest: unknown option '--bogus'\n"},
             {"render x.kvr --out", "trovelin-cli: render: missing value after '--out'\n"},
             {"render x.kvr --out x.jpg", "trovelin-cli: render: only PNG is written: 'x.jpg'"},
             {"extract -j 0 --out o x.kvr", "trovelin-cli: extract: bad value '0' for -j: give a number of threads"},
             {"extract --keep-going --fail-fast --json x.kvr", "--keep-going and --fail-fast exclude each other\n"},
             {"help bogus", "trovelin-cli: help: unknown command 'bogus'\n"},
             {"help dump extra", "trovelin-cli: help: unexpected argument 'extra'\n"},
             {"--version extra", "trovelin-cli: unexpected argument 'extra' after --version\n"},
             {"bogus", "trovelin-cli: unknown command 'bogus'\nRun 'trovelin-cli --help' for the commands"},
             {"widget --out x.png", "trovelin-cli: widget: no CLASS given (--list names them)\n"},
             {"widget TWCheckBox Caption --out x.png", "NAME=VALUE (text values quoted as dump prints them: Caption='Mute')"},
             {"widget TWCheckBox Caption=Mute --out x.png",
              "Error reading Widget.Caption: Invalid property value\nValues are written as dump prints them: text quoted "
              "(Caption='Mute')"}}) {
        const CommandOutcome outcome = run(TROVELIN_CLI, arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_EQ(outcome.out, "") << arguments;
        EXPECT_TRUE(mentions(outcome.err, named)) << arguments << "\n" << outcome.err;
    }
}

TEST(CommandLine, OptionsAreReadAsOtherToolsReadThem)
{
    const TemporaryFolder out;
    const std::string desk = samples + "console-desk.kvr";
    // Any order, --opt=value, -- before a file name that looks like an option.
    EXPECT_EQ(run(TROVELIN_CLI, "render --out=" + out.path + "/a.png " + desk).status, 0);
    EXPECT_EQ(run(TROVELIN_CLI, "harvest " + desk + " --json -q").status, 0);
    std::filesystem::copy_file(desk, out.path + "/-q.kvr");
    const CommandOutcome dashed =
        testing::runCommand("cd '" + out.path + "' && '" + std::string(TROVELIN_CLI) + "' harvest --json -- -q.kvr");
    EXPECT_EQ(dashed.status, 0) << dashed.err;
    EXPECT_TRUE(mentions(dashed.out, "\"file\":\"-q.kvr\"")) << dashed.out;
    // One definition gives both the parser and the help: every option the help lists is taken.
    EXPECT_EQ(run(TROVELIN_CLI, "harvest -q --keep-going --json --max-memory=1M --out " + out.path + "/p " + desk).status, 0);

    EXPECT_TRUE(run(TROVELIN_CLI, "harvest -qh").out.starts_with("usage: trovelin-cli harvest "));  // flags together

    const CommandOutcome helpOfHelp = run(TROVELIN_CLI, "help help");
    EXPECT_EQ(helpOfHelp.status, 0);
    EXPECT_TRUE(helpOfHelp.out.starts_with("usage: trovelin-cli help [COMMAND]")) << helpOfHelp.out;
    const CommandOutcome classes = run(TROVELIN_CLI, "widget --list");
    EXPECT_EQ(classes.status, 0);
    EXPECT_TRUE(mentions(classes.out, "TWCheckBox\n") && mentions(classes.out, "TCMY\n")) << classes.out;
}

TEST(CommandLine, TheViewerReadsItsArgumentsBeforeItLooksForADisplay)
{
    for (const char* arguments : {"--bogus", "a b", "--gallery x"}) {
        const CommandOutcome outcome = run(TROVELIN_APP, arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_TRUE(outcome.err.starts_with("trovelin: ")) << outcome.err;
    }
    const CommandOutcome noDisplay = run(TROVELIN_APP, samples);
    EXPECT_EQ(noDisplay.status, 1);
    EXPECT_TRUE(noDisplay.err.starts_with("trovelin: cannot open the display: ")) << noDisplay.err;
    EXPECT_TRUE(noDisplay.err.ends_with("; trovelin-cli works without one\n")) << noDisplay.err;
    EXPECT_FALSE(mentions(noDisplay.err, "einstall")) << noDisplay.err;
    // The toolkit's own options are passed over, to the toolkit.
    EXPECT_EQ(run(TROVELIN_APP, "-style fusion --bogus").status, 2);
}

// As root under su or cron there is no XDG_RUNTIME_DIR; Qt would say so on every run.
TEST(CommandLine, TheToolsCommandsSayNothingOfTheirOwnInABareEnvironment)
{
    const TemporaryFolder out;
    for (const std::string& arguments :
         {"harvest -q --out " + out.path + "/pictures " + samples, "extract -q --out " + out.path + "/all " + samples,
          "dump " + samples + "moving-heads.kvr",
          "render " + samples + "console-desk.kvr --out " + out.path + "/desk.png",
          "widget TWCheckBox \"Caption='Mute'\" --out " + out.path + "/box.png",
          "widget TCMY Cyan=#200 --out " + out.path + "/mixer.png"}) {
        const CommandOutcome outcome = testing::runCommand("env -i '" + std::string(TROVELIN_CLI) + "' " + arguments);
        EXPECT_EQ(outcome.status, 0) << arguments;
        EXPECT_EQ(outcome.err, "") << arguments;
    }
    // The private runtime folder goes with the run.
    const std::string temporary = out.path + "/tmp";
    std::filesystem::create_directory(temporary);
    EXPECT_EQ(testing::runCommand("env -i TMPDIR=" + temporary + " '" + TROVELIN_CLI + "' dump " + samples +
                                  "club-stage.kvr")
                  .err,
              "");
    EXPECT_TRUE(std::filesystem::is_empty(temporary));
}

TEST(CommandLine, DumpAndRenderKeepToTheMemoryLimit)
{
    const TemporaryFolder out;
    const std::string rig = samples + "arena-rig.kvr";
    const CommandOutcome dump = run(TROVELIN_CLI, "dump --max-memory 1K " + rig);
    EXPECT_EQ(dump.status, 1);
    EXPECT_TRUE(mentions(dump.out, "error: Error reading Background.Picture.Data: Out of memory: the picture needs ")) << dump.out;
    const CommandOutcome render = run(TROVELIN_CLI, "render " + rig + " --out " + out.path + "/rig.png --max-memory 1K");
    EXPECT_EQ(render.status, 1);
    EXPECT_TRUE(render.err.starts_with(rig + ": error: Error reading Background.Picture.Data: Out of memory: the picture needs "))
        << render.err;

    EXPECT_EQ(run(TROVELIN_CLI, "dump --max-memory 1M " + rig).status, 0);
    EXPECT_EQ(run(TROVELIN_CLI, "render --max-memory 1M " + rig + " --out " + out.path + "/rig.png").status, 0);
    for (const std::string& arguments : {"dump --max-memory 0 " + rig, "render " + rig + " --out x.png --max-memory",
                                        "dump --max-memory 2X --json " + rig})
        EXPECT_TRUE(run(TROVELIN_CLI, arguments).err.starts_with("trovelin-cli: ")) << arguments;
}

// An output is on the disk before its name points at it, and the folder's new entry after that,
// so that a crash or a power loss never leaves an empty file under the name.
TEST(CommandLine, OutputsAreSyncedBeforeTheyTakeTheirName)
{
    const TemporaryFolder out;
    const std::string log = out.path + "/trace";
    const CommandOutcome traced = testing::runCommand(leakCheckOff + "strace -f -y -s 256 -e trace=fsync,rename -o " + log + " '" +
                                                      TROVELIN_CLI + "' render " + samples +
                                                      "console-desk.kvr --out " + out.path + "/desk.png");
    ASSERT_EQ(traced.status, 0) << traced.err;
    std::ifstream trace(log);
    std::vector<std::string> calls;
    for (std::string line; std::getline(trace, line);)
        if (mentions(line, out.path)) calls.push_back(line.substr(line.find_first_not_of(' ', line.find(' '))));
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_TRUE(calls[0].starts_with("fsync(") && mentions(calls[0], "/.desk.png.") && mentions(calls[0], "= 0"))
        << calls[0];
    EXPECT_TRUE(calls[1].starts_with("rename(\"" + out.path + "/.desk.png.")) << calls[1];
    EXPECT_TRUE(calls[2].starts_with("fsync(") && mentions(calls[2], "<" + out.path + ">) = 0")) << calls[2];
}

// The umask can only be read by setting it; a thread doing so while another creates a file, or
// two at once, could leave the process's umask at 0 and outputs world-writable. Pictures are
// encoded on several threads, so it is read once, before any thread starts.
TEST(CommandLine, TheUmaskIsReadOnceBeforeAnyThreadStarts)
{
    const TemporaryFolder out;
    const std::string log = out.path + "/trace";
    const CommandOutcome traced =
        testing::runCommand(leakCheckOff + "strace -f -e trace=umask,clone,clone3 -o " + log + " '" + TROVELIN_CLI +
                            "' harvest -q --out " + out.path + "/pictures " + samples);
    ASSERT_EQ(traced.status, 0) << traced.err;
    std::ifstream trace(log);
    int umaskCalls = 0;
    int threadsStarted = 0;
    for (std::string line; std::getline(trace, line);) {
        if (mentions(line, " umask(")) {
            ++umaskCalls;
            EXPECT_EQ(threadsStarted, 0) << line;
        }
        if (mentions(line, " clone") && !mentions(line, "resumed")) ++threadsStarted;
    }
    EXPECT_LE(umaskCalls, 2);
    EXPECT_GT(threadsStarted, 0);  // the encoders did run on threads
    EXPECT_EQ(std::filesystem::status(out.path + "/pictures/000.png").permissions() &
                  std::filesystem::perms::others_write,
              std::filesystem::perms::none);
}

}  // namespace
}  // namespace trovelin
