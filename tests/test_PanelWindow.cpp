// The live panel window: at rest it shows exactly what `render` paints, on every sample and on a
// panel of every class; driven through Qt's event path its controls drag, latch and take the
// focus; it reads the file again, saves what it shows, offers a reload when the file changes, and
// stops its controls' timers when it closes. The file list opens it from its menu and Ctrl+Enter.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "app/PanelWindow.h"
#include "app/ViewerAccessibility.h"
#include "app/ShowPanel.h"
#include "app/Trovelinc.h"
#include "app/ViewerCommandLine.h"
#include "browse/FileListView.h"
#include "browse/Itemprop.h"
#include "framework/Control.h"
#include "gallery/PanelRender.h"
#include "panelctl/Fader.h"
#include "panelctl/Multibut.h"
#include "panelfile/PictureList.h"
#include "platform/PosixFileSystem.h"
#include "support/BareDesktop.h"
#include "support/BmpWriter.h"
#include "support/EveryPropertyPanel.h"
#include "support/FileWriter.h"
#include "support/FinishFolderLoad.h"
#include "support/GuiApplication.h"
#include "support/NoShell.h"
#include "support/PanelFileWriter.h"
#include "support/PixelProbe.h"
#include "support/PngReference.h"
#include "support/RecordWriter.h"
#include "support/SamplePanels.h"
#include "widgets/ControlHostAccessible.h"
#include "widgets/ControlHostWidget.h"

namespace trovelin {
namespace {

using namespace testing;
namespace fs = std::filesystem;

std::vector<std::uint8_t> placedRecord(std::string_view className, std::string_view name, int left, int top,
                                       std::function<void(RecordWriter&)> more = {})
{
    RecordWriter w;
    w.beginRecord(className, name).property("Left").integer(left).property("Top").integer(top);
    if (more) more(w);
    w.end().end();
    return w.bytes();
}

std::vector<PanelWindow*> openPanelWindows()
{
    std::vector<PanelWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = dynamic_cast<PanelWindow*>(widget); window != nullptr && window->isVisible())
            windows.push_back(window);
    return windows;
}

class PanelWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ensureWidgetApplication();
        installViewerAccessibility();
    }
    PanelWindowTest() { fs::create_directories(folder); }
    ~PanelWindowTest() override
    {
        for (PanelWindow* window : openPanelWindows()) delete window;
        fs::remove_all(folder);
    }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = (folder / name).string();
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }
    std::string writePanel(const std::string& name, std::vector<std::vector<std::uint8_t>> records)
    {
        PanelFileContent content;
        content.records = std::move(records);
        return write(name, writePanelFile(content));
    }
    std::string desk()
    {
        for (const SamplePanel& sample : samplePanels())
            if (sample.fileName == "console-desk.kvr") return write(sample.fileName, sample.bytes);
        return {};
    }
    PanelWindow& open(const std::string& path)
    {
        QString problem;
        PanelWindow* window = PanelWindow::open(path, nullptr, problem);
        EXPECT_NE(window, nullptr) << problem.toStdString();
        return *window;
    }
    template <class T> static T& control(PanelWindow& window, const char* name)
    {
        for (TControl* child : window.face()->controls())
            if (child->name() == name) return dynamic_cast<T&>(*child);
        throw std::runtime_error(std::string("no control ") + name);
    }
    static QPoint at(PanelWindow& window, const char* name, int x, int y)
    {
        const TControl& found = control<TControl>(window, name);
        return {found.left() + x, found.top() + y};
    }
    static QImage shown(PanelWindow& window)
    {
        return window.host()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    fs::path folder = fs::temp_directory_path() / ("trovelin-panel-window-" + std::to_string(::getpid()));
};

