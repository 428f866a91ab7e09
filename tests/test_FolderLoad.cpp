// A folder load off the GUI thread: it leaves the window exactly as a load on the GUI thread
// did (pictures, messages in their places, the stop when the list is full and at the first
// failure), shows its progress when it runs long, and stops at a file boundary when cancelled.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <semaphore>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QThread>

#include "app/Trovelinc.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/PictureList.h"
#include "platform/FileAttributes.h"
#include "platform/FindFiles.h"
#include "platform/PosixFileSystem.h"
#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/FinishFolderLoad.h"
#include "support/GuiApplication.h"
#include "support/NoShell.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"
#include "support/SamplePanels.h"

namespace trovelin {
namespace {

using namespace testing;
namespace fs = std::filesystem;

std::vector<std::uint8_t> backgroundRecord(int width, int height, std::uint32_t seed)
{
    RecordWriter w;
    w.beginRecord("TImage", "Background");
    w.property("Picture.Data").binary(picturePayload("TBitmap", bitmapPayload(makeBmp24(width, height, [seed](int x, int y) {
        return seed * 2654435761u ^ static_cast<std::uint32_t>(x * 31 + y);
    }))));
    w.end().end();
    return w.bytes();
}

std::vector<std::uint8_t> buttonRecord(const std::string& name, int width)
{
    RecordWriter w;
    w.beginRecord("TSpeedButton", name)
        .property("Glyph.Data")
        .binary(bitmapPayload(makeBmp24(width, 16, [](int x, int y) { return static_cast<std::uint32_t>(x * y); })))
        .end()
        .end();
    return w.bytes();
}

std::vector<std::uint8_t> labelRecord(const std::string& name)
{
    RecordWriter w;
    w.beginRecord("TLabel", name).property("Caption").string("Dimmer").end().end();
    return w.bytes();
}

// A colour mixer record that its reader refuses with a message; the load goes on after it.
std::vector<std::uint8_t> refusedMixerRecord()
{
    RecordWriter w;
    w.beginRecord("TCMY", "").property("Cyan").string("\x01").property("Hint").string("mix").end().end();
    return w.bytes();
}

std::vector<std::uint8_t> panelFile(std::vector<std::vector<std::uint8_t>> records)
{
    PanelFileContent content;
    content.records = std::move(records);
    return writePanelFile(content);
}

// What a load leaves for the user to see: the pictures, and each message with the number of
// pictures in the list when it showed.
struct Outcome {
    std::vector<std::string> pictures;
    std::vector<std::string> messages;
    std::string status;
    bool operator==(const Outcome&) const = default;
};

std::string describe(const TBitmap& picture)
{
    std::string text = std::to_string(picture.width()) + "x" + std::to_string(picture.height());
    if (const DibImage* image = picture.image()) {
        const std::string_view bytes(reinterpret_cast<const char*>(image->bits()), image->byteCount());
        text += "@" + std::to_string(image->bitsPerPixel()) + "#" + std::to_string(std::hash<std::string_view>()(bytes));
    }
    return text + (picture.transparent() ? " transparent" : "");
}

std::vector<std::string> describe(const PictureList& pictures)
{
    std::vector<std::string> result;
    for (int i = 0; i < pictures.count(); ++i) {
        const PictureOrigin& origin = pictures.origin(i);
        result.push_back(describe(pictures.at(i)) + " from " + std::string(origin.fileName()) + ":" +
                         origin.recordName + "." + origin.property + " (" + origin.recordClass + ")");
    }
    return result;
}

std::string messageText(const std::string& caption, const std::string& text, int pictures)
{
    return caption + ": " + text + " (" + std::to_string(pictures) + " pictures)";
}

// The load as the window ran it on the GUI thread before: each panel file of the folder in the
// search's order into one list, the first clearing it, until the list is full or a file fails.
class ReferenceWindow : public LoaderHost {
public:
    ReferenceWindow(Outcome& outcome, const PictureList& pictures) : outcome_(outcome), pictures_(pictures) {}
    Component& owner() override { return components_.window(); }
    TWinControl& hostPanel() override { return components_.panelPapa(); }
    ReaderEnvironment readerEnvironment() override { return components_.readerEnvironment(); }
    void setStatusText(const std::string& text) override { outcome_.status = text; }
    void repaintPictureGrid() override {}
    void showMessage(const std::string& text) override
    {
        outcome_.messages.push_back(messageText(loaderMessageCaption, text, pictures_.count()));
    }

private:
    MainWindowComponents components_;
    Outcome& outcome_;
    const PictureList& pictures_;
};

Outcome loadOnTheGuiThread(FileSystem& fileSystem, const std::string& directory,
                           std::uint64_t pixelBudget = defaultPixelBudgetBytes())
{
    Outcome outcome;
    PictureList pictures(pixelBudget);
    ReferenceWindow window(outcome, pictures);
    PanelLoader loader(window, pictures, panelLoaderClasses(),
                       [&fileSystem](const std::string& name) { return fileSystem.openUnshared(name); });
    TSearchRec search;
    bool clearFirst = true;
    for (std::uint32_t found = FindFirst(fileSystem, directory + "\\*.kvr", faAnyFile, search); found == 0;
         found = FindNext(search)) {
        try {
            if (!loader.LoadForm(directory + "\\" + search.Name, clearFirst)) break;
        } catch (const std::exception& error) {
            outcome.messages.push_back(messageText("Trovelin", error.what(), pictures.count()));
            break;
        }
        clearFirst = false;
    }
    FindClose(search);
    outcome.pictures = describe(pictures);
    return outcome;
}

class FolderLoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureWidgetApplication(); }

