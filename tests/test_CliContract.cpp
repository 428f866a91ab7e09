// The command line as scripts use it, one row per behaviour: each row runs a shell script in a
// fresh folder against the real tool ($CLI; $S is the samples folder) and names the exit code
// and what must and must not appear on standard output and standard error.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <vector>

#include "support/PngReference.h"
#include "support/RunCommand.h"

namespace trovelin {
namespace {

struct Row {
    const char* name;
    std::string script;
    int status;
    std::vector<std::string> outHas = {};
    std::vector<std::string> errHas = {};
    std::vector<std::string> outLacks = {};
    std::vector<std::string> errLacks = {};
};

const std::vector<Row>& rows()
{
    static const std::vector<Row> table{
        // Writes that never destroy what they should not.
        {"symbolic link as --out: the target is replaced, the link stays",
         "touch real.png; ln -s real.png link.png\n"
         "$CLI render $S/club-stage.kvr --out link.png && test -L link.png && test -s real.png",
         0},
        {"dangling symbolic link as --out: the file it names is made",
         "mkdir sub; ln -s sub/made.png link.png\n"
         "$CLI render $S/club-stage.kvr --out link.png && test -L link.png && test -s sub/made.png",
         0},
        {"a FIFO as --out is written into, not replaced",
         "mkfifo pipe; cat pipe > got & reader=$!\n"
         "$CLI render $S/club-stage.kvr --out pipe; status=$?; wait $reader\n"
         "test -p pipe && test -s got && exit $status",
         0},
        {"a device as --out is written into and its error reported",
         "$CLI render $S/club-stage.kvr --out /dev/full; status=$?; test -c /dev/full && exit $status", 1, {},
         {"Cannot write /dev/full: No space left on device"}},
        {"/dev/stdout as --out stays a link, whatever standard output is",
         "$CLI render $S/club-stage.kvr --out /dev/stdout | cat > piped.png; s=$?\n"
         "$CLI render $S/club-stage.kvr --out /dev/stdout > file.png\n"
         "test -L /dev/stdout && test -s piped.png && cmp piped.png file.png && exit $s",
         0},
        {"--out - is standard output", "$CLI render $S/club-stage.kvr --out -", 0, {"\x89PNG\r\n"}},
        {"a full standard output is an error", "$CLI dump $S/club-stage.kvr > /dev/full", 1, {},
         {"Cannot write standard output: No space left on device"}},
        {"a full standard output is an error for --help too", "$CLI --help > /dev/full", 1, {},
         {"Cannot write standard output: No space left on device"}},
        {"a closed pipe with SIGPIPE ignored is an error",
         "trap '' PIPE; { sleep 0.3; $CLI harvest --json $S; echo \"status $?\" >&2; } | true", 0, {},
         {"Cannot write standard output: Broken pipe", "status 1"}},
        {"SIGINT during --out removes the temporary files and exits 130",
         // Job control, or the shell starts its background job with SIGINT ignored.
         "set -m; $CLI harvest --out o $(printf \"$S %.0s\" {1..60}) & pid=$!\n"
         "for i in $(seq 1000); do [ -e o/000.png ] && break; sleep 0.01; done; kill -INT $pid; wait $pid; status=$?\n"
         "ls -A o | grep '^\\.' >&2; exit $status",
         130, {}, {"Interrupted after "}, {}, {".png."}},
        {"SIGTERM ends the run the same way, with 143",
         "$CLI harvest --json --out o $(printf \"$S %.0s\" {1..60}) & pid=$!\n"
         "for i in $(seq 1000); do [ -e o/000.png ] && break; sleep 0.01; done; kill -TERM $pid; wait $pid; status=$?\n"
         "ls -A o | grep '^\\.' >&2; exit $status",
         143, {}, {"Interrupted after "}, {}, {".png."}},
        {"extract: SIGINT finishes the files in flight and leaves only whole files, each in the manifest",
         "set -m; $CLI extract -j 1 --out o $(printf \"$S %.0s\" {1..60}) & pid=$!\n"
         "for i in $(seq 1000); do [ -s o/manifest.jsonl ] && break; sleep 0.01; done; kill -INT $pid; wait $pid; s=$?\n"
         "find o -name '.*' >&2; [ -z \"$(tail -c1 o/manifest.jsonl)\" ] || echo 'cut line' >&2\n"
         "[ $(find o -name '*.png' | wc -l) -eq $(grep -c '\"png\":\"' o/manifest.jsonl) ] && echo whole\n"
         "[ $(wc -l < o/manifest.jsonl) -lt 780 ] && echo early; exit $s",
         130, {"whole\nearly\n"}, {"Interrupted after "}, {}, {".png.", "cut line"}},
        {"extract: an unreadable folder is reported and the rest is extracted",
         "mkdir -p t/locked t/open o; cp $S/club-stage.kvr t/open/; chmod 000 t/locked; chmod 755 . t; chmod 777 o\n"
         "runuser -u nobody -- $CLI extract --out o t; s=$?; test -s o/t/open/club-stage/000.png && exit $s",
         1, {}, {"t/locked: error: Cannot read the folder: Permission denied\n"}},
        {"extract: a folder that can be listed but not entered, or an entry that cannot be looked at, is an error",
         "mkdir -p t/open t/shut/inner o p; cp $S/club-stage.kvr t/open/; cp $S/club-stage.kvr t/shut/inner/\n"
         "ln -s loop t/open/loop\n"
         "chmod 444 t/shut; chmod 755 . t; chmod 777 o p\n"
         "runuser -u nobody -- $CLI extract --out o t; a=$?; runuser -u nobody -- $CLI extract --out p t/shut; b=$?\n"
         "test -s o/t/open/club-stage/000.png && echo \"$a $b\"",
         0, {"1 1\n"},
         {"t/shut: error: Cannot enter the folder: Permission denied\n",
          "t/open/loop: error: Cannot read the entry: Too many levels of symbolic links\n"},
         {}, {"No panel files"}},
        {"extract: an unreadable folder given as PATH is its error alone",
         "mkdir locked; chmod 000 locked; chmod 755 .; runuser -u nobody -- $CLI extract --json locked", 1, {},
         {"locked: error: Cannot read the folder: Permission denied\n"}, {}, {"No panel files"}},
        {"extract: names that read as '.', '..' or nothing keep their pictures inside --out, apart",
         "mkdir -p r/in/sub r/out; touch r/000.png; for d in r/in r/in/sub; do cp $S/club-stage.kvr $d/..kvr\n"
         "cp $S/theatre-sunset.kvr $d/...kvr; cp $S/console-desk.kvr $d/.kvr; done; cp $S/arena-rig.kvr r/in/sub.kvr\n"
         "snapshot() { find r -path r/out -prune -o -printf '%p %s %T@\\n' | sort; }; snapshot > before\n"
         "$CLI extract -j 2 --out r/out r/in/..kvr r/in/...kvr r/in/.kvr r/in || exit 9\n"
         "snapshot | cmp - before || exit 8; cd r/out\n"
         "[ $(find . -name '*.png' | wc -l) -eq $(grep -c '\"png\":\"' manifest.jsonl) ] && echo apart\n"
         "find . -name 000.png | LC_ALL=C sort",
         0, {"apart\n./..~2/000.png\n./.~2/000.png\n./in/..~2/000.png\n./in/.~2/000.png\n./in/sub/..~2/000.png\n"
             "./in/sub/.~2/000.png\n./in/sub/000.png\n./in/sub/~2/000.png\n./in/~2/000.png\n./~2/000.png\n"}},
        {"extract: links found in --out are replaced or refused, never followed out of it",
         "mkdir -p in/a o/in/a/show elsewhere; cp $S/club-stage.kvr in/a/show.kvr; cp $S/club-stage.kvr in/b.kvr\n"
         "echo precious > elsewhere/victim; ln -s ../../../../elsewhere/victim o/in/a/show/000.png; ln -s ../../elsewhere o/in/b\n"
         "$CLI extract -q --out o in; s=$?; cat elsewhere/victim; ls elsewhere\n"
         "test -f o/in/a/show/000.png && ! test -L o/in/a/show/000.png && echo replaced; exit $s",
         1, {"precious\nvictim\nreplaced\n"}, {"in/b.kvr: error: Cannot write o/in/b: a symbolic link leads out of o\n"}},
        {"extract and harvest refuse an empty --out",
         "$CLI extract --out= $S; a=$?; $CLI harvest --out \"$UNSET\" $S; b=$?; $CLI extract --json --out '' $S; c=$?\n"
         "[ \"$(ls -A)\" = row.sh ] && echo \"$a $b $c\"",
         0, {"2 2 2\n"}, {"extract: --out needs a folder", "harvest: --out needs a folder"}},
        {"extract: a reader closing the pipe ends the run at once, removing the temporary files, 141",
         "$CLI extract -j 4 --json --out o $(printf \"$S %.0s\" {1..30}) | head -c 100 >/dev/null; s=${PIPESTATUS[0]}\n"
         "find o -name '.*' >&2; exit $s",
         141, {}, {}, {}, {".png.", "Interrupted"}},
        {"extract: every terminating signal removes the temporary files whatever -j, and exits 128 + it",
         "set -m; for sig in HUP INT QUIT ALRM TERM USR1 USR2 VTALRM PROF IO PWR XCPU RTMIN; do rm -rf o\n"
         "$CLI extract -j 12 --out o $(printf \"$S %.0s\" {1..120}) & pid=$!\n"
         // Lines come a batch at a time, the first perhaps at the end: the first picture written
         // says the run is under way.
         "for i in $(seq 1000); do [ -n \"$(find o -name '*.png*' 2>/dev/null | head -n1)\" ] && break; sleep 0.01; done\n"
         // The first signal finishes the files in flight, a second one ends the run at once.
         "kill -$sig $pid; kill -$sig $pid; wait $pid; echo \"$sig $?\"; find o -name '.*' >&2; done",
         0, {"HUP 129\nINT 130\nQUIT 131\nALRM 142\nTERM 143\nUSR1 138\nUSR2 140\nVTALRM 154\nPROF 155\nIO 157\n"
             "PWR 158\nXCPU 152\nRTMIN 162\n"},
         {"Interrupted after "}, {},
         {".png."}},
        {"extract: a process limit that refuses some of -j's threads runs on those that started",
         "chmod 777 .; runuser -u nobody -- bash -c \"ulimit -u 64; exec $CLI extract -j 1024 -q --out o $S\"; s=$?\n"
         "[ $(find o -name '*.png' | wc -l) -eq $(grep -c '\"png\":\"' o/manifest.jsonl) ] && echo whole; exit $s",
         0, {"whole\n"}, {}, {}, {"terminate"}},
        {"extract: a file-size limit fails the writes past it, leaving whole files and lines",
         "ulimit -f 1; $CLI extract -j 1 --out o $S/arena-rig.kvr; s=$?; find o -name '.*' >&2\n"
         "[ -z \"$(tail -c1 o/manifest.jsonl)\" ] || echo 'cut line' >&2; exit $s",
         1, {}, {"Cannot write o/arena-rig/000.png: File too large\n"}, {}, {".png.", "cut line"}},
        {"extract --fail-fast stops at the first file that fails and counts the rest",
         "$CLI extract --fail-fast -j 1 --json missing.kvr $S/club-stage.kvr $S/arena-rig.kvr", 1, {}, {
         "missing.kvr: error: Cannot open file missing.kvr: No such file or directory\n",
         "missing.kvr: status: Stopped at the first error: 2 files not read (--fail-fast)\n"}},
        {"extract without --out or --json is a usage error", "$CLI extract $S", 2, {}, {"give --out DIR, --json or both"}},
        {"extract --json alone prints the manifest's lines", "$CLI extract --json $S/club-stage.kvr", 0,
         {"\"index\":0,\"width\":320,\"height\":200,\"bpp\":24,", "\"png\":null,\"sha256\":\""}},
        {"a rerun into the same --out removes only the earlier run's own files beyond the new count",
         "$CLI harvest -q --out o $S && touch o/keep.txt o/900.png\n"
         "$CLI harvest -q --out o $S/club-stage.kvr || exit 9\n"
         "ls o | tr '\\n' ' '; grep -o '\"index\"' o/pictures.json | wc -l",
         0, {"000.png 001.png 002.png 900.png keep.txt pictures.json 3\n"}},
        {"an --out folder that cannot be made is one error before any decoding",
         "touch file; $CLI harvest --out file/sub $S", 1, {},
         {"file/sub: error: Cannot create file/sub: Not a directory\n"}, {}, {"000.png"}},
        {"an --out folder without permission names the reason",
         "mkdir ro; chmod 555 ro; chmod 755 .; runuser -u nobody -- $CLI harvest --out ro/sub $S", 1, {},
         {"Cannot create ro/sub: Permission denied\n"}, {}, {"000.png"}},
        {"an --out folder that cannot be made gives a JSON object too", "touch file; $CLI harvest --json --out file/sub $S",
         1, {"\"kind\":\"error\",\"text\":\"Cannot create file/sub: Not a directory\""}},

        // Exit codes and messages that tell the truth.
        {"an unreadable folder is an error with the reason",
         "mkdir locked; chmod 000 locked; chmod 755 .; runuser -u nobody -- $CLI harvest locked", 1, {},
         {"locked: error: Cannot read the folder: Permission denied"}, {}, {"No panel files"}},
        {"a named file that is no panel file fails harvest, dump and render alike",
         "echo hello > giants.kvr\n"
         "$CLI harvest giants.kvr; h=$?; $CLI dump giants.kvr >/dev/null; d=$?; $CLI render giants.kvr --out g.png; "
         "r=$?\necho \"$h $d $r\"; exit $h",
         1, {"1 1 1"}, {"giants.kvr: status: Not KVR Format !!!"}},
        {"the files left unread after the first error are counted",
         "$CLI harvest missing.kvr $S/club-stage.kvr $S/console-desk.kvr", 1, {},
         {"missing.kvr: error: Cannot open file missing.kvr: No such file or directory\n",
          "Stopped at the first error: 2 files not read (--keep-going reads on)"}},
        {"text mode keeps the table alone on standard output", "$CLI harvest missing.kvr", 1, {"0 pictures\n"}, {},
         {"error"}},
        {"a folder as a panel file names the reason", "mkdir d.kvr; $CLI dump d.kvr/", 1, {},
         {"Cannot open file d.kvr/: Is a directory"}},
        {"a panel file another program holds names the reason",
         "cp $S/club-stage.kvr held.kvr; flock held.kvr sleep 2 & sleep 0.5; $CLI harvest held.kvr", 1, {},
         {"Cannot open file held.kvr: Locked by another program"}},
        {"a FIFO as a panel file names the reason", "mkfifo f.kvr; $CLI dump f.kvr", 1, {},
         {"Cannot open file f.kvr: Not a regular file"}},
        {"dump --json prints an object with the error when it cannot start", "$CLI dump --json missing.kvr", 1,
         {"{\"file\":\"missing.kvr\",\"records\":[],\"events\":[{\"file\":\"missing.kvr\",\"kind\":\"error\","
          "\"text\":\"Cannot open file missing.kvr: No such file or directory\"}]}\n"}},
        {"an out-of-memory error caused by --max-memory says so", "$CLI dump --max-memory 1K $S/arena-rig.kvr", 1,
         {"Out of memory: the picture needs 94 KiB, over the memory budget of 1 KiB"}},
        {"progress is shown only on a terminal", "$CLI harvest --out o $(printf \"$S %.0s\" {1..20})", 0, {}, {},
         {}, {"\r", " of "}},
        {"the list's end is an event, and the exit code stays 0", "$CLI harvest --json $(printf \"$S %.0s\" {1..60})",
         0, {"\"kind\":\"status\",\"text\":\"Picture list full (512 pictures): 103 files not read\"}"},
         {"status: Picture list full (512 pictures): 103 files not read\n"}},
        {"a folder name is escaped in every line", "mkdir $'e\\x1b[2J'; $CLI harvest $'e\\x1b[2J'", 0, {},
         {"No panel files in e\\x1B[2J\n"}, {}, {"\x1b"}},
        {"a file name that is not UTF-8 stays recoverable in JSON",
         "cp $S/club-stage.kvr $'bad\\xff\\xfe.kvr'; $CLI harvest --json $'bad\\xff\\xfe.kvr'", 0,
         {"\"file_bytes\":\"626164fffe2e6b7672\""}},
    };
    return table;
}

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        char name[] = "/tmp/trovelin-contract-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path); }
    std::string path;
};

bool mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CliContract, EveryRowBehavesAsScriptsExpect)
{
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.name);
        const TemporaryFolder folder;
        {
            std::ofstream script(folder.path + "/row.sh");
            script << "CLI='" << TROVELIN_CLI << "'\nS='" << TROVELIN_SOURCE_DIR << "/samples'\n" << row.script << '\n';
        }
        const testing::CommandOutcome outcome =
            testing::runCommand("cd '" + folder.path + "' && env -u DISPLAY -u WAYLAND_DISPLAY bash row.sh");
        EXPECT_EQ(outcome.status, row.status) << outcome.err;
        for (const std::string& part : row.outHas) EXPECT_TRUE(mentions(outcome.out, part)) << part << "\n" << outcome.out;
        for (const std::string& part : row.outLacks) EXPECT_FALSE(mentions(outcome.out, part)) << part;
        for (const std::string& part : row.errHas) EXPECT_TRUE(mentions(outcome.err, part)) << part << "\n" << outcome.err;
        for (const std::string& part : row.errLacks) EXPECT_FALSE(mentions(outcome.err, part)) << part << "\n" << outcome.err;
    }
}

