// The dump: what the loader does with each record, and how far a failing record got.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <new>
#include <sstream>

#include "cli/Dump.h"
#include "cli/Harvest.h"
#include "streaming/PrintableText.h"
#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

// While set, allocations of this size or more fail, as they do on a machine out of memory.
static std::size_t failingAllocationSize = SIZE_MAX;

void* operator new(std::size_t size)
{
    if (size >= failingAllocationSize) throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace trovelin {
namespace {

using namespace testing;

class Dump : public ::testing::Test {
protected:
    ~Dump() override { std::filesystem::remove(path); }

    int dump(const std::vector<std::vector<std::uint8_t>>& records, bool json)
    {
        PanelFileContent content;
        content.large = true;
        content.blco = std::vector<std::uint16_t>{1};
        content.title = title;
        content.records = records;
        EXPECT_TRUE(writeFile(path, writePanelFile(content)));
        out.str("");
        return cli::dumpPanelFile(path, json, out, errors);
    }
    static std::vector<std::uint8_t> record(std::string_view className, std::string_view name)
    {
        RecordWriter w;
        w.beginRecord(className, name).property("Left").integer(1).end().end();
        return w.bytes();
    }

    std::string title = "Rig";
    std::string path = (std::filesystem::temp_directory_path() / ("trovelin-dump-" + std::to_string(::getpid()))).string();
    std::ostringstream out;
    std::ostringstream errors;
};

TEST_F(Dump, RecordsShowWhatTheLoaderDoesAndFailuresHowFarTheyGot)
{
    RecordWriter failing;
    failing.beginRecord("TLabel", "Label1").property("Left").integer(3).property("Top").tag(42).end().end();
    EXPECT_EQ(dump({record("TImage", "Background"), record("TKnob", "Knob1"), record("TLabel", "Label0"),
                    failing.bytes(), record("TLabel", "Label2")},
                   false),
              1);
    const std::string text = out.str();
    EXPECT_NE(text.find("Chunks: BLCO\n"), std::string::npos);
    EXPECT_NE(text.find("(skipped by the loader: class not in its table):\nobject Knob1: TKnob"), std::string::npos);
    EXPECT_NE(text.find("object Label1: TLabel\n  Left = 3\nend\n"
                        "error: Error reading Label1.Top: Invalid property value\n"),
              std::string::npos);
    EXPECT_EQ(text.find("Label2"), std::string::npos);  // the load ends at the failure
}

// Colour mixers and multi-channel buttons have readers of their own, stricter than the generic one.
TEST_F(Dump, ClassesWithTheirOwnReaderGiveTheLoadersVerdict)
{
    RecordWriter named;
    named.beginRecord("TCMY", "CMY1").end().end();
    // Refused and passed over, the record does not stop the load: no failure.
    EXPECT_EQ(dump({record("TImage", "Background"), named.bytes(), record("TLabel", "Label1")}, false), 0);
    EXPECT_NE(out.str().find("(refused by the loader: ValueType CMY ERROR!!!):\nobject CMY1: TCMY\n"),
              std::string::npos);
    EXPECT_NE(out.str().find("object Label1: TLabel"), std::string::npos);  // the load goes on after it
    EXPECT_EQ(out.str().find("stop:"), std::string::npos);

    RecordWriter channels;
    channels.beginRecord("TMultiButton", "Scene1").property("Channels").beginList().string("1").end().end().end();
    EXPECT_EQ(dump({record("TImage", "Background"), channels.bytes(), record("TLabel", "Label1")}, true), 1);
    EXPECT_NE(out.str().find("\"loader\":\"read\",\"record\":{\"class\":\"TMultiButton\""), std::string::npos);
    EXPECT_NE(out.str().find(",\"error\":\"Error reading Scene1.Channels: Invalid property value\"}],"
                             "\"stop\":\"Error reading Scene1.Channels: Invalid property value\",\"events\":"),
              std::string::npos);

    EXPECT_EQ(dump({record("TImage", "Background"), record("TCMY", ""), record("TMultiButton", "Scene1")}, false), 0);
}

TEST_F(Dump, TextEscapesControlCharactersAndJsonKeepsItsOwnEscapes)
{
    RecordWriter failing;
    failing.beginRecord("TLabel", "L\x1B[2J").end().end();
    EXPECT_EQ(dump({record("TImage", "Background"), failing.bytes()}, false), 1);
    EXPECT_NE(out.str().find("object L\\x1B[2J: TLabel\nend\nerror: ''L\\x1B[2J'' is not a valid component name\n"),
              std::string::npos);
    EXPECT_EQ(out.str().find('\x1B'), std::string::npos);
    EXPECT_EQ(dump({record("TImage", "Background"), failing.bytes()}, true), 1);
    EXPECT_NE(out.str().find("\"name\":\"L\\u001b[2J\""), std::string::npos);
}

bool isUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) < 0x80) continue;
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length - 1;
    }
    return true;
}

