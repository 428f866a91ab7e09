// The panel window used as a person uses it: it opens at the panel's size inside the screen, drags
// and auto-repeats exactly under Fit, gives the pointer back when a drag is cut short, follows its
// file on disk through deletion and return, keeps its bars and event line from growing the window,
// opens a panel once, and saves only what it can write where the panel lives.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include <QApplication>
#include <QCursor>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include "app/PanelWindow.h"
#include "framework/Control.h"
#include "panelctl/Fader.h"
#include "panelctl/FieldxyGeometry.h"
#include "panelctl/Fieldxym.h"
#include "panelctl/Multibut.h"
#include "gallery/PanelRender.h"
#include "support/FileWriter.h"
#include "support/GuiApplication.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"
#include "support/SamplePanels.h"
#include "widgets/ControlHostWidget.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;

class PanelWindowUseTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }
    PanelWindowUseTest() { fs::create_directories(folder); }
    ~PanelWindowUseTest() override
    {
        // Deleting one window may delete other top-level widgets (its hints) with it.
        QList<QPointer<QWidget>> windows;
        for (QWidget* widget : QApplication::topLevelWidgets()) windows << widget;
        for (const QPointer<QWidget>& widget : windows)
            if (dynamic_cast<PanelWindow*>(widget.data()) != nullptr) delete widget.data();
        fs::remove_all(folder);
    }

    static std::vector<std::uint8_t> sampleBytes(const std::string& name)
    {
        for (const testing::SamplePanel& panel : testing::samplePanels())
            if (panel.fileName == name) return panel.bytes;
        return {};
    }
    std::string sample(const std::string& name) { return write(name, sampleBytes(name)); }
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = (folder / name).string();
        EXPECT_TRUE(testing::writeFile(path, bytes));
        return path;
    }
    std::string writePanel(const std::string& name, std::vector<std::vector<std::uint8_t>> records)
    {
        testing::PanelFileContent content;
        content.records = std::move(records);
        return write(name, testing::writePanelFile(content));
    }
    PanelWindow& open(const std::string& path)
    {
        QString problem;
        PanelWindow* window = PanelWindow::open(path, nullptr, problem);
        EXPECT_NE(window, nullptr) << problem.toStdString();
        // Shortcuts go to the window that has the platform's focus.
        window->windowHandle()->requestActivate();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window->windowHandle()));
        return *window;
    }
    template <class T> static T& control(PanelWindow& window, const char* name)
    {
        for (TControl* child : window.face()->controls())
            if (child->name() == name) return dynamic_cast<T&>(*child);
        throw std::runtime_error(std::string("no control ") + name);
    }
    // A point of the panel in the host's pixels, at the window's zoom.
    static QPoint onScreen(PanelWindow& window, const TControl& control, TPoint inside)
    {
        return QPointF((control.left() + inside.x) * window.zoom(), (control.top() + inside.y) * window.zoom()).toPoint();
    }
    static void fitAtTwice(PanelWindow& window)
    {
        window.resize(1200, 900);
        QTest::mouseClick(window.findChild<QPushButton*>("fit"), Qt::LeftButton);
        ASSERT_EQ(window.zoom(), 2);
    }
    // Drags the XY field's ball by `steps` moves of `pixels` screen pixels right and down, each
    // from where the field put the pointer back, as a hand on a mouse does.
    static std::pair<int, int> dragBall(PanelWindow& window, int steps, int pixels)
    {
        ControlHostWidget& host = *window.host();
        TFieldXY& field = control<TFieldXY>(window, "PanTilt");
        const auto moveTo = [&host](QPoint at) {
            QCursor::setPos(host.mapToGlobal(at));
            QTest::mouseMove(&host, at);
        };
        const QPoint ball = onScreen(window, field, fieldBallCentre(field.storedX(), field.storedY(), field.scale()));
        moveTo(ball);
        QTest::mousePress(&host, Qt::LeftButton, {}, ball);
        for (int i = 0; i < steps; ++i) moveTo(host.mapFromGlobal(QCursor::pos()) + QPoint(pixels, pixels));
        QTest::mouseRelease(&host, Qt::LeftButton, {}, host.mapFromGlobal(QCursor::pos()));
        return {field.getX(), field.getY()};
    }

    fs::path folder = fs::temp_directory_path() / ("trovelin-panel-use-" + std::to_string(::getpid()));
};