    FolderLoad()
    {
        fs::create_directories(root);
        window.messageBox = [this](const QString& caption, const QString& text) {
            shown.messages.push_back(messageText(caption.toStdString(), text.toStdString(), pictures.count()));
            // A message box runs its own event loop: files that arrive meanwhile must wait.
            if (spinInMessageBoxes) QTest::qWait(20);
        };
    }
    ~FolderLoad() override { fs::remove_all(root); }

    std::string folder(const std::string& name,
                       const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& files)
    {
        fs::create_directories(root / name);
        for (const auto& [fileName, bytes] : files) writeFile((root / name / fileName).string(), bytes);
        return fileSystem.drives().toWindowsPath((root / name).string()).value();
    }

    // Shows the folder in the window, afresh when it is on show already, and lets its load run to
    // the end.
    Outcome loadInTheWindow(const std::string& directory)
    {
        window.setStatusPanel(0, "");
        window.setStatusPanel(1, "");
        shown = {};
        window.fileList().SetDirectory(directory);
        window.MFileExplorerChange();
        finishLoad();
        shown.pictures = describe(pictures);
        shown.status = window.statusText(0).toStdString();
        return shown;
    }

    void finishLoad() { finishFolderLoad(window); }

    // Processes events until `done` holds.
    static bool waitFor(const std::function<bool()>& done)
    {
        const QDeadlineTimer deadline(10000);
        while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    fs::path root = fs::temp_directory_path() / ("trovelin-folderload-" + std::to_string(::getpid()));
    PictureList pictures;
    PosixFileSystem fileSystem;
    NoShell shell;
    TTrovelin window{pictures, fileSystem, shell};
    Outcome shown;
    bool spinInMessageBoxes = false;
};

TEST_F(FolderLoad, TheSamplesLoadAsOnTheGuiThread)
{
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    for (SamplePanel& sample : samplePanels()) files.emplace_back(sample.fileName, std::move(sample.bytes));
    const std::string samples = folder("samples", files);
    const Outcome expected = loadOnTheGuiThread(fileSystem, samples);
    ASSERT_FALSE(expected.pictures.empty());
    EXPECT_EQ(loadInTheWindow(samples), expected);
}

// Several hundred files with broken records and files that are not panel files, until the list
// is full; then a folder whose load fails in the middle of a file.
TEST_F(FolderLoad, AGeneratedFolderLoadsAsOnTheGuiThreadToTheFullListAndTheFirstFailure)
{
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    for (int i = 0; i < 300; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "p%03d.kvr", i);
        std::vector<std::vector<std::uint8_t>> records = {backgroundRecord(8 + i % 50, 3, static_cast<std::uint32_t>(i)),
                                                          buttonRecord("B1", 1 + i % 17)};
        if (i % 23 == 5) {
            records.push_back(refusedMixerRecord());
            records.push_back(buttonRecord("B3", 9));
        }
        if (i % 29 == 7) {
            auto broken = labelRecord("L1");
            broken[0] = 'X';
            records.push_back(broken);
            records.push_back(buttonRecord("B2", 5));
        }
        files.emplace_back(name, i % 41 == 3 ? std::vector<std::uint8_t>{'N', 'O', 'T', 'E'} : panelFile(records));
    }
    const std::string many = folder("many", files);
    const Outcome full = loadOnTheGuiThread(fileSystem, many);
    ASSERT_EQ(full.pictures.size(), static_cast<std::size_t>(pictureListCapacity));
    ASSERT_TRUE(std::any_of(full.messages.begin(), full.messages.end(), [](const std::string& message) {
        return message.find("CMY ERROR!!!") != std::string::npos;
    }));
    ASSERT_EQ(full.status, "Not KVR Format !!!");
    spinInMessageBoxes = true;
    EXPECT_EQ(loadInTheWindow(many), full);

    files.clear();
    for (int i = 0; i < 30; ++i) {
        std::vector<std::vector<std::uint8_t>> records = {backgroundRecord(4 + i, 2, 1), buttonRecord("B1", 3)};
        if (i == 12) records.push_back(labelRecord("PictureGrid"));
        files.emplace_back("f" + std::to_string(100 + i) + ".kvr", panelFile(records));
    }
    const std::string failing = folder("failing", files);
    const Outcome failed = loadOnTheGuiThread(fileSystem, failing);
    ASSERT_EQ(failed.messages.size(), 1u);
    EXPECT_NE(failed.messages[0].find("A component named PictureGrid already exists"), std::string::npos);
    EXPECT_EQ(loadInTheWindow(failing), failed);
}

