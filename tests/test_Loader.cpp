// The panel loader: when it touches files, what it harvests from backgrounds and buttons, how it
// treats unknown classes and broken records, and what stays in the picture list when it fails.

#include <gtest/gtest.h>
#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "panelfile/RecordingLoaderHost.h"
#include "framework/WinControl.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Loader.h"
#include "panelfile/PanelFileLoad.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"
#include "platform/UnsharedFile.h"
#include "streaming/Errors.h"
#include "streaming/Stream.h"
#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/MetafileWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"
#include "support/SamplePanels.h"

namespace trovelin {
namespace {

using namespace testing;

std::vector<std::uint8_t> bmp(int width, int height)
{
    return makeBmp24(width, height, [](int x, int y) { return static_cast<std::uint32_t>(x * 16 + y); });
}

// A background record whose picture payload is `pictureData` (none when empty).
std::vector<std::uint8_t> background(const std::vector<std::uint8_t>& pictureData)
{
    RecordWriter w;
    w.beginRecord("TImage", "Background");
    if (!pictureData.empty()) w.property("Picture.Data").binary(pictureData);
    w.end().end();
    return w.bytes();
}

std::vector<std::uint8_t> speedButton(std::string_view name, const std::vector<std::uint8_t>& glyph,
                                      std::string_view className = "TSpeedButton")
{
    RecordWriter w;
    w.beginRecord(className, name);
    if (!glyph.empty()) w.property("Glyph.Data").binary(bitmapPayload(glyph));
    w.end().end();
    return w.bytes();
}

std::vector<std::uint8_t> label(std::string_view name, std::string_view className = "TLabel")
{
    RecordWriter w;
    w.beginRecord(className, name).property("Caption").string("Dimmer").end().end();
    return w.bytes();
}

class Loader : public ::testing::Test {
protected:
    Loader() { std::filesystem::create_directories(folder); }
    ~Loader() override { std::filesystem::remove_all(folder); }