std::string readText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

QJsonObject jsonObject(const std::string& text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return document.object();
}

bool decodes(const std::filesystem::path& png) { return testing::readPngFile(png.string()).has_value(); }

// What one run under failing calls left in `output`: only whole PNG files under their own names,
// and every picture a file when the run says it succeeded. The number of pictures listed.
std::size_t checkOutput(const std::filesystem::path& output, bool extract, int status)
{
    namespace fs = std::filesystem;
    if (!fs::exists(output)) return 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(output)) {
        const std::string name = entry.path().filename().string();
        EXPECT_NE(name.front(), '.') << "temporary file left: " << entry.path();
        if (entry.path().extension() == ".png") {
            EXPECT_TRUE(decodes(entry.path())) << entry.path();
        }
    }
    const fs::path manifest = output / (extract ? "manifest.jsonl" : "pictures.json");
    if (!fs::exists(manifest)) {
        EXPECT_NE(status, 0) << "no " << manifest;
        return 0;
    }
    const std::string text = readText(manifest);
    std::vector<QJsonObject> pictures;
    if (extract) {
        EXPECT_TRUE(text.empty() || text.back() == '\n') << "cut line: " << text.substr(text.rfind('\n') + 1);
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            if (const QJsonObject object = jsonObject(line); object.contains("index")) pictures.push_back(object);
    } else {
        for (const QJsonValue picture : jsonObject(text).value("pictures").toArray()) pictures.push_back(picture.toObject());
    }
    for (const QJsonObject& picture : pictures) {
        if (picture.value("width").toInt() == 0 || picture.value("height").toInt() == 0) continue;
        const int index = picture.value("index").toInt();
        const fs::path png = extract ? (picture.value("png").isNull() ? fs::path() : output / picture.value("png").toString().toStdString())
                                     : output / (std::string(index < 10 ? "00" : index < 100 ? "0" : "") + std::to_string(index) + ".png");
        if (status == 0 || (extract && !png.empty())) {
            EXPECT_TRUE(!png.empty() && decodes(png)) << png << " of " << manifest;
        }
    }
    return pictures.size();
}