TEST_F(PanelWindowTest, AtRestTheWindowShowsWhatRenderPaints)
{
    std::vector<std::string> files;
    for (const SamplePanel& sample : samplePanels()) files.push_back(write(sample.fileName, sample.bytes));
    files.push_back(write("every-class.kvr", everyLoaderClassPanel()));
    const auto outlineSize = [](RecordWriter& w) { w.property("Width").integer(30).property("Height").integer(20); };
    files.push_back(writePanel("outline.kvr", {redCornerBackgroundRecord(100, 60),
                                               placedRecord("TMystery", "Odd1", 50, 20, outlineSize)}));
    for (const std::string& file : files) {
        PanelWindow& window = open(file);
        const QImage rendered = renderPanel(file).image;
        ASSERT_FALSE(rendered.isNull()) << file;
        EXPECT_EQ(shown(window), rendered) << file;
        EXPECT_EQ(window.windowTitle().toStdString(), fs::path(file).filename().string());
        window.close();
    }
}

TEST_F(PanelWindowTest, AFaderDragsAndTheEventLineFollowsIt)
{
    PanelWindow& window = open(desk());
    ControlHostWidget& host = *window.host();
    TFader& fader = control<TFader>(window, "Fader1");
    EXPECT_EQ(fader.position(), 200);
    QTest::mousePress(&host, Qt::LeftButton, {}, at(window, "Fader1", 20, 9));  // the top of the travel
    EXPECT_EQ(fader.position(), 255);
    EXPECT_EQ(window.lastEvent(), "Fader1, Change, 255");
    QTest::mouseMove(&host, at(window, "Fader1", 20, 90));
    QTest::mouseRelease(&host, Qt::LeftButton, {}, at(window, "Fader1", 20, 90));
    EXPECT_LT(fader.position(), 255);
    EXPECT_EQ(window.lastEvent().toStdString(), "Fader1, Change, " + std::to_string(fader.position()));

    // Reset reads the file again: the fader is back at its stored place.
    QTest::mouseClick(window.findChild<QPushButton*>("reset"), Qt::LeftButton);
    EXPECT_EQ(control<TFader>(window, "Fader1").position(), 200);
}

TEST_F(PanelWindowTest, FitZoomsByWholeFactorsAndThePointerStillFindsItsControl)
{
    PanelWindow& window = open(desk());
    window.resize(1200, 900);
    QTest::mouseClick(window.findChild<QPushButton*>("fit"), Qt::LeftButton);
    EXPECT_EQ(window.zoom(), 2);
    EXPECT_EQ(window.host()->size(), QSize(960, 600));
    const QPoint top = at(window, "Fader1", 20, 9);
    QTest::mouseClick(window.host(), Qt::LeftButton, {}, top * 2 + QPoint(1, 1));
    EXPECT_EQ(window.lastEvent(), "Fader1, Change, 255");

    window.resize(300, 250);  // smaller than the panel: Fit shrinks it
    EXPECT_LT(window.zoom(), 1);
    QTest::mouseClick(window.findChild<QPushButton*>("actualSize"), Qt::LeftButton);
    EXPECT_EQ(window.zoom(), 1);
    EXPECT_EQ(window.host()->size(), QSize(480, 300));
}