    std::string panel(const std::string& name, std::vector<std::vector<std::uint8_t>> records)
    {
        PanelFileContent content;
        content.title = name;
        content.records = std::move(records);
        const std::string path = (folder / name).string();
        EXPECT_TRUE(writeFile(path, writePanelFile(content)));
        return path;
    }
    void fill(int count)
    {
        TBitmap one;
        one.setImage(std::make_shared<DibImage>(1, 1, 24));
        for (int i = 0; i < count; ++i) pictures.append(one);
    }
    std::string failure(const std::string& path, bool clearFirst)
    {
        try {
            loader.LoadForm(path, clearFirst);
        } catch (const Exception& error) {
            return error.message();
        }
        return "loaded";
    }

    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("trovelin-loader-" + std::to_string(::getpid()));
    RecordingLoaderHost window;
    PictureList pictures;
    PanelLoader loader{window, pictures, panelLoaderClasses()};
};

TEST_F(Loader, AFullListIsRefusedBeforeTheFileIsTouched)
{
    fill(pictureListCapacity);
    const std::string missing = (folder / "missing.kvr").string();
    EXPECT_FALSE(loader.LoadForm(missing, false));
    EXPECT_EQ(pictures.count(), 512);

    // Clearing first makes room, so the missing file is opened and fails.
    EXPECT_EQ(failure(missing, true), "Cannot open file " + missing);
    EXPECT_EQ(pictures.count(), 0);

    fill(pictureListCapacity);
    EXPECT_TRUE(loader.LoadForm(panel("one.kvr", {background(picturePayload("TBitmap", bitmapPayload(bmp(3, 2))))}), true));
    EXPECT_EQ(pictures.count(), 1);
    EXPECT_EQ(pictures.at(0).width(), 3);
}

TEST_F(Loader, TheListFillsUpInTheMiddleOfAFile)
{
    fill(510);
    const auto glyph = bmp(16, 16);
    const std::string path = panel("full.kvr", {background(picturePayload("TBitmap", bitmapPayload(bmp(8, 8)))),
                                                speedButton("B1", glyph), speedButton("B2", glyph),
                                                speedButton("B3", glyph)});
    EXPECT_TRUE(loader.LoadForm(path, false));
    EXPECT_EQ(pictures.count(), 512);
    EXPECT_EQ(pictures.at(510).width(), 8);
    EXPECT_EQ(pictures.at(511).width(), 16);
    EXPECT_EQ(window.repaintRequests(), 1);
    EXPECT_FALSE(loader.LoadForm(path, false));  // the next file of a folder walk
}

TEST_F(Loader, BackgroundsGiveTheirPictureUnlessItIsAnIcon)
{
    struct Case {
        std::vector<std::uint8_t> pictureData;
        int added;
        int width;
    };
    const Case cases[] = {
        {picturePayload("TBitmap", bitmapPayload(bmp(5, 4))), 1, 5},
        {picturePayload("TIcon", {0, 0, 1, 0, 1, 0}), 0, 0},
        {picturePayload("TMetafile", placeableMetafileData(0, 0, 96, 96, 96, {})), 1, 0},  // an empty picture
        {{}, 0, 0},                                                                       // no graphic at all
        {picturePayload("TJPEGImage", {1, 2, 3}), 0, 0},
    };
    for (const Case& c : cases) {
        pictures.clear();
        EXPECT_TRUE(loader.LoadForm(panel("background.kvr", {background(c.pictureData)}), true));
        ASSERT_EQ(pictures.count(), c.added);
        if (c.added) {
            EXPECT_EQ(pictures.at(0).width(), c.width);
        }
    }
    EXPECT_EQ(window.repaintRequests(), 5);
    EXPECT_TRUE(window.takeEvents().empty());
}

TEST_F(Loader, ButtonsGiveOnlyTheGlyphTheirRecordStores)
{
    const std::string path = panel("buttons.kvr", {background({}), speedButton("Plain", {}),
                                                   speedButton("Strip", bmp(64, 16)), label("Label1")});
    EXPECT_TRUE(loader.LoadForm(path, true));
    ASSERT_EQ(pictures.count(), 1);
    EXPECT_EQ(pictures.at(0).width(), 64);  // a strip of several images stays whole
    EXPECT_TRUE(window.hostPanel().controls().empty());  // every control is gone again
    EXPECT_EQ(window.owner().components().size(), 15u);
}

TEST_F(Loader, EachPictureKeepsTheRecordItCameFromAndAFileNameIsSharedBetweenItsPictures)
{
    const std::string first = panel("first.kvr", {background(picturePayload("TBitmap", bitmapPayload(bmp(5, 4)))),
                                                  speedButton("Strip", bmp(64, 16)), speedButton("Other", bmp(8, 8))});
    const std::string second = panel("second.kvr", {background({}), speedButton("Go", bmp(2, 2))});
    EXPECT_TRUE(loader.LoadForm(first, true));
    EXPECT_TRUE(loader.LoadForm(second, false));
    ASSERT_EQ(pictures.count(), 4);
    const PictureOrigin& backdrop = pictures.origin(0);
    EXPECT_EQ(backdrop.fileName(), first);
    EXPECT_EQ(backdrop.recordName, "Background");
    EXPECT_EQ(backdrop.recordClass, "TImage");
    EXPECT_STREQ(backdrop.property, "Picture");
    EXPECT_EQ(pictures.origin(1).recordName, "Strip");
    EXPECT_EQ(pictures.origin(1).recordClass, "TSpeedButton");
    EXPECT_STREQ(pictures.origin(1).property, "Glyph");
    EXPECT_EQ(pictures.origin(2).file.get(), backdrop.file.get());
    EXPECT_EQ(pictures.origin(3).fileName(), second);

    pictures.clear();
    pictures.append(TBitmap{});
    EXPECT_EQ(pictures.origin(0).fileName(), "");  // a slot keeps nothing of an earlier picture
}

TEST_F(Loader, ClassNamesMustMatchExactlyAndUnknownRecordsAreSkippedWhole)
{
    RecordWriter nested;
    nested.beginRecord("TPanel", "Panel9").property("Caption").string("x").end();
    nested.beginChild("TSpeedButton", "Inner").property("Glyph.Data").binary(bitmapPayload(bmp(2, 2))).end().end();
    nested.end();
    const std::string path = panel("classes.kvr", {background({}), speedButton("Upper", bmp(4, 4), "TSPEEDBUTTON"),
                                                   label("Lower", "tlabel"), nested.bytes(),
                                                   speedButton("Last", bmp(6, 6))});
    EXPECT_TRUE(loader.LoadForm(path, true));
    ASSERT_EQ(pictures.count(), 1);
    EXPECT_EQ(pictures.at(0).width(), 6);
    EXPECT_TRUE(window.takeEvents().empty());
}

TEST_F(Loader, FadersAreReadAndGiveNoPicture)
{
    RecordWriter horizontal;
    horizontal.beginRecord("TSliderh", "Fader1").property("Width").integer(1'000'000'000);
    horizontal.property("M16bit").boolean(true).property("FinePosition").integer(9).end().end();
    RecordWriter vertical;
    vertical.beginRecord("TSlider", "Fader2").property("Min").integer(5).property("Position").string("x").end().end();
    const std::string path = panel("faders.kvr", {background({}), horizontal.bytes(), speedButton("B1", bmp(6, 6))});
    EXPECT_TRUE(loader.LoadForm(path, true));
    ASSERT_EQ(pictures.count(), 1);
    EXPECT_EQ(pictures.at(0).width(), 6);

    // The record is read, not skipped: a wrong value fails as in any control.
    const std::string bad = panel("bad-fader.kvr", {background({}), vertical.bytes()});
    EXPECT_EQ(failure(bad, true), "Error reading Fader2.Position: Invalid property value");
}

TEST_F(Loader, ARecordWithoutItsSignatureEndsTheLoadWithOneMessage)
{
    auto broken = label("Label2");
    broken[0] = 'X';
    const std::string path = panel("broken.kvr", {background(picturePayload("TBitmap", bitmapPayload(bmp(2, 2)))),
                                                  speedButton("B1", bmp(3, 3)), broken, speedButton("B2", bmp(4, 4))});
    EXPECT_TRUE(loader.LoadForm(path, true));
    EXPECT_EQ(pictures.count(), 2);
    const auto events = window.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, LoaderEvent::Kind::Message);
    EXPECT_EQ(events[0].text, "Format ERROR!!!");
    EXPECT_EQ(window.repaintRequests(), 1);
    EXPECT_FALSE(loader.reachedEnd());  // the commands count it as a load that failed
}

TEST_F(Loader, NotAPanelFileGoesToTheStatusBar)
{
    const std::string path = (folder / "notes.kvr").string();
    ASSERT_TRUE(writeFile(path, {'N', 'O', 'T', 'E', 0, 0}));
    fill(3);
    EXPECT_TRUE(loader.LoadForm(path, false));
    EXPECT_EQ(pictures.count(), 3);
    const auto events = window.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, LoaderEvent::Kind::Status);
    EXPECT_EQ(events[0].text, "Not KVR Format !!!");
    EXPECT_EQ(window.repaintRequests(), 0);
}

TEST_F(Loader, ReaderErrorsLeaveTheLoadKeepingWhatWasHarvested)
{
    // Component names of the main window are taken; its own name only gets a counter.
    for (std::string_view taken : {"PictureGrid", "panelpapa", "Icons4"}) {
        const std::string path = panel("taken.kvr", {background({}), speedButton("B1", bmp(3, 3)), label(taken)});
        EXPECT_EQ(failure(path, true), "A component named " + std::string(taken) + " already exists");
        EXPECT_EQ(pictures.count(), 1);
    }
    EXPECT_EQ(failure(panel("window.kvr", {background({}), label("Trovelin")}), true), "loaded");

    auto cut = speedButton("B2", bmp(8, 8));
    cut.resize(cut.size() - 40);
    const std::string path = panel("cut.kvr", {background({}), speedButton("B1", bmp(3, 3)), cut});
    EXPECT_EQ(failure(path, true), "Error reading B2.Glyph.Data: Stream read error");
    EXPECT_EQ(pictures.count(), 1);
    EXPECT_TRUE(window.hostPanel().controls().empty());
    EXPECT_EQ(window.owner().components().size(), 15u);
    // The file was closed on the way out: it can be opened without sharing again.
    EXPECT_EQ(failure(path, true), "Error reading B2.Glyph.Data: Stream read error");
}

TEST_F(Loader, APanelReadPieceByPieceLoadsLikeOneReadWhole)
{
    // Files too large to read whole are loaded straight from the open file.
    const std::string path = panel("streamed.kvr", {background(picturePayload("TBitmap", bitmapPayload(bmp(7, 5)))),
                                                    speedButton("B1", bmp(9, 3))});
    FileStream file(path);
    loader.loadPanel(file);
    ASSERT_EQ(pictures.count(), 2);
    EXPECT_EQ(pictures.at(0).image()->pixel(6, 4), (6u * 16 + 4) << 16);  // blue 100
    EXPECT_EQ(pictures.at(1).width(), 9);
    EXPECT_EQ(loader.panelHeader()->title, "streamed.kvr");

    PictureList wholeRead;
    PanelLoader other(window, wholeRead, panelLoaderClasses());
    other.LoadForm(path, true);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(wholeRead.at(0).image()->pixel(x, y), pictures.at(0).image()->pixel(x, y));
}

// The viewer's loader opens drive paths through its file system's drive map.
TEST_F(Loader, DrivePathsNameFilesOnTheirDrive)
{
    panel("drive.kvr", {background(picturePayload("TBitmap", bitmapPayload(bmp(3, 3))))});
    MountProbe probe;
    probe.isFolder = [](const std::string&) { return true; };
    const std::string table = "/dev/vdz " + folder.string() + " ext4 rw 0 0\n";
    PosixFileSystem drives({[table] { return parseMountTable(table); }, probe});
    PanelLoader viewerLoader(window, pictures, panelLoaderClasses(),
                             [&drives](const std::string& fileName) { return drives.openUnshared(fileName); });

    EXPECT_TRUE(viewerLoader.LoadForm("D:\\drive.kvr", true));
    EXPECT_EQ(pictures.count(), 1);
    for (const std::string missing : {"D:\\missing.kvr", "Q:\\drive.kvr"}) {
        try {
            viewerLoader.LoadForm(missing, true);
            ADD_FAILURE() << missing;
        } catch (const Exception& error) {
            EXPECT_EQ(error.message(), "Cannot open file " + missing);
        }
    }
}

TEST_F(Loader, AFileHeldByAnotherOpenerCannotBeLoaded)
{
    const std::string path = panel("held.kvr", {background({})});
    const int other = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(failure(path, true), "Cannot open file " + path);
    ::close(other);
    EXPECT_EQ(failure(path, true), "loaded");
}

// Threads of one program (extract's jobs, a Python program's) load the same file side by side;
// the lock still keeps other programs out until the last of them is done.
TEST_F(Loader, OpensOfOneProgramShareTheLock)
{
    const std::string path = panel("shared.kvr", {background({})});
    const auto otherProgramLocks = [&path] {
        const int other = ::open(path.c_str(), O_RDONLY);
        const bool locked = ::flock(other, LOCK_EX | LOCK_NB) == 0;
        ::close(other);
        return locked;
    };
    auto first = openUnshared(path);
    auto second = openUnshared(path);
    EXPECT_EQ(failure(path, true), "loaded");
    EXPECT_FALSE(otherProgramLocks());
    first.reset();
    EXPECT_FALSE(otherProgramLocks());
    second.reset();
    EXPECT_TRUE(otherProgramLocks());
}

// Resident memory of this process, from the kernel's own accounting.
std::int64_t residentBytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS:")) return std::stoll(line.substr(6)) * 1024;
    return 0;
}