TEST_F(PanelWindowUseTest, OpensShowingTheWholePanelAtOneToOneWithinTheScreen)
{
    for (const char* name : {"club-stage.kvr", "theatre-sunset.kvr"}) {
        PanelWindow& window = open(sample(name));
        auto* scroller = window.findChild<QScrollArea*>();
        EXPECT_EQ(scroller->viewport()->size(), window.host()->size()) << name;
        EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible()) << name;
        EXPECT_FALSE(scroller->verticalScrollBar()->isVisible()) << name;
        window.close();
    }
    PanelWindow& large = open(writePanel("large.kvr", {testing::redCornerBackgroundRecord(2000, 1900)}));
    const QRect available = large.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(large.frameGeometry())) << large.width() << " x " << large.height();
    EXPECT_GT(large.width(), available.width() * 3 / 4);
    EXPECT_GT(large.height(), available.height() * 3 / 4);
}

TEST_F(PanelWindowUseTest, TheBallDragsUnderFitAsAtOneToOneWithHalfTheMove)
{
    const std::string heads = sample("moving-heads.kvr");
    PanelWindow& actual = open(heads);
    const auto atOneToOne = dragBall(actual, 6, 5);
    EXPECT_GT(atOneToOne.first, 100);
    actual.close();

    PanelWindow& fitted = open(heads);
    fitAtTwice(fitted);
    EXPECT_EQ(dragBall(fitted, 6, 10), atOneToOne);
}

TEST_F(PanelWindowUseTest, RightButtonRepeatStepsTowardThePointerUnderFit)
{
    PanelWindow& window = open(sample("console-desk.kvr"));
    fitAtTwice(window);
    ControlHostWidget& host = *window.host();
    TFader& fader = control<TFader>(window, "Fader1");
    const QPoint above = onScreen(window, fader, {20, 40});
    const QPoint target = above + QPoint(0, 8);
    QTest::mouseClick(&host, Qt::LeftButton, {}, above);
    QTest::mouseClick(&host, Qt::LeftButton, {}, target);
    const int wanted = fader.position();
    QTest::mouseClick(&host, Qt::LeftButton, {}, above);
    ASSERT_GT(fader.position(), wanted + 3);

    QCursor::setPos(host.mapToGlobal(target));
    QTest::mousePress(&host, Qt::RightButton, {}, target);
    QTest::qWait(2000);  // the first repeat after half a second, then ten a second
    QTest::mouseRelease(&host, Qt::RightButton, {}, target);
    EXPECT_LE(std::abs(fader.position() - wanted), 1) << fader.position() << " for " << wanted;
}