TEST_F(PanelWindowTest, TabMovesTheFocusAndAButtonLatchesWhileEscClosesNothing)
{
    auto groupBox = [](RecordWriter& w) {
        w.property("Width").integer(60).property("Height").integer(40).property("TabStop").boolean(true);
    };
    PanelWindow& window = open(writePanel(
        "focus.kvr", {redCornerBackgroundRecord(200, 120), placedRecord("TGroupBox", "First", 0, 0, groupBox),
                      placedRecord("TMultiButton", "Latch", 70, 0,
                                   [](RecordWriter& w) {
                                       w.property("Width").integer(40).property("Height").integer(40);
                                       w.property("GroupIndex").integer(1).property("AllowAllUp").boolean(true);
                                   }),
                      placedRecord("TGroupBox", "Second", 120, 0, groupBox)}));
    ControlHostWidget& host = *window.host();
    QTest::keyClick(&host, Qt::Key_Tab);
    EXPECT_TRUE(control<TWinControl>(window, "First").focused());
    // The button between them is a stop of the keyboard, though not of the framework's focus.
    QTest::keyClick(&host, Qt::Key_Tab);
    EXPECT_EQ(host.currentStop()->control->name(), "Latch");
    EXPECT_EQ(window.lastEvent(), "First, Exit");  // one focus at a time
    QTest::keyClick(&host, Qt::Key_Space);
    EXPECT_EQ(window.lastEvent(), "Latch, Click, down");
    auto* panel = dynamic_cast<AccessibleControlHost*>(QAccessible::queryAccessibleInterface(&host));
    ASSERT_NE(panel, nullptr);
    QAccessibleInterface* latch = panel->itemOf(*host.currentStop());
    EXPECT_EQ(latch->text(QAccessible::Name), "Latch");
    EXPECT_TRUE(latch->state().checkable && latch->state().checked && latch->state().focusable);
    QTest::keyClick(&host, Qt::Key_Space);
    EXPECT_EQ(window.lastEvent(), "Latch, Click, up");
    QTest::keyClick(&host, Qt::Key_Tab);
    EXPECT_TRUE(control<TWinControl>(window, "Second").focused());
    EXPECT_EQ(window.lastEvent(), "Second, Enter");

    QTest::mouseClick(&host, Qt::LeftButton, {}, at(window, "Latch", 20, 20));
    EXPECT_TRUE(control<TMultiButton>(window, "Latch").down());
    EXPECT_EQ(window.lastEvent(), "Latch, Click, down");
    QTest::mouseClick(&host, Qt::LeftButton, {}, at(window, "Latch", 20, 20));
    EXPECT_FALSE(control<TMultiButton>(window, "Latch").down());

    QTest::keyClick(&host, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(PanelWindowTest, TheKeysWorkEveryControlOfTheDeskAndTabGoesOnToTheWindowsButtons)
{
    PanelWindow& window = open(desk());
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ControlHostWidget& host = *window.host();
    ASSERT_TRUE(host.hasFocus());
    std::vector<std::string> visited;
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_TRUE(host.currentStop());
        visited.push_back(host.currentStop()->control->name());
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"Fader1", "Fader2", "Fader3", "Crossfade", "Speed", "Size", "Scene1",
                                                 "Scene2", "Red", "Blue"}));
    // After the last control the window's own buttons; Shift+Tab comes back to the panel's last.
    QTest::keyClick(&host, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.findChild<QPushButton*>("actualSize"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), &host);
    EXPECT_EQ(host.currentStop()->control->name(), "Blue");

    // Values: a step, a page, the ends; each raises the change the mouse would.
    for (int i = 0; i < 9; ++i) QTest::keyClick(&host, Qt::Key_Backtab);
    ASSERT_EQ(host.currentStop()->control->name(), "Fader1");
    TFader& fader = control<TFader>(window, "Fader1");
    QTest::keyClick(&host, Qt::Key_Up);
    EXPECT_EQ(window.lastEvent(), "Fader1, Change, 201");
    QTest::keyClick(&host, Qt::Key_PageDown);
    EXPECT_EQ(fader.position(), 201 - 15);
    QTest::keyClick(&host, Qt::Key_Home);
    EXPECT_EQ(window.lastEvent(), "Fader1, Change, 0");
    QTest::keyClick(&host, Qt::Key_Left);  // at the end: nothing changes, nothing is said
    EXPECT_EQ(window.lastEvent(), "Fader1, Change, 0");
    QTest::keyClick(&host, Qt::Key_End);
    EXPECT_EQ(fader.position(), 255);

    // A click moves the keyboard to the control clicked; Space presses a button.
    QTest::mouseClick(&host, Qt::LeftButton, {}, at(window, "Speed", 30, 30));
    EXPECT_EQ(host.currentStop()->control->name(), "Speed");
    QTest::keyClick(&host, Qt::Key_Tab);
    QTest::keyClick(&host, Qt::Key_Tab);
    QTest::keyClick(&host, Qt::Key_Space);
    EXPECT_EQ(window.lastEvent().left(13), "Scene1, Click");
}

// Every object under `item`, depth first.
void collectAccessible(QAccessibleInterface* item, std::vector<QAccessibleInterface*>& all)
{
    for (int i = 0; i < item->childCount(); ++i) {
        all.push_back(item->child(i));
        collectAccessible(item->child(i), all);
    }
}

