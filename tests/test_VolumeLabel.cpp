// Volume labels from a folder of label links.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/VolumeLabel.h"

namespace trovelin {
namespace {

TEST(VolumeLabel, FollowsLinksOnBothSidesAndDecodesEscapes)
{
    char pattern[] = "/tmp/trovelin-labels-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    std::ofstream(folder + "/sda1");
    std::ofstream(folder + "/sdb1");
    ASSERT_EQ(::mkdir((folder + "/by-label").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("../sda1", (folder + "/by-label/SHOW\\x20DISK").c_str()), 0);
    ASSERT_EQ(::symlink("../nowhere", (folder + "/by-label/BROKEN").c_str()), 0);
    ASSERT_EQ(::symlink("sda1", (folder + "/alias").c_str()), 0);

    EXPECT_EQ(volumeLabelOf(folder + "/sda1", folder + "/by-label"), "SHOW DISK");
    EXPECT_EQ(volumeLabelOf(folder + "/alias", folder + "/by-label"), "SHOW DISK");
    EXPECT_EQ(volumeLabelOf(folder + "/sdb1", folder + "/by-label"), "");
    EXPECT_EQ(volumeLabelOf(folder + "/missing", folder + "/by-label"), "");
    EXPECT_EQ(volumeLabelOf(folder + "/sda1", folder + "/no-such-folder"), "");
    ASSERT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0);
}

}  // namespace
}  // namespace trovelin
