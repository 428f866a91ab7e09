// The picture grid's menu, saving, export, drag and tooltips: which pictures each acts on, the
// files they write, and what a failed write leaves behind.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/DrawGrid.h"
#include "app/PictureActions.h"
#include "app/PictureDialogs.h"
#include "app/PicturePreview.h"
#include "app/PictureThumbnails.h"
#include "app/Trovelinc.h"
#include "cli/Harvest.h"
#include "framework/Canvas.h"
#include "panelfile/RecordingLoaderHost.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Loader.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"
#include "streaming/Bitmap.h"
#include "support/GuiApplication.h"
#include "support/NoShell.h"
#include "support/PngReference.h"

namespace trovelin {
namespace {

using testing::NoShell;

namespace fs = std::filesystem;

const fs::path samplesFolder = fs::path(TROVELIN_SOURCE_DIR) / "samples";

// A 4-bit picture whose pixel (x, y) has colour index (x + y) % 3 of red, green and blue.
TBitmap indexed(int width, int height)
{
    auto image = std::make_shared<DibImage>(width, height, 4);
    image->colorTable = {{0, 0, 0xFF, 0}, {0, 0xFF, 0, 0}, {0xFF, 0, 0, 0}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t& byte = image->scanLine(y)[x / 2];
            byte = static_cast<std::uint8_t>(x % 2 ? (byte & 0xF0) | ((x + y) % 3) : ((x + y) % 3) << 4);
        }
    TBitmap bitmap;
    bitmap.setImage(std::move(image));
    return bitmap;
}

std::string contents(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Answers the dialogs as a user would, and remembers what they suggested.
class AnsweringDialogs : public PictureDialogs {
public:
    std::optional<PictureSaveTarget> askPictureFile(QWidget*, const QString& suggestedPath) override
    {
        suggested = suggestedPath;
        return file;
    }
    std::optional<QString> askExportFolder(QWidget*, const QString& suggestedFolder) override
    {
        suggested = suggestedFolder;
        return folder;
    }
    std::optional<PictureSaveTarget> file;
    std::optional<QString> folder;
    QString suggested;
};

class GridActions : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }

    GridActions()
    {
        fs::create_directories(folder);
        window.messageBox = [this](const QString&, const QString& text) { messages.push_back(text); };
        auto owned = std::make_unique<AnsweringDialogs>();
        dialogs = owned.get();
        actions().setDialogs(std::move(owned));
        actions().popupMenu = [this](QMenu& menu, const QPoint&) {
            menuEntries.clear();
            for (QAction* action : menu.actions())
                if (!action->isSeparator())
                    menuEntries.push_back(action->text() + (action->isEnabled() ? "" : " (off)") +
                                          (action->isChecked() ? " (on)" : ""));
            if (choose) {
                for (QAction* action : menu.actions())
                    if (action->text() == *choose) action->trigger();
            }
        };
        window.pictureGrid().resize(338, 300);
        window.FormResize();
        pictures.append(indexed(48, 32), {std::make_shared<const std::string>("C:\\panels\\club.kvr"), "TSpeedButton",
                                          "Blackout", "Glyph"});
        pictures.append(TBitmap{}, {std::make_shared<const std::string>("C:\\panels\\club.kvr"), "TImage",
                                    "Background", "Picture"});
    }
    ~GridActions() override { fs::remove_all(folder); }

    PictureActions& actions() { return window.pictureActions(); }
    // A right-click over cell (col, row) of the 5-column grid.
    void rightClick(int col, int row)
    {
        QWidget* viewport = window.pictureGrid().viewport();
        const QPoint position(col * 66 + 30, row * 66 + 30);
        QContextMenuEvent event(QContextMenuEvent::Mouse, position, viewport->mapToGlobal(position));
        QCoreApplication::sendEvent(viewport, &event);
    }
    void activate()
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.pictureGrid().setFocus();
    }