// Panel texts are Windows-1252 bytes: printed as they are, they would be no UTF-8.
TEST_F(Dump, TextIsValidUtf8AndStringsShowCharacterCodes)
{
    title = "Caf\xE9";
    RecordWriter mixer;
    mixer.beginRecord("TCMY", "").property("Cyan").string("\xC8").property("Magenta").string("\r").end().end();
    RecordWriter label;
    label.beginRecord("TLabel", "L\xE9").property("Caption").string("\x93Go\x94\n").end().end();
    dump({record("TImage", "Background"), mixer.bytes(), label.bytes()}, false);
    const std::string text = out.str();
    EXPECT_TRUE(isUtf8(text)) << text;
    for (const char* part : {"Title: 'Caf'#233\n", "  Cyan = #200\n  Magenta = #13\n", "object L\\xE9: TLabel\n",
                             "  Caption = #147'Go'#148#10\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}

TEST_F(Dump, JsonNamesTheLoadersStop)
{
    auto noSignature = record("TLabel", "Label1");
    noSignature[0] = 'Q';
    EXPECT_EQ(dump({record("TImage", "Background"), record("TGroupBox", "Box"), noSignature}, true), 1);
    const std::string json = out.str();
    EXPECT_EQ(json.rfind("{\"file\":", 0), 0u);
    EXPECT_NE(json.find("\"variant\":\"KVLP\",\"channels\":0,\"title\":\"Rig\",\"chunks\":[\"BLCO\"]"), std::string::npos);
    EXPECT_NE(json.find("\"loader\":\"read\",\"record\":{\"class\":\"TGroupBox\""), std::string::npos);
    EXPECT_NE(json.find(",\"stop\":\"Format ERROR!!!\",\"events\":["), std::string::npos);
}

// A script reads the same events from dump --json as from harvest --json, whatever the file.
TEST_F(Dump, JsonAlwaysListsTheEventsThatHarvestReports)
{
    const auto eventsOf = [](const std::string& json) { return json.substr(json.find(",\"events\":[")); };
    const auto harvestEvents = [&] {
        cli::HarvestOptions options;
        options.paths = {path};
        options.json = true;
        options.quiet = true;
        std::ostringstream json;
        std::ostringstream progress;
        cli::harvest(options, json, progress);
        return eventsOf(json.str());
    };
    RecordWriter refused;
    refused.beginRecord("TCMY", "CMY1").end().end();
    RecordWriter failing;
    failing.beginRecord("TLabel", "Label1").property("Top").tag(42).end().end();
    auto noSignature = record("TLabel", "Label2");
    noSignature[0] = 'Q';
    const std::vector<std::vector<std::vector<std::uint8_t>>> panels = {
        {record("TImage", "Background"), record("TLabel", "Label1")},
        {record("TImage", "Background"), refused.bytes(), record("TLabel", "Label1")},
        {record("TImage", "Background"), failing.bytes()},
        {record("TImage", "Background"), refused.bytes(), failing.bytes()},
        {record("TImage", "Background"), noSignature},
    };
    std::vector<std::string> dumped;
    for (const auto& records : panels) {
        dump(records, true);
        dumped.push_back(eventsOf(out.str()));
        EXPECT_EQ(dumped.back(), harvestEvents());
    }
    EXPECT_EQ(dumped[0], ",\"events\":[]}\n");
    EXPECT_NE(dumped[1].find("\"kind\":\"message\",\"text\":\"ValueType CMY ERROR!!!\"}]}"), std::string::npos);
    EXPECT_NE(dumped[2].find("\"kind\":\"error\",\"text\":\"Error reading Label1.Top: "), std::string::npos);
    EXPECT_NE(dumped[4].find("\"text\":\"Format ERROR!!!\"}]}"), std::string::npos);

    ASSERT_TRUE(writeFile(path, std::vector<std::uint8_t>(64, 'x')));
    out.str("");
    EXPECT_EQ(cli::dumpPanelFile(path, true, out, errors), 1);
    EXPECT_NE(out.str().find(",\"stop\":\"Not KVR Format !!!\",\"events\":[{\"file\":"), std::string::npos) << out.str();
    EXPECT_EQ(eventsOf(out.str()), harvestEvents());
    EXPECT_NE(out.str().find("\"kind\":\"status\",\"text\":\"Not KVR Format !!!\"}]}\n"), std::string::npos);
}

// A record's tree that runs out of memory shows as far as it got, and the loader's verdict stands.
TEST_F(Dump, ATreeOutOfMemoryKeepsTheLoadersVerdict)
{
    RecordWriter glyph;
    glyph.beginRecord("TSpeedButton", "Button1")
        .property("Glyph.Data")
        .binary(bitmapPayload(makeBmp24(200, 200, [](int x, int y) { return static_cast<std::uint32_t>(x ^ y); })))
        .end()
        .end();
    PanelFileContent content;
    content.records = {record("TImage", "Background"), glyph.bytes()};
    ASSERT_TRUE(writeFile(path, writePanelFile(content)));
    failingAllocationSize = 100000;
    const int status = cli::dumpPanelFile(path, true, out, errors);
    failingAllocationSize = SIZE_MAX;
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.str().find("\"loader\":\"read\",\"record\":{\"class\":\"TSpeedButton\""), std::string::npos) << out.str();
    EXPECT_NE(out.str().find(",\"events\":[]}\n"), std::string::npos) << out.str();
}

// Describing a picture costs no more than --max-memory, in a record the loader passes over too.
TEST_F(Dump, ATreeDecodesPicturesWithinTheBudget)
{
    RecordWriter skipped;
    skipped.beginRecord("TPictureFrame", "Frame1")
        .property("Picture.Data")
        .binary(picturePayload("TBitmap", bitmapPayload(makeBmp24(200, 200, [](int, int) { return 0u; }))))
        .end()
        .end();
    PanelFileContent content;
    content.records = {record("TImage", "Background"), skipped.bytes()};
    ASSERT_TRUE(writeFile(path, writePanelFile(content)));
    EXPECT_EQ(cli::dumpPanelFile(path, false, out, errors, 100000), 0);
    EXPECT_NE(out.str().find("Picture.Data = {120066 bytes: Out of memory}"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace trovelin
