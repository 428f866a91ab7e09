// Drive paths resolved to their canonical form, as the current directory is stored.

#include <gtest/gtest.h>

#include "platform/WindowsPath.h"

namespace trovelin {
namespace {

struct CanonicalCase {
    const char* path;
    const char* current;
    const char* expected;  // null: not usable
};

TEST(WindowsPath, ResolvesAgainstTheCurrentDirectoryAndNeverClimbsAboveTheRoot)
{
    const CanonicalCase cases[] = {
        {"C:\\Data\\..\\", "", "C:\\"},
        {"c:\\data", "", "C:\\data"},
        {"C:\\Shows\\Club\\", "", "C:\\Shows\\Club"},
        {"C:/Shows//Club/./x", "", "C:\\Shows\\Club\\x"},
        {"C:\\..\\..\\a", "", "C:\\a"},
        {"D:\\a\\b\\..\\..\\..", "", "D:\\"},
        {"C:", "", "C:\\"},
        {"sub", "C:\\Shows", "C:\\Shows\\sub"},
        {"..", "C:\\Shows\\Club", "C:\\Shows"},
        {"..\\..\\..", "C:\\Shows\\Club", "C:\\"},
        {".", "D:\\", "D:\\"},
        {"\\top", "D:\\deep\\er", "D:\\top"},
        {"D:rel", "D:\\deep", "D:\\deep\\rel"},
        {"E:rel", "D:\\deep", "E:\\rel"},
        {"sub", "", nullptr},
        {"", "C:\\", nullptr},
        {"\\\\server\\share", "C:\\", nullptr},
    };
    for (const CanonicalCase& c : cases) {
        const auto result = canonicalPath(c.path, c.current);
        if (c.expected == nullptr) {
            EXPECT_FALSE(result) << c.path;
        } else {
            EXPECT_EQ(result.value_or("<none>"), c.expected) << c.path << " from " << c.current;
        }
    }
}

TEST(WindowsPath, DriveLettersAndRoots)
{
    EXPECT_EQ(driveLetterOf("c:\\x"), 'C');
    EXPECT_EQ(driveLetterOf("Z:"), 'Z');
    EXPECT_EQ(driveLetterOf("1:\\"), 0);
    EXPECT_EQ(driveLetterOf("Drives"), 0);
    EXPECT_TRUE(isDriveRoot("C:\\"));
    EXPECT_FALSE(isDriveRoot("C:\\a"));
    EXPECT_FALSE(isDriveRoot("C:"));
}

}  // namespace
}  // namespace trovelin