    fs::path folder = fs::temp_directory_path() / ("trovelin-actions-" + std::to_string(::getpid()));
    PictureList pictures;
    PosixFileSystem fileSystem;
    NoShell shell;
    TTrovelin window{pictures, fileSystem, shell};
    AnsweringDialogs* dialogs = nullptr;
    std::vector<QString> messages;
    std::vector<QString> menuEntries;
    std::optional<QString> choose;
};

TEST_F(GridActions, TheMenuActsOnThePictureUnderThePointerWithoutSelectingIt)
{
    pictures.append(indexed(5, 5));
    ASSERT_TRUE(window.pictureGrid().selectCell(2, 0));
    window.setStatusPanel(0, "");
    rightClick(0, 0);
    EXPECT_EQ(menuEntries, (std::vector<QString>{"Preview", "Copy", "Save Picture As…", "Export All Pictures…",
                                                 "Fit Pictures in Cells"}));
    EXPECT_EQ(window.pictureGrid().col(), 2);
    EXPECT_EQ(window.statusText(0), "");

    choose = "Copy";
    rightClick(0, 0);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(48, 32));
    EXPECT_EQ(window.statusText(0), "48x32");

    // The preview tells where its picture came from.
    choose = "Preview";
    rightClick(0, 0);
    ASSERT_NE(window.preview(), nullptr);
    EXPECT_TRUE(window.preview()->statusText().endsWith(
        QStringLiteral("Blackout.Glyph (TSpeedButton)  \u00B7  C:\\panels\\club.kvr")))
        << window.preview()->statusText().toStdString();
    window.preview()->close();

    // The empty picture, and the silver cells past the last, offer only the export.
    QGuiApplication::clipboard()->setText("kept");
    rightClick(1, 0);
    EXPECT_EQ(menuEntries, (std::vector<QString>{"Preview (off)", "Copy (off)", "Save Picture As… (off)",
                                                 "Export All Pictures…", "Fit Pictures in Cells"}));
    rightClick(3, 2);
    EXPECT_EQ(menuEntries, (std::vector<QString>{"Preview (off)", "Copy (off)", "Save Picture As… (off)",
                                                 "Export All Pictures…", "Fit Pictures in Cells"}));
    actions().copyPicture(1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    EXPECT_TRUE(messages.empty());

    pictures.clear();
    rightClick(0, 0);
    EXPECT_EQ(menuEntries.at(3), "Export All Pictures… (off)");
}

TEST_F(GridActions, CellsShowWhereTheirPictureCameFrom)
{
    EXPECT_EQ(actions().pictureHint(0), "Blackout.Glyph (TSpeedButton)\nC:\\panels\\club.kvr");
    EXPECT_EQ(window.pictureGrid().onCellHint(1, 0), "Background.Picture (TImage)\nC:\\panels\\club.kvr");
    EXPECT_EQ(window.pictureGrid().onCellHint(2, 0), "");
    EXPECT_EQ(actions().suggestedFileName(0), "club-Blackout.png");
}