TEST_F(PanelWindowTest, EveryControlOfEverySampleIsNamedAndTheValuesOfTheFieldAndMixerAreSlidersOfTheirOwn)
{
    for (const SamplePanel& sample : samplePanels()) {
        PanelWindow& window = open(write(sample.fileName, sample.bytes));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(&window)->role(), QAccessible::Window);
        QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(window.host());
        std::vector<QAccessibleInterface*> all;
        collectAccessible(panel, all);
        EXPECT_GE(all.size(), window.face()->controls().size()) << sample.fileName;
        for (QAccessibleInterface* item : all) {
            EXPECT_FALSE(item->text(QAccessible::Name).isEmpty()) << sample.fileName;
            EXPECT_NE(item->role(), QAccessible::Client) << item->text(QAccessible::Name).toStdString();
            EXPECT_EQ(item->parent()->child(item->parent()->indexOfChild(item)), item);
            if (item->role() == QAccessible::Slider || item->role() == QAccessible::Dial) {
                EXPECT_NE(item->valueInterface(), nullptr) << item->text(QAccessible::Name).toStdString();
            }
            if (item->role() == QAccessible::Button) {
                ASSERT_NE(item->actionInterface(), nullptr);
                EXPECT_TRUE(item->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
            }
        }
        if (sample.fileName != "moving-heads.kvr") continue;
        QAccessibleInterface* field = nullptr;
        QAccessibleInterface* mixer = nullptr;
        for (QAccessibleInterface* item : all) {
            if (item->text(QAccessible::Name) == "PanTilt") field = item;
            if (item->text(QAccessible::Name) == "Colour mixer") mixer = item;
        }
        ASSERT_TRUE(field && mixer);
        EXPECT_EQ(field->role(), QAccessible::Grouping);
        ASSERT_EQ(field->childCount(), 2);
        EXPECT_EQ(field->child(0)->text(QAccessible::Name), "X");
        EXPECT_EQ(field->child(1)->valueInterface()->currentValue().toInt(), 180);
        field->child(1)->valueInterface()->setCurrentValue(300);  // limited, as a drag is
        EXPECT_EQ(window.lastEvent(), "PanTilt, Change, 100, 255");
        ASSERT_EQ(mixer->childCount(), 3);
        EXPECT_EQ(mixer->child(1)->text(QAccessible::Name), "Magenta");
        QAccessibleValueInterface* magenta = mixer->child(1)->valueInterface();
        const int before = magenta->currentValue().toInt();
        mixer->child(1)->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        EXPECT_EQ(magenta->currentValue().toInt(), before + 1);
        EXPECT_EQ(window.lastEvent().left(10), ", Change, ");
        window.close();
    }
}

// A screen reader reads a panel one object at a time: each of a thousand faders costs a walk of
// the panel, not a walk per fader (which took the best part of a minute). A value that is not a
// number leaves the fader where it was; a fader larger than any screen is where the panel shows it.
TEST_F(PanelWindowTest, AScreenReaderReadsAThousandFadersQuicklyAndHostileValuesStayInBounds)
{
    std::vector<std::vector<std::uint8_t>> records{redCornerBackgroundRecord(20, 20)};
    for (int i = 0; i < 1000; ++i)
        records.push_back(placedRecord("TSlider", "F" + std::to_string(i), i % 50 * 20, i / 50 * 100, [](RecordWriter& w) {
            w.property("Width").integer(20).property("Height").integer(100);
        }));
    records.push_back(placedRecord("TSlider", "Huge", 10, 10, [](RecordWriter& w) {
        w.property("Width").integer(INT32_MAX).property("Height").integer(INT32_MAX);
    }));
    PanelWindow& window = open(writePanel("thousand.kvr", records));
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(window.host());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(panel->childCount(), 1002);
    for (int i = 0; i < panel->childCount(); ++i) {
        QAccessibleInterface* item = panel->child(i);
        EXPECT_EQ(item->parent()->indexOfChild(item), i);
        EXPECT_FALSE(item->text(QAccessible::Name).isEmpty());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    QAccessibleValueInterface* fader = panel->child(1)->valueInterface();
    fader->setCurrentValue(100);
    fader->setCurrentValue(std::nan(""));
    EXPECT_EQ(fader->currentValue().toInt(), 100);
    EXPECT_EQ(window.lastEvent(), "F0, Change, 100");
    fader->setCurrentValue(-1e300);
    EXPECT_EQ(window.lastEvent(), "F0, Change, 0");

    const QRect shown(window.host()->mapToGlobal(QPoint(0, 0)), window.host()->size());
    EXPECT_TRUE(shown.contains(panel->child(1001)->rect())) << panel->child(1001)->rect().width();
    window.setFitToWindow(true);
    EXPECT_TRUE(shown.contains(panel->child(1001)->rect()));
}

// What a screen reader finds under the pointer is what the mouse would press there, not the
// background that every control is painted over.
TEST_F(PanelWindowTest, AScreenReaderPointingAtAControlFindsIt)
{
    PanelWindow& window = open(desk());
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(window.host());
    for (const char* name : {"Fader1", "Speed", "Red"}) {
        const QPoint point = window.host()->mapToGlobal(at(window, name, 5, 5));
        QAccessibleInterface* found = panel->childAt(point.x(), point.y());
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->text(QAccessible::Name).toStdString(), name);
    }
}