TEST_F(PanelWindowUseTest, ResetOrCloseDuringADragGivesThePointerBack)
{
    PanelWindow& window = open(sample("moving-heads.kvr"));
    const TFieldXY& field = control<TFieldXY>(window, "PanTilt");
    const QPoint ball = onScreen(window, field, fieldBallCentre(field.storedX(), field.storedY(), field.scale()));
    QTest::mousePress(window.host(), Qt::LeftButton, {}, ball);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QTest::mouseRelease(window.host(), Qt::LeftButton, {}, ball);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QTest::mousePress(window.host(), Qt::LeftButton, {}, ball);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    window.close();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PanelWindowUseTest, TheFileIsFollowedThroughDeletionReturnAndReset)
{
    const std::string file = sample("console-desk.kvr");
    const std::vector<std::uint8_t> bytes = sampleBytes("console-desk.kvr");
    PanelWindow& window = open(file);
    const auto waitFor = [&window](const QString& note) {
        const QDeadlineTimer deadline(5000);
        while (!window.fileNoteText().contains(note) && !deadline.hasExpired()) QTest::qWait(20);
        return window.fileNoteText();
    };

    fs::remove(file);
    EXPECT_EQ(waitFor("removed"), "console-desk.kvr was removed from disk.");
    EXPECT_FALSE(window.reloadOffered());
    QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);  // nothing to read: the error shows
    EXPECT_TRUE(window.problemText().startsWith("Cannot open file")) << window.problemText().toStdString();

    write("console-desk.kvr", bytes);
    EXPECT_EQ(waitFor("changed"), "console-desk.kvr changed on disk.");
    EXPECT_TRUE(window.reloadOffered());
    EXPECT_EQ(window.problemText(), "");  // the file is back: its absence is no longer the news

    QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
    EXPECT_FALSE(window.reloadOffered());
    writePanel("console-desk.kvr", {testing::redCornerBackgroundRecord(30, 20)});
    EXPECT_EQ(waitFor("changed"), "console-desk.kvr changed on disk.");
    QTest::mouseClick(window.findChild<QPushButton*>("reload"), Qt::LeftButton);
    EXPECT_EQ(window.face()->width(), 30);
    writePanel("console-desk.kvr", {testing::redCornerBackgroundRecord(40, 20)});
    EXPECT_EQ(waitFor("changed"), "console-desk.kvr changed on disk.");
}

TEST_F(PanelWindowUseTest, ThreeHundredRefusedRecordsAndALongNameLeaveTheWindowItsSize)
{
    std::vector<std::vector<std::uint8_t>> records{testing::redCornerBackgroundRecord(300, 200)};
    for (int i = 0; i < 300; ++i) {
        testing::RecordWriter w;
        w.beginRecord("TCMY", "").property("Cyan").integer(i).end().end();
        records.push_back(w.bytes());
    }
    const std::string longName = "Latch" + std::string(246, 'x');
    testing::RecordWriter latch;
    latch.beginRecord("TMultiButton", longName).property("Width").integer(40).property("Height").integer(40);
    latch.property("GroupIndex").integer(1).property("AllowAllUp").boolean(true).end().end();
    records.push_back(latch.bytes());
    PanelWindow& window = open(writePanel("odd.kvr", records));
    EXPECT_EQ(window.problemText().count(QChar(10)), 299) << window.problemText().left(300).toStdString();
    const QSize opened = window.size();
    EXPECT_LT(opened.height(), window.screen()->availableGeometry().height());
    EXPECT_LT(opened.height(), 200 + 200);  // the panel, its bars and a summary line

    // The whole list scrolls in a box a few lines high.
    QTest::mouseClick(window.findChild<QPushButton*>("problemDetails"), Qt::LeftButton);
    const auto* list = window.findChild<QPlainTextEdit*>();
    EXPECT_TRUE(list->isVisible());
    EXPECT_LT(list->height(), 8 * list->fontMetrics().lineSpacing());
    QTest::mouseClick(window.findChild<QPushButton*>("problemDetails"), Qt::LeftButton);

    QTest::mouseClick(window.host(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(window.lastEvent().toStdString(), longName + ", Click, down");
    EXPECT_EQ(window.size(), opened);
    EXPECT_LT(window.sizeHint().width(), 600);
}

TEST_F(PanelWindowUseTest, TheSamePanelOpensOnceAndSavesOnlyPngBesideItself)
{
    const std::string file = sample("console-desk.kvr");
    PanelWindow& window = open(file);
    EXPECT_EQ(window.windowTitle(), "console-desk.kvr");
    EXPECT_EQ(&open((folder / "." / "console-desk.kvr").string()), &window);

    QString suggested;
    window.chooseImageFile = [&](const QString& start) {
        suggested = start;
        return QString::fromStdString((folder / "photo.jpg").string());
    };
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(suggested.toStdString(), (folder / "console-desk.png").string());
    EXPECT_EQ(window.lastEvent(), "Only PNG is written: 'photo.jpg' names another kind of image");
    EXPECT_FALSE(fs::exists(folder / "photo.jpg"));
}

}  // namespace
}  // namespace trovelin