TEST_F(GridActions, CtrlSSavesTheSelectedPictureAsPngOrBmpKeepingItsColours)
{
    activate();
    ASSERT_TRUE(window.pictureGrid().selectCell(0, 0));
    const QString png = QString::fromStdString((folder / "chosen.png").string());
    dialogs->file = PictureSaveTarget{png, PictureFileFormat::Png};
    QTest::keyClick(&window.pictureGrid(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs->suggested.endsWith("/club-Blackout.png")) << dialogs->suggested.toStdString();

    const QString bmp = QString::fromStdString((folder / "chosen.bmp").string());
    dialogs->file = PictureSaveTarget{bmp, PictureFileFormat::Bmp};
    actions().savePicture(0);
    for (const QString& path : {png, bmp}) {
        const QImage saved(path);
        ASSERT_EQ(saved.size(), QSize(48, 32)) << path.toStdString();
        EXPECT_EQ(saved.format(), QImage::Format_Indexed8) << path.toStdString();
        EXPECT_EQ(saved.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(saved.pixel(1, 0) & 0xFFFFFF, 0x00FF00u);
        EXPECT_EQ(saved.pixel(2, 0) & 0xFFFFFF, 0x0000FFu);
    }
    EXPECT_TRUE(dialogs->suggested.startsWith(QString::fromStdString(folder.string())));  // the last folder

    // Nothing to save: the empty picture, a cancelled dialog.
    fs::remove(folder / "chosen.png");
    actions().savePicture(1);
    dialogs->file.reset();
    actions().savePicture(0);
    EXPECT_FALSE(fs::exists(folder / "chosen.png"));
    EXPECT_TRUE(messages.empty());
}

TEST(PictureSaveTarget, TheNameOrTheChosenFilterDecidesTheFormat)
{
    EXPECT_EQ(pictureSaveTarget("/a/b", false).path, "/a/b.png");
    const PictureSaveTarget bmp = pictureSaveTarget("/a/b", true);
    EXPECT_EQ(bmp.path, "/a/b.bmp");
    EXPECT_EQ(bmp.format, PictureFileFormat::Bmp);
    EXPECT_EQ(pictureSaveTarget("/a/b.BMP", false).format, PictureFileFormat::Bmp);
    EXPECT_EQ(pictureSaveTarget("/a/b.png", true).format, PictureFileFormat::Png);
}

TEST_F(GridActions, AFailedSaveNamesTheFileAndLeavesNothingUnderItsName)
{
    const std::string missing = (folder / "missing" / "x.png").string();
    dialogs->file = PictureSaveTarget{QString::fromStdString(missing), PictureFileFormat::Png};
    actions().savePicture(0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].toStdString(), "Cannot write " + missing + ": No such file or directory");

    const std::string full = (folder / "full.bmp").string();
    dialogs->file = PictureSaveTarget{QString::fromStdString(full), PictureFileFormat::Bmp};
    {
        testing::FileSizeLimit limit(100);  // the disk fills before the picture is written
        actions().savePicture(0);
    }
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].toStdString(), "Cannot write " + full + ": File too large");
    EXPECT_TRUE(testing::fileNames(folder.string()).empty());
}