TEST_F(PanelWindowTest, AFailedLoadShowsWhatWasReadAndTheMessageWhileANonPanelOpensNoWindow)
{
    RecordWriter broken;
    broken.beginRecord("TLabel", "Bad").property("Caption").integer(5).end().end();
    PanelWindow& window = open(writePanel("broken.kvr", {redCornerBackgroundRecord(20, 20), broken.bytes()}));
    EXPECT_NE(window.problemText().indexOf("Invalid property value"), -1) << window.problemText().toStdString();
    EXPECT_EQ(colorAt(shown(window), 0, 0), 0x0000FFu);  // the background read before the failure

    QString problem;
    EXPECT_EQ(PanelWindow::open(write("notes.kvr", {'n', 'o', 't', 'e', 's', 0, 0}), nullptr, problem), nullptr);
    EXPECT_EQ(problem, "Not KVR Format !!!");
    EXPECT_EQ(PanelWindow::open((folder / "gone.kvr").string(), nullptr, problem), nullptr);
    EXPECT_TRUE(problem.startsWith("Cannot open file")) << problem.toStdString();
}

TEST_F(PanelWindowTest, SaveImageWritesWhatThePanelShowsNowAndAChangedFileOffersAReload)
{
    const std::string file = desk();
    PanelWindow& window = open(file);
    QTest::mousePress(window.host(), Qt::LeftButton, {}, at(window, "Fader1", 20, 9));
    QTest::mouseRelease(window.host(), Qt::LeftButton, {}, at(window, "Fader1", 20, 9));
    const std::string png = (folder / "desk.png").string();
    window.chooseImageFile = [&png](const QString&) { return QString::fromStdString(png); };
    QTest::mouseClick(window.findChild<QPushButton*>("saveImage"), Qt::LeftButton);
    EXPECT_EQ(window.lastEvent(), "Saved desk.png");
    const auto saved = readPngFile(png);
    ASSERT_TRUE(saved);
    const QImage now = window.currentImage();
    EXPECT_NE(now, renderPanel(file).image);  // the fader moved
    for (const QPoint p : {QPoint(0, 0), at(window, "Fader1", 20, 9), QPoint(375, 55)})
        EXPECT_EQ(saved->rgbAt(p.x(), p.y()), now.pixel(p) & 0xFFFFFFu);

    EXPECT_FALSE(window.reloadOffered());
    writePanel("console-desk.kvr", {redCornerBackgroundRecord(30, 20)});
    const QDeadlineTimer deadline(5000);
    while (!window.reloadOffered() && !deadline.hasExpired()) QTest::qWait(20);
    EXPECT_TRUE(window.reloadOffered());
    EXPECT_EQ(window.face()->width(), 480);  // never read again by itself
    QTest::mouseClick(window.findChild<QPushButton*>("reload"), Qt::LeftButton);
    EXPECT_FALSE(window.reloadOffered());
    EXPECT_EQ(window.face()->width(), 30);
}

