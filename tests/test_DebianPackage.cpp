// The Debian packages as a user meets them: `cpack -G DEB` makes trovelin (and the build
// folder's CPackPythonConfig.cmake python3-trovelin), lintian finds no error in it, `apt-get
// install ./trovelin_*.deb` installs it with the desktop's databases refreshed, and `apt-get
// remove` leaves no file of it behind. It installs on this machine, so it runs as the superuser
// only and removes the package whatever happens; a package already installed is left alone and
// fails the test.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <vector>

#include "support/OrdinaryUser.h"
#include "support/RunCommand.h"

namespace trovelin {
namespace {

namespace fs = std::filesystem;
using testing::CommandOutcome;
using testing::runCommand;

const std::string packageFile = std::string("trovelin_") + TROVELIN_VERSION + "_amd64.deb";
constexpr const char* apt = "DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=120 ";

bool packageInstalled()
{
    return runCommand("dpkg-query -W -f='${Status}' trovelin 2>/dev/null | grep -q 'install ok installed'").status == 0;
}

// Every path under the folders a package may touch, sorted; what differs after a removal was left behind.
std::vector<std::string> systemFiles()
{
    std::istringstream lines(runCommand("find /usr /etc /opt 2>/dev/null | LC_ALL=C sort").out);
    std::vector<std::string> files;
    for (std::string line; std::getline(lines, line);) files.push_back(line);
    return files;
}

std::string difference(const std::vector<std::string>& before, const std::vector<std::string>& after)
{
    std::vector<std::string> changed;
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(changed));
    std::string text;
    for (const std::string& path : changed) text += path + '\n';
    return text;
}

std::string contents(const fs::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Removes the package when the test ends, however far its installation got.
struct InstalledPackage {
    ~InstalledPackage() { runCommand("dpkg-query -W trovelin >/dev/null 2>&1 && " + std::string(apt) + "purge trovelin"); }
};

class DebianPackage : public ::testing::Test {
protected:
    DebianPackage()
    {
        char name[] = "/tmp/trovelin-package-XXXXXX";
        folder = ::mkdtemp(name);
        ::chmod(folder.c_str(), 0755);  // lintian runs as an ordinary user
    }
    ~DebianPackage() override { fs::remove_all(folder); }

    fs::path folder;
};

TEST_F(DebianPackage, InstallsWithItsDatabasesAndRemovesWithoutATrace)
{
    if (::geteuid() != 0) GTEST_SKIP() << "installing a package needs the superuser";
    ASSERT_FALSE(packageInstalled()) << "trovelin is installed on this machine already; this test installs and removes "
                                        "it, so remove it first (apt-get remove trovelin)";

    const CommandOutcome made = runCommand(std::string("'") + TROVELIN_CPACK + "' -G DEB --config '" + TROVELIN_BINARY_DIR +
                                           "/CPackConfig.cmake' -B '" + folder.string() + "'");
    ASSERT_EQ(made.status, 0) << made.out << made.err;
    const fs::path deb = folder / packageFile;
    ASSERT_TRUE(fs::exists(deb)) << made.out;

    const std::string listing = runCommand("dpkg-deb -c '" + deb.string() + "'").out;
    for (const char* file : {"./usr/bin/trovelin\n", "./usr/bin/trovelin-cli\n", "./usr/share/man/man1/trovelin.1.gz\n",
                             "./usr/share/man/man1/trovelin-cli.1.gz\n", "./usr/share/applications/trovelin.desktop\n",
                             "./usr/share/mime/packages/trovelin-kvr-panel.xml\n",
                             "./usr/share/icons/hicolor/scalable/apps/trovelin.svg\n",
                             "./usr/share/thumbnailers/trovelin.thumbnailer\n", "./usr/share/doc/trovelin/copyright\n"})
        EXPECT_NE(listing.find(file), std::string::npos) << file;
    // The samples come as examples, not beside the programs.
    EXPECT_FALSE(std::regex_search(listing, std::regex(R"(\./usr/bin/[^\n]*\.kvr)"))) << listing;
    EXPECT_NE(listing.find("./usr/share/doc/trovelin/examples/arena-rig.kvr\n"), std::string::npos) << listing;
    // Computed from the binaries, so the Qt libraries they link are among them.
    EXPECT_NE(runCommand("dpkg-deb -f '" + deb.string() + "' Depends").out.find("libqt6widgets6"), std::string::npos);

    // lintian warns when run by the superuser; it reads the package as an ordinary user would.
    const fs::path home = folder / "home";
    fs::create_directory(home);
    ASSERT_EQ(::chown(home.c_str(), testing::ordinaryUserId, testing::ordinaryUserId), 0);
    const CommandOutcome checked =
        runCommand("HOME='" + home.string() + "' runuser -u nobody -- lintian --no-cfg '" + deb.string() + "'");
    EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
    EXPECT_EQ(checked.out.find("E: "), std::string::npos) << checked.out;

    const std::vector<std::string> before = systemFiles();
    ASSERT_GT(before.size(), 1000u);  // a comparison of two empty lists would prove nothing
    {
        const InstalledPackage removedAtTheEnd;
        const CommandOutcome installed = runCommand(std::string(apt) + "install '" + deb.string() + "'");
        ASSERT_EQ(installed.status, 0) << installed.out << installed.err;
        const CommandOutcome version = runCommand("/usr/bin/trovelin-cli --version");
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, std::string("trovelin-cli ") + TROVELIN_VERSION + "\n");
        EXPECT_EQ(runCommand("man -w trovelin-cli").out, "/usr/share/man/man1/trovelin-cli.1.gz\n");
        // The triggers of shared-mime-info and desktop-file-utils took in the new type and entry.
        EXPECT_TRUE(fs::exists("/usr/share/mime/application/x-kvr-panel.xml"));
        EXPECT_NE(contents("/usr/share/applications/mimeinfo.cache").find("application/x-kvr-panel=trovelin.desktop"),
                  std::string::npos);

        const CommandOutcome removed = runCommand(std::string(apt) + "remove trovelin");
        EXPECT_EQ(removed.status, 0) << removed.out << removed.err;
    }
    EXPECT_FALSE(packageInstalled());
    EXPECT_EQ(difference(before, systemFiles()), "");
    EXPECT_EQ(contents("/usr/share/applications/mimeinfo.cache").find("application/x-kvr-panel"), std::string::npos);
}

// python3-trovelin: lintian finds nothing, and Debian's python3 imports it from where apt put it.
TEST_F(DebianPackage, ThePythonPackageImportsFromWhereAptPutsIt)
{
    if (::geteuid() != 0) GTEST_SKIP() << "installing a package needs the superuser";
    const auto pythonInstalled = [] {
        return runCommand("dpkg-query -W -f='${Status}' python3-trovelin 2>/dev/null | grep -q 'install ok installed'")
                   .status == 0;
    };
    ASSERT_FALSE(pythonInstalled()) << "python3-trovelin is installed on this machine already; remove it first";
    const CommandOutcome made = runCommand(std::string("'") + TROVELIN_CPACK + "' --config '" + TROVELIN_BINARY_DIR +
                                           "/CPackPythonConfig.cmake' -B '" + folder.string() + "'");
    ASSERT_EQ(made.status, 0) << made.out << made.err;
    const fs::path deb = folder / (std::string("python3-trovelin_") + TROVELIN_VERSION + "_amd64.deb");
    ASSERT_TRUE(fs::exists(deb)) << made.out;
    EXPECT_NE(runCommand("dpkg-deb -c '" + deb.string() + "'").out.find("./usr/lib/python3/dist-packages/trovelin/__init__.py\n"),
              std::string::npos);

    const fs::path home = folder / "home";
    fs::create_directory(home);
    ASSERT_EQ(::chown(home.c_str(), testing::ordinaryUserId, testing::ordinaryUserId), 0);
    const CommandOutcome checked =
        runCommand("HOME='" + home.string() + "' runuser -u nobody -- lintian --no-cfg '" + deb.string() + "'");
    EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
    EXPECT_EQ(checked.out.find("E: "), std::string::npos) << checked.out;

    struct Removed {
        ~Removed() { runCommand("dpkg-query -W python3-trovelin >/dev/null 2>&1 && " + std::string(apt) + "purge python3-trovelin"); }
    } removedAtTheEnd;
    const CommandOutcome installed = runCommand(std::string(apt) + "install '" + deb.string() + "'");
    ASSERT_EQ(installed.status, 0) << installed.out << installed.err;
    const CommandOutcome imported = runCommand(
        "cd / && env -u PYTHONPATH /usr/bin/python3 -c 'import trovelin; print(trovelin.__file__, len(trovelin.open(\"" +
        std::string(TROVELIN_SOURCE_DIR) + "/samples/console-desk.kvr\").pictures))'");
    EXPECT_EQ(imported.out, "/usr/lib/python3/dist-packages/trovelin/__init__.py 3\n") << imported.err;
}

}  // namespace
}  // namespace trovelin