// The export writes what `trovelin-cli harvest --out DIR --json` writes for the same files.
TEST_F(GridActions, CtrlShiftSExportsTheSameFilesAndManifestAsTheHarvest)
{
    pictures.clear();
    RecordingLoaderHost host;
    PanelLoader loader(host, pictures, panelLoaderClasses());
    const std::vector<std::string> files = cli::expandPanelPaths({samplesFolder.string()});
    for (const std::string& file : files) loader.LoadForm(file, file == files.front());
    ASSERT_EQ(pictures.count(), 13);

    activate();
    dialogs->folder = QString::fromStdString((folder / "viewer").string());
    QTest::keyClick(&window.pictureGrid(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(messages.empty());

    std::ostringstream manifest;
    std::ostringstream progress;
    ASSERT_EQ(cli::harvest({{samplesFolder.string()}, (folder / "cli").string(), true, false, true}, manifest, progress),
              0);
    EXPECT_EQ(contents(folder / "viewer" / "pictures.json"), manifest.str());
    std::vector<std::string> written = testing::fileNames((folder / "viewer").string());
    ASSERT_EQ(written.size(), 14u);
    EXPECT_EQ(written.back(), "pictures.json");
    EXPECT_EQ(written, testing::fileNames((folder / "cli").string()));  // the harvest's pictures.json as well
    for (const std::string& name : written)
        EXPECT_EQ(contents(folder / "viewer" / name), contents(folder / "cli" / name)) << name;
}

TEST_F(GridActions, AnExportThatCannotWriteNamesTheFilesAndLeavesNoneHalfWritten)
{
    const fs::path notAFolder = folder / "file";
    std::ofstream(notAFolder) << "x";
    dialogs->folder = QString::fromStdString((notAFolder / "out").string());
    actions().exportAllPictures();
    ASSERT_EQ(messages.size(), 1u);
    const std::string out = (notAFolder / "out").string();
    EXPECT_EQ(messages[0].toStdString(), "Cannot write " + out + "/000.png: Not a directory\n"
                                         "(1 more files could not be written)");

    dialogs->folder = QString::fromStdString((folder / "full").string());
    {
        testing::FileSizeLimit limit(40);
        actions().exportAllPictures();
    }
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[1].startsWith(QString::fromStdString("Cannot write " + (folder / "full").string() +
                                                              "/000.png: File too large\n")));
    EXPECT_TRUE(testing::fileNames((folder / "full").string()).empty());
}

TEST_F(GridActions, ADragCarriesTheImageAndAPngFileAndAnEmptyPictureNone)
{
    const std::unique_ptr<QMimeData> data = actions().dragData(0);
    ASSERT_TRUE(data);
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(48, 32));
    EXPECT_TRUE(data->hasFormat("image/png"));
    ASSERT_EQ(data->urls().size(), 1);
    const QUrl url = data->urls().front();
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_TRUE(url.fileName() == "club-Blackout.png");
    const QImage file(url.toLocalFile());
    ASSERT_EQ(file.size(), QSize(48, 32));
    EXPECT_EQ(file.pixel(1, 0) & 0xFFFFFF, 0x00FF00u);

    EXPECT_FALSE(actions().dragData(1));
}

TEST_F(GridActions, ADragStartsFromTheCellWhereTheButtonWentDown)
{
    std::vector<std::pair<int, int>> started;
    TDrawGrid& grid = window.pictureGrid();
    grid.onStartDrag = [&started](int col, int row) { started.emplace_back(col, row); };
    QWidget* viewport = grid.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(70, 10));
    QMouseEvent small(QEvent::MouseMove, QPointF(71, 11), viewport->mapToGlobal(QPointF(71, 11)), Qt::NoButton,
                      Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &small);
    EXPECT_TRUE(started.empty());
    for (int step = 0; step < 2; ++step) {
        QMouseEvent far(QEvent::MouseMove, QPointF(10, 90), viewport->mapToGlobal(QPointF(10, 90)), Qt::NoButton,
                        Qt::LeftButton, {});
        QCoreApplication::sendEvent(viewport, &far);
    }
    EXPECT_EQ(started, (std::vector<std::pair<int, int>>{{1, 0}}));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(10, 90));
}

// A 24-bit picture whose left half is `left` and right half `right` (0xRRGGBB).
TBitmap halves(int width, int height, std::uint32_t left, std::uint32_t right)
{
    auto image = std::make_shared<DibImage>(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour = x < width / 2 ? left : right;
            std::uint8_t* pixel = image->scanLine(y) + 3 * x;
            pixel[0] = colour & 0xFF;
            pixel[1] = (colour >> 8) & 0xFF;
            pixel[2] = (colour >> 16) & 0xFF;
        }
    TBitmap bitmap;
    bitmap.setImage(std::move(image));
    return bitmap;
}

std::uint32_t rgbAt(QWidget& widget, int x, int y) { return widget.grab().toImage().pixel(x, y) & 0xFFFFFF; }