// 512 glyphs declare 128 GB of pixels in a 60 KB file: the pixels no data reaches cost nothing,
// and those that would pass the budget fail like an allocation, keeping the pictures before.
TEST_F(Loader, DeclaredPixelsCostNothingUntilWrittenAndStopAtTheBudget)
{
    const std::string path = (folder / "declared.kvr").string();
    ASSERT_TRUE(writeFile(path, declaredOnlyGlyphsPanel(512)));
    PictureList budgeted(std::uint64_t{1} << 30);  // room for four such glyphs
    PanelLoader budgetedLoader{window, budgeted, panelLoaderClasses()};
    const std::int64_t before = residentBytes();
    std::string message = "loaded";
    try {
        budgetedLoader.LoadForm(path, true);
    } catch (const Exception& error) {
        message = error.message();
    }
    EXPECT_EQ(message, "Error reading Button4.Glyph.Data: Out of memory");
    ASSERT_EQ(budgeted.count(), 4);
    EXPECT_EQ(budgeted.at(3).width(), 8000);
    EXPECT_LT(residentBytes() - before, std::int64_t{256} << 20);
    EXPECT_EQ(budgeted.pixelBudget().used(), 4 * 256'000'000u);

    budgeted.clear();
    EXPECT_EQ(budgeted.pixelBudget().used(), 0u);
    budgeted.pixelBudget().setLimit(std::uint64_t{600} << 20);
    EXPECT_THROW(budgetedLoader.LoadForm(path, true), EReadError);
    EXPECT_EQ(budgeted.count(), 2);
}

