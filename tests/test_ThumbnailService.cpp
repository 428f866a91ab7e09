// The thumbnailer as a file manager meets it: the desktop's thumbnail service (tumbler), started on
// this test's private session bus over a temporary `cmake --install`, is asked over D-Bus for a
// panel file's thumbnail, finds trovelin.thumbnailer and stores what `trovelin-cli thumbnail`
// makes where file managers look for it.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QImage>
#include <QUrl>

#include "support/FileWriter.h"
#include "support/RunCommand.h"
#include "support/SamplePanels.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* tumblerd = "/usr/lib/x86_64-linux-gnu/tumbler-1/tumblerd";
constexpr const char* service = "org.freedesktop.thumbnails.Thumbnailer1";

// Waits up to `limit` for `ready`, looking every 50 ms.
template <typename Condition>
bool waitFor(Condition ready, std::chrono::milliseconds limit)
{
    for (const auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(50ms))
        if (ready()) return true;
    return ready();
}

// The thumbnail service, with the data folders of `prefix` before the system's, so that it finds
// the installed thumbnailer and MIME type; stopped when the test ends.
class ThumbnailService {
public:
    ThumbnailService(const fs::path& prefix, const fs::path& cache, const fs::path& log)
    {
        pid_ = ::fork();
        if (pid_ != 0) return;
        ::setenv("XDG_DATA_DIRS", ((prefix / "share").string() + ":/usr/share").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (cache / "config").c_str(), 1);
        ::setenv("PATH", ((prefix / "bin").string() + ":" + std::getenv("PATH")).c_str(), 1);
        const int output = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(output, STDOUT_FILENO);
        ::dup2(output, STDERR_FILENO);
        ::execl(tumblerd, tumblerd, nullptr);
        ::_exit(127);
    }
    ~ThumbnailService()
    {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    ThumbnailService(const ThumbnailService&) = delete;
    ThumbnailService& operator=(const ThumbnailService&) = delete;

private:
    pid_t pid_ = -1;
};

class ThumbnailServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test_ThumbnailService";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }
    ThumbnailServiceTest()
    {
        char name[] = "/tmp/trovelin-thumbnailer-XXXXXX";
        folder = ::mkdtemp(name);
    }
    ~ThumbnailServiceTest() override { fs::remove_all(folder); }

    fs::path folder;
};

TEST_F(ThumbnailServiceTest, TheDesktopsThumbnailServiceShowsThePanel)
{
    if (!fs::exists(tumblerd)) GTEST_SKIP() << "tumbler is not installed (scripts/install-deps installs it)";
    const fs::path prefix = folder / "prefix";
    const testing::CommandOutcome install = testing::runCommand(std::string("'") + TROVELIN_CMAKE + "' --install '" +
                                                                TROVELIN_BINARY_DIR + "' --prefix '" + prefix.string() + "'");
    ASSERT_EQ(install.status, 0) << install.out << install.err;
    ASSERT_TRUE(fs::exists(prefix / "share" / "thumbnailers" / "trovelin.thumbnailer"));
    const testing::CommandOutcome mime = testing::runCommand("update-mime-database '" + (prefix / "share" / "mime").string() + "'");
    ASSERT_EQ(mime.status, 0) << mime.err;

    const fs::path panel = folder / "shows" / "club stage.kvr";  // a space, as file managers percent-encode it
    fs::create_directories(panel.parent_path());
    ASSERT_TRUE(testing::writeFile(panel.string(), testing::samplePanels().front().bytes));
    const fs::path expected = folder / "expected.png";
    const testing::CommandOutcome made = testing::runCommand(std::string("'") + TROVELIN_CLI + "' thumbnail -s 128 '" +
                                                             panel.string() + "' '" + expected.string() + "'");
    ASSERT_EQ(made.status, 0) << made.err;

    const fs::path cache = folder / "cache";
    const ThumbnailService thumbnails(prefix, cache, folder / "tumbler.log");
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected()) << "no session bus: run under dbus-run-session";
    // Asking before our service owns the name would let the bus start one of its own.
    ASSERT_TRUE(waitFor([&] { return bus.interface()->isServiceRegistered(service).value(); }, 15s));

    const QByteArray uri = QUrl::fromLocalFile(QString::fromStdString(panel.string())).toEncoded();
    QDBusInterface thumbnailer(service, "/org/freedesktop/thumbnails/Thumbnailer1", service, bus);
    const QDBusReply<uint> handle =
        thumbnailer.call("Queue", QStringList{QString::fromUtf8(uri)}, QStringList{"application/x-kvr-panel"},
                         QString("normal"), QString("default"), 0u);
    ASSERT_TRUE(handle.isValid()) << handle.error().message().toStdString();

    const QString md5 = QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex());
    const fs::path stored = cache / "thumbnails" / "normal" / (md5.toStdString() + ".png");
    ASSERT_TRUE(waitFor([&] { return fs::exists(stored) && QImage(QString::fromStdString(stored.string())).width() > 0; },
                        20s))
        << stored << " did not appear; the service said:\n" << testing::runCommand("cat '" + (folder / "tumbler.log").string() + "'").out;

    // The service stores the PNG its own way; the pixels are the command's.
    const QImage shown = QImage(QString::fromStdString(stored.string())).convertToFormat(QImage::Format_RGB32);
    const QImage ours = QImage(QString::fromStdString(expected.string())).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), ours.size());
    EXPECT_EQ(std::max(ours.width(), ours.height()), 128);
    int worst = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = shown.pixel(x, y), b = ours.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    EXPECT_LE(worst, 8);
}

}  // namespace
}  // namespace trovelin