TEST_F(FolderLoad, PicturesPastThePixelBudgetStopTheLoadAsOnTheGuiThread)
{
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    for (int i = 0; i < 12; ++i)
        files.emplace_back("b" + std::to_string(10 + i) + ".kvr", panelFile({backgroundRecord(100, 100, 2), buttonRecord("B1", 8)}));
    const std::string big = folder("big", files);
    constexpr std::uint64_t budget = 300'000;
    const Outcome stopped = loadOnTheGuiThread(fileSystem, big, budget);
    ASSERT_EQ(stopped.messages.size(), 1u);
    EXPECT_NE(stopped.messages[0].find("Out of memory"), std::string::npos);

    pictures.pixelBudget().setLimit(budget);
    EXPECT_EQ(loadInTheWindow(big), stopped);
    // The previous folder's pictures are not charged against the next.
    EXPECT_EQ(loadInTheWindow(big), stopped);
}

TEST_F(FolderLoad, AClickOnTheFileTheWorkerIsLoadingWaitsForIt)
{
    // Panel files open unshared: a click that did not wait would find the file locked.
    const std::string slow = folder("slow", {{"big.kvr", panelFile({backgroundRecord(3000, 2000, 1)})}});
    for (int attempt = 0; attempt < 3; ++attempt) {
        window.setStatusPanel(1, "");
        window.fileList().SetDirectory(slow);
        window.MFileExplorerChange();
        QThread::msleep(5);  // the worker opens the file and decodes its large picture
        window.fileList().SetFileName(slow + "\\big.kvr");
        window.MFileExplorerClick();
        EXPECT_FALSE(window.folderLoadRunning());
        EXPECT_EQ(pictures.count(), 1);
        EXPECT_TRUE(shown.messages.empty()) << shown.messages.front();
    }
}

class HeldFolderLoad : public FolderLoad {
protected:
    HeldFolderLoad()
    {
        std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
        for (int i = 0; i < 10; ++i) files.emplace_back("h" + std::to_string(i) + ".kvr", panelFile({backgroundRecord(i + 1, 1, 0)}));
        held = folder("held", files);
        // The worker may outlive the test's members in a cancelled job: it shares the hold.
        window.betweenFolderFiles = [hold = hold](int fileIndex) {
            if (fileIndex != hold->after) return;
            hold->reached.release();
            hold->resume.acquire();
        };
    }
    ~HeldFolderLoad() override
    {
        hold->resume.release();
        finishLoad();
    }

    std::vector<int> widths() const
    {
        std::vector<int> result;
        for (int i = 0; i < pictures.count(); ++i) result.push_back(pictures.at(i).width());
        return result;
    }

    struct Hold {
        int after = 2;
        std::counting_semaphore<> reached{0};
        std::counting_semaphore<> resume{0};
    };
    std::shared_ptr<Hold> hold = std::make_shared<Hold>();
    std::string held;
};

TEST_F(HeldFolderLoad, ALongLoadShowsItsProgressAndEscStopsItAtTheFileBoundary)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.fileList().SetDirectory(held);
    hold->reached.acquire();
    ASSERT_TRUE(waitFor([this] { return pictures.count() == 3; }));
    EXPECT_TRUE(window.folderLoadRunning());
    ASSERT_TRUE(waitFor([this] { return !window.loadProgressText().isEmpty(); }));
    EXPECT_EQ(window.loadProgressText().toStdString(), "Loaded 3 of 10 files, 3 pictures (Esc cancels)");

    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.folderLoadRunning());
    EXPECT_TRUE(window.loadProgressText().isEmpty());
    hold->resume.release();
    QTest::qWait(100);
    EXPECT_EQ(widths(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(window.statusText(1).toStdString(), held);
    EXPECT_TRUE(shown.messages.empty());
}

TEST_F(HeldFolderLoad, CancelledBeforeItsFirstFileTheListIsEmptyAsAfterAFailureThere)
{
    pictures.append(TBitmap());
    hold->after = 0;
    // Showing a folder turns the event loop; the folder's handler alone does not.
    window.setStatusPanel(1, QString::fromStdString(held));
    window.fileList().SetDirectory(held);
    window.setStatusPanel(1, "");
    window.MFileExplorerChange();
    hold->reached.acquire();  // the first file is loaded but not yet handed over
    window.cancelFolderLoad();
    EXPECT_EQ(pictures.count(), 0);
    hold->resume.release();
    QTest::qWait(100);
    EXPECT_EQ(pictures.count(), 0);
}

TEST_F(HeldFolderLoad, ANewFolderCancelsTheLoadRunning)
{
    const std::string other = folder("other", {{"o.kvr", panelFile({backgroundRecord(40, 1, 0), buttonRecord("B", 7)})}});
    window.fileList().SetDirectory(held);
    hold->reached.acquire();
    window.fileList().SetDirectory(other);
    hold->resume.release();
    finishLoad();
    QTest::qWait(100);
    EXPECT_EQ(widths(), (std::vector<int>{40, 7}));
}

}  // namespace
}  // namespace trovelin