// Opens, writes, syncs, renames and closes failing at random: every run ends in success with
// every picture written, or in a failure it names, and leaves no partial or temporary file.
TEST(CliContract, RandomIoFailuresLeaveWholeFilesAndASayingWhy)
{
    if (!testing::installed("fiu-run")) GTEST_FAIL() << "fiu-run is missing: scripts/install-deps installs fiu-utils";
    const TemporaryFolder folder;
    const std::string in = folder.path + "/in";
    ASSERT_EQ(testing::runCommand("mkdir -p '" + in + "/venue' && cp " TROVELIN_SOURCE_DIR "/samples/*.kvr '" + in +
                                  "/' && cp " TROVELIN_SOURCE_DIR "/samples/c*.kvr '" + in + "/venue/'")
                  .status,
              0);
    std::string failing;
    for (const char* call : {"oc/open", "rw/write", "rw/write/reduce", "sync/fsync", "dir/rename", "oc/close"})
        failing += std::string(" -c 'enable_random name=posix/io/") + call + ",probability=0.01'";
#ifdef TROVELIN_ASAN_RUNTIME
    // fiu's own preload keeps a string for good: no leak of the tool's.
    const std::string tool = "sh -c 'ASAN_OPTIONS=detect_leaks=0 LD_PRELOAD=\"" TROVELIN_ASAN_RUNTIME
                             " $LD_PRELOAD\" exec \"$0\" \"$@\"' " TROVELIN_CLI;
#else
    const std::string tool = TROVELIN_CLI;
#endif
    // With --unique a failed write gives up its content's claim to a later copy: half the runs
    // check that no line then names a copy that failed in turn.
    const auto command = [&](bool extract, const std::string& output, bool unique = false) {
        return tool + (extract ? " extract -j 2 -q --out " : " harvest -q --keep-going --out ") + output + " " + in +
               (extract ? (unique ? " --unique" : "") : " " + in + "/venue");
    };
    std::map<bool, std::size_t> allPictures;
    for (const bool extract : {true, false}) {
        const std::string output = folder.path + "/whole" + (extract ? "-extract" : "-harvest");
        ASSERT_EQ(testing::runCommand(command(extract, output)).status, 0);
        allPictures[extract] = checkOutput(output, extract, 0);
        ASSERT_GT(allPictures[extract], 10u);
    }
    int failures = 0;
    constexpr int runs = 25;
    for (int seed = 1; seed <= runs; ++seed) {
        for (const bool extract : {true, false}) {
            const std::string output = folder.path + (extract ? "/extract" : "/harvest") + std::to_string(seed);
            SCOPED_TRACE((extract ? "extract, seed " : "harvest, seed ") + std::to_string(seed));
            const testing::CommandOutcome outcome = testing::runCommand(
                "cd '" + folder.path + "' && FIU_PRNG_SEED=" + std::to_string(seed) + " fiu-run -x" + failing + " " +
                command(extract, output, seed % 2 == 0));
            EXPECT_TRUE(outcome.status == 0 || outcome.status == 1) << outcome.status << "\n" << outcome.err;
            if (outcome.status != 0) {
                ++failures;
                EXPECT_FALSE(outcome.err.empty()) << "a failure without a word";
            }
            const std::size_t pictures = checkOutput(output, extract, outcome.status);
            if (outcome.status == 0) {
                EXPECT_EQ(pictures, allPictures[extract]) << "a success with pictures missing";
            }
        }
    }
    // Both ways out were taken.
    EXPECT_GT(failures, 0);
    EXPECT_LT(failures, 2 * runs);
}