TEST_F(PanelWindowTest, ClosingStopsEveryTimerItsControlsStarted)
{
    PanelWindow& window = open(desk());
    QPointer<PanelWindow> guard(&window);
    // A right press steps the fader and repeats while held.
    QTest::mousePress(window.host(), Qt::RightButton, {}, at(window, "Fader1", 20, 90));
    EXPECT_EQ(window.runningTimers(), 1u);
    window.close();
    EXPECT_EQ(window.runningTimers(), 0u);
    QTest::qWait(600);  // past the first repeat: a timer left behind would fire on freed controls
    EXPECT_TRUE(guard.isNull());
}

// The file list's own command for panel files: first in the menu and bold, and Ctrl+Enter.
TEST_F(PanelWindowTest, TheFileListOpensAPanelFromItsMenuAndWithCtrlEnter)
{
    desk();
    write("notes.kvr", {'n', 'o', 't', 'e', 's', 0, 0});
    PictureList pictures;
    PosixFileSystem fileSystem;
    NoShell shell;
    TTrovelin browser{pictures, fileSystem, shell};
    browser.messageBox = [](const QString&, const QString&) {};
    testing::BareDesktop desktop;
    ShellItemActions actions(fileSystem, desktop);
    ShowPanelCommand showPanel(browser);
    actions.contentCommand = &showPanel;
    QString firstEntry;
    bool firstIsBold = false;
    actions.popupMenu = [&](QMenu& menu, QPoint) -> QAction* {
        for (QAction* action : menu.actions())
            if (action->isEnabled() && !action->isSeparator()) {
                firstEntry = action->text();
                firstIsBold = action->font().bold();
                return action;
            }
        return nullptr;
    };
    browser.setItemActions(&actions);
    browser.resize(800, 600);
    browser.FormShow(fileSystem.drives().toWindowsPath(folder.string()).value());
    finishFolderLoad(browser);
    QTreeView* report = browser.fileListView().reportView();
    auto rowOf = [&](const std::string& caption) {
        int row = 0;
        while (browser.fileList().items()[static_cast<std::size_t>(row)].caption != caption) ++row;
        return report->visualRect(report->model()->index(row, 0)).center();
    };

    QTest::mouseClick(report->viewport(), Qt::RightButton, {}, rowOf("console-desk.kvr"));
    EXPECT_EQ(firstEntry, "Show Panel");
    EXPECT_TRUE(firstIsBold);
    ASSERT_EQ(openPanelWindows().size(), 1u);
    EXPECT_EQ(openPanelWindows()[0]->windowTitle(), "console-desk.kvr");
    delete openPanelWindows()[0];

    QTest::mouseClick(report->viewport(), Qt::RightButton, {}, rowOf("notes.kvr"));
    EXPECT_EQ(firstEntry, "Show Panel");
    EXPECT_TRUE(openPanelWindows().empty());
    EXPECT_EQ(browser.statusText(0), "Not KVR Format !!!");

    QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, rowOf("console-desk.kvr"));
    QTest::keyClick(report, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(openPanelWindows().size(), 1u);
}

TEST(PanelCommandLine, PanelTakesOneFileAndNothingElse)
{
    using Action = ViewerCommandLine::Action;
    const ViewerCommandLine panel = parseViewerCommandLine({"--panel", "desk.kvr"});
    EXPECT_EQ(panel.action, Action::ShowPanel);
    EXPECT_EQ(panel.path, "desk.kvr");
    EXPECT_EQ(parseViewerCommandLine({"--panel"}).error, "--panel needs a FILE");
    EXPECT_EQ(parseViewerCommandLine({"--panel", "a.kvr", "b.kvr"}).action, Action::UsageError);
    EXPECT_EQ(parseViewerCommandLine({"--panel", "--gallery", "a.kvr"}).action, Action::UsageError);
    EXPECT_NE(viewerHelpText().find("--panel FILE"), std::string::npos);
}

}  // namespace
}  // namespace trovelin