TEST_F(GridActions, FitPicturesInCellsScalesLargePicturesDownAndIsRemembered)
{
    constexpr std::uint32_t red = 0xFF0000, blue = 0x0000FF, green = 0x00FF00, background = 0xFFF7E8;
    pictures.append(halves(260, 130, red, blue));
    pictures.append(halves(1000, 800, green, green));  // too large to scale within a paint
    QWidget& viewport = *window.pictureGrid().viewport();
    // Cell (2, 0) starts at x 132; at their own size the pictures overlap it from both sides.
    EXPECT_EQ(rgbAt(viewport, 137, 5), green);

    choose = "Fit Pictures in Cells";
    rightClick(0, 0);
    EXPECT_EQ(menuEntries.back(), "Fit Pictures in Cells");
    EXPECT_TRUE(window.fitPictures());
    // 260 x 130 fits as 65 x 32, 16 rows down; the large picture's cell waits for its thumbnail.
    EXPECT_EQ(rgbAt(viewport, 137, 5), background);
    EXPECT_EQ(rgbAt(viewport, 137, 30), red);
    EXPECT_EQ(rgbAt(viewport, 190, 30), blue);
    EXPECT_EQ(rgbAt(viewport, 198 + 32, 32), background);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rgbAt(viewport, 198 + 32, 32) == green; }, 5000));
    EXPECT_EQ(rgbAt(viewport, 198 + 32, 3), background);
    // Small pictures keep their own size.
    EXPECT_EQ(rgbAt(viewport, 8 + 1, 16), green);

    // Selection and the clipboard keep to the picture itself.
    QTest::mouseClick(&viewport, Qt::LeftButton, {}, QPoint(140, 30));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(260, 130));
    EXPECT_EQ(window.statusText(0), "260x130");

    PictureList otherPictures;
    {
        TTrovelin next{otherPictures, fileSystem, shell};
        EXPECT_TRUE(next.fitPictures());
    }
    rightClick(0, 0);
    EXPECT_EQ(menuEntries.back(), "Fit Pictures in Cells (on)");
    EXPECT_FALSE(window.fitPictures());
    EXPECT_EQ(rgbAt(viewport, 137, 5), green);
    TTrovelin last{otherPictures, fileSystem, shell};
    EXPECT_FALSE(last.fitPictures());
}

TEST(PictureThumbnails, AreMadeOncePerPictureAndCellSizeAndNotKeptForAReloadedList)
{
    testing::ensureWidgetApplication();
    PictureThumbnails thumbnails;
    QImage target(200, 200, QImage::Format_RGB32);
    TCanvas canvas(target);
    TBitmap picture = halves(130, 130, 0xFF0000, 0x0000FF);
    thumbnails.drawFitted(canvas, {0, 0, 65, 65}, 0, picture);
    thumbnails.drawFitted(canvas, {66, 0, 131, 65}, 0, picture);
    EXPECT_EQ(thumbnails.madeCount(), 1);
    thumbnails.drawFitted(canvas, {0, 0, 100, 100}, 0, picture);
    EXPECT_EQ(thumbnails.madeCount(), 2);
    // Another list's picture at the same place gets a thumbnail of its own.
    TBitmap reloaded = halves(130, 130, 0xFF0000, 0x0000FF);
    thumbnails.drawFitted(canvas, {0, 0, 100, 100}, 0, reloaded);
    EXPECT_EQ(thumbnails.madeCount(), 3);

    // A thumbnail made on a worker for a list that was reloaded meanwhile is not shown.
    TBitmap large = halves(1000, 800, 0x00FF00, 0x00FF00);
    int ready = 0;
    thumbnails.onReady = [&ready] { ++ready; };
    thumbnails.drawFitted(canvas, {0, 0, 65, 65}, 1, large);
    thumbnails.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return thumbnails.pendingCount() == 0; }, 5000));
    EXPECT_EQ(ready, 0);
    thumbnails.drawFitted(canvas, {0, 0, 65, 65}, 1, large);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready == 1; }, 5000));
    thumbnails.drawFitted(canvas, {0, 0, 65, 65}, 1, large);
    EXPECT_EQ(thumbnails.madeCount(), 5);
    EXPECT_EQ(QColor(target.pixel(32, 32)).rgb() & 0xFFFFFF, 0x00FF00u);
}

}  // namespace
}  // namespace trovelin