// A run killed at any moment (SIGKILL: no handler runs) leaves a manifest whose every line names
// a whole PNG under its final name, the very one an uninterrupted run writes.
TEST(CliContract, AKilledExtractLeavesNoLineWithoutItsWholePicture)
{
    namespace fs = std::filesystem;
    if (!testing::installed("strace")) GTEST_FAIL() << "strace is missing: scripts/install-deps installs it";
    const TemporaryFolder folder;
    const std::string in = folder.path + "/in";
    ASSERT_EQ(testing::runCommand("for i in $(seq 30); do mkdir -p '" + in + "/v$i' && cp " TROVELIN_SOURCE_DIR
                                  "/samples/*.kvr '" + in + "/v$i/'; done")
                  .status,
              0);
    // Each run goes through strace, which holds every sync back a little: the moments between a
    // batch's sync and its renames, where a line written too early would show, grow long enough
    // for random kills to meet them. The process killed is the tool itself, which writes its
    // number first: strace would let it run on.
    const auto start = [&](const std::string& output, const std::string& pidFile) {
        std::vector<std::string> words{"strace", "-f", "-qq", "-o", "/dev/null", "-e", "trace=syncfs", "-e",
                                       "inject=syncfs:delay_enter=30000", "--", "/bin/sh", "-c",
                                       // The leak checker of a sanitizer build cannot work under strace.
                                       "echo $$ > '" + pidFile + "'; ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" "
                                       "exec \"$0\" \"$@\"",
                                       TROVELIN_CLI, "extract",
                                       "-q", "-j", "2", "--out", output, in};
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t child = -1;
        EXPECT_EQ(posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        return child;
    };
    const auto elapsedMs = [](const timespec& from) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return (now.tv_sec - from.tv_sec) * 1000 + (now.tv_nsec - from.tv_nsec) / 1'000'000;
    };
    timespec began{};
    clock_gettime(CLOCK_MONOTONIC, &began);
    const std::string whole = folder.path + "/whole";
    int status = 0;
    waitpid(start(whole, whole + ".pid"), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const long runMs = std::max(50L, static_cast<long>(elapsedMs(began)));

    std::mt19937 random(20261208);
    int linesChecked = 0;
    for (int run = 0; run < 30; ++run) {
        const std::string output = folder.path + "/killed" + std::to_string(run);
        const std::string pidFile = output + ".pid";
        const pid_t tracer = start(output, pidFile);
        // Past the whole run's time now and then, so that some runs get to their last batch.
        const long killAtMs = static_cast<long>(random() % static_cast<unsigned>(runMs * 3 / 2));
        const timespec pause{killAtMs / 1000, killAtMs % 1000 * 1'000'000};
        nanosleep(&pause, nullptr);
        std::ifstream pidText(pidFile);
        pid_t tool = 0;
        if (pidText >> tool && tool > 0) kill(tool, SIGKILL);
        waitpid(tracer, &status, 0);
        const std::string text = readText(fs::path(output) / "manifest.jsonl");
        std::istringstream lines(text.substr(0, text.rfind('\n') + 1));
        for (std::string line; std::getline(lines, line);) {
            const QJsonObject entry = jsonObject(line);
            if (!entry.contains("png") || entry.value("png").isNull()) continue;
            const std::string png = entry.value("png").toString().toStdString();
            SCOPED_TRACE("run " + std::to_string(run) + ": " + png);
            EXPECT_TRUE(decodes(fs::path(output) / png));
            EXPECT_EQ(readText(fs::path(output) / png), readText(fs::path(whole) / png));
            ++linesChecked;
        }
    }
    // Some of the runs got far enough to write lines.
    EXPECT_GT(linesChecked, 0);
}

}  // namespace
}  // namespace trovelin
