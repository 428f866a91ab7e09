// The file manager over a private session bus (the test runs under dbus-run-session): a stand-in
// org.freedesktop.FileManager1 receives ShowItems, ShowFolders and ShowItemProperties with the items' URIs;
// without it our own properties dialog shows; one that never answers costs its timeout and
// freezes nothing meanwhile.

#include "browse/FileManagerBus.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "browse/Itemprop.h"
#include "browse/SystemDesktop.h"
#include "platform/PosixFileSystem.h"
#include "support/GuiApplication.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;

const QString service = "org.freedesktop.FileManager1";
const QString objectPath = "/org/freedesktop/FileManager1";

// Answers every call at once, or never, and notes method and URIs.
class FakeFileManager : public QDBusVirtualObject {
public:
    explicit FakeFileManager(bool answers) : answers_(answers) {}

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        calls << message.member() + " " + message.arguments().value(0).toStringList().join(" ");
        if (answers_) connection.send(message.createReply());
        return true;
    }

    QStringList calls;

private:
    bool answers_;
};

class FileManagerBusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }

    FileManagerBusTest()
    {
        fs::create_directories(root);
        for (const char* name : {"a b.txt", "caf\xE9 #1.txt"}) std::ofstream(root / name) << "text";
    }
    ~FileManagerBusTest() override
    {
        stopFileManager();
        fs::remove_all(root);
    }

    // A connection of its own, as a file manager process would have.
    void startFileManager(bool answers)
    {
        fake = std::make_unique<FakeFileManager>(answers);
        ASSERT_TRUE(fileManagerBus.isConnected()) << "run under dbus-run-session";
        ASSERT_TRUE(fileManagerBus.registerVirtualObject(objectPath, fake.get()));
        ASSERT_TRUE(fileManagerBus.registerService(service));
    }
    void stopFileManager()
    {
        fileManagerBus.unregisterService(service);
        fileManagerBus.unregisterObject(objectPath);
    }

    fs::path root = fs::temp_directory_path() / ("trovelin-bus-" + std::to_string(::getpid()));
    QDBusConnection fileManagerBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "file-manager");
    std::unique_ptr<FakeFileManager> fake;
    PosixFileSystem fileSystem;
    SystemDesktop desktop;
    ShellItemActions actions{fileSystem, desktop};
};

TEST_F(FileManagerBusTest, TheFileManagerShowsTheItemsAndTheirProperties)
{
    startFileManager(true);
    const std::string folder = root.string();
    const QString uri = "file://" + QString::fromStdString(folder);
    EXPECT_TRUE(actions.PerformVerb("showitem", folder, {"a b.txt", "caf\xE9 #1.txt"}, nullptr));
    EXPECT_TRUE(actions.DisplayPropertiesDialog((root / "a b.txt").string(), nullptr));
    // "explore" opens the folder itself rather than selecting it in the folder above.
    fs::create_directories(root / "Sub");
    EXPECT_TRUE(actions.PerformVerb("explore", (root / "Sub").string(), nullptr));
    EXPECT_EQ(fake->calls, (QStringList{"ShowItems " + uri + "/a%20b.txt " + uri + "/caf%E9%20%231.txt",
                                        "ShowItemProperties " + uri + "/a%20b.txt", "ShowFolders " + uri + "/Sub"}));
}

TEST_F(FileManagerBusTest, WithoutAFileManagerOurOwnDialogShows)
{
    // The bus's answer arrives in an event loop of its own, so the dialog is looked for until it shows.
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = dialog->windowTitle();
            dialog->reject();
        }
    });
    closer.start(10);
    EXPECT_TRUE(actions.DisplayPropertiesDialog((root / "a b.txt").string(), nullptr));
    EXPECT_EQ(shown, "a b.txt Properties");
}

TEST_F(FileManagerBusTest, AFileManagerThatNeverAnswersCostsItsTimeoutAndFreezesNothing)
{
    startFileManager(false);
    int timerTicks = 0;
    QTimer ticking;
    QObject::connect(&ticking, &QTimer::timeout, [&] { ++timerTicks; });
    ticking.start(20);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(callFileManager("ShowItems", {(root / "a b.txt").string()}, std::chrono::milliseconds(300)));
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_GE(timerTicks, 5);  // the event loop ran meanwhile
    EXPECT_EQ(fake->calls.size(), 1);
}

}  // namespace
}  // namespace trovelin