// Every caller learns what happened from values, never from a message's text.
TEST_F(Loader, OneLoadSaysWhatHappenedAsValues)
{
    const auto picture = picturePayload("TBitmap", bitmapPayload(bmp(40, 30)));
    const auto outcome = [&](const std::string& path, PictureList& list, bool clearFirst = true) {
        return loadPanelFile(path, list, panelLoaderClasses(), {.clearFirst = clearFirst});
    };
    using Kind = LoaderEvent::Kind;

    const PanelLoadResult loaded = outcome(panel("fine.kvr", {background(picture), label("L1")}), pictures);
    EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded);
    EXPECT_TRUE(loaded.events.empty());
    ASSERT_TRUE(loaded.header);
    EXPECT_EQ(loaded.header->title, "fine.kvr");

    RecordWriter refused;
    refused.beginRecord("TCMY", "").property("Hint").string("mix").end().end();
    const PanelLoadResult withMessage = outcome(panel("mixer.kvr", {background(picture), refused.bytes(), label("L1")}), pictures);
    EXPECT_EQ(withMessage.outcome, LoadOutcome::LoadedWithMessages);
    EXPECT_EQ(withMessage.events, (std::vector<LoaderEvent>{{Kind::Message, "Property CMY ERROR!!!"}}));

    const std::string text = (folder / "text.kvr").string();
    ASSERT_TRUE(writeFile(text, {'n', 'o', 'p', 'e'}));
    const PanelLoadResult notPanel = outcome(text, pictures);
    EXPECT_EQ(notPanel.outcome, LoadOutcome::NotPanelFile);
    EXPECT_FALSE(notPanel.header);
    EXPECT_EQ(notPanel.events, (std::vector<LoaderEvent>{{Kind::Status, notPanelFileText}}));

    const std::string missing = (folder / "missing.kvr").string();
    const PanelLoadResult gone = outcome(missing, pictures);
    EXPECT_EQ(gone.failure, LoadFailure::CannotOpen);
    ASSERT_EQ(gone.events.size(), 1u);
    EXPECT_EQ(gone.events[0].kind, Kind::Error);

    const PanelLoadResult outOfFormat = outcome(panel("junk.kvr", {background(picture), {'j', 'u', 'n', 'k', 0}}), pictures);
    EXPECT_EQ(outOfFormat.outcome, LoadOutcome::Failed);
    EXPECT_EQ(outOfFormat.failure, LoadFailure::OutOfFormat);
    EXPECT_FALSE(outOfFormat.endedInError());
    EXPECT_EQ(pictures.count(), 1);  // what came before stays

    RecordWriter broken;
    broken.beginRecord("TLabel", "Bad").property("Caption").integer(5).end().end();
    const PanelLoadResult unreadable = outcome(panel("bad.kvr", {background(picture), broken.bytes()}), pictures);
    EXPECT_EQ(unreadable.failure, LoadFailure::UnreadableRecord);
    EXPECT_TRUE(unreadable.endedInError());

    // The budget is passed inside a record's property, and still known as memory, not as text.
    PictureList tight(1000);
    EXPECT_EQ(outcome(panel("big.kvr", {background(picture)}), tight).failure, LoadFailure::OutOfMemory);

    fill(pictureListCapacity);
    EXPECT_EQ(outcome(missing, pictures, false).outcome, LoadOutcome::ListFull);
}

}  // namespace
}  // namespace trovelin
