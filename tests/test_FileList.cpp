// The file list's texts, path steps and sort order.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "browse/FileCompare.h"
#include "browse/FileListText.h"

namespace trovelin {
namespace {

FileListItem entry(const std::string& name, const std::string& kind, const std::string& size = " ",
                   const std::string& time = "")
{
    FileListItem item;
    item.caption = name;
    item.subItems = {size, kind == "dir" ? "File folder" : "Panel", time, "", "C:\\A\\" + name, kind};
    return item;
}

std::vector<std::string> sorted(std::vector<FileListItem> items, int column, TSortDirection direction)
{
    SortLocale locale;
    locale.parseDateTime = [](const std::string& text) -> std::optional<double> {
        if (text.empty() || text == " ") return std::nullopt;
        return std::stod(text);
    };
    std::stable_sort(items.begin(), items.end(), [&](const FileListItem& a, const FileListItem& b) {
        return CompareFiles(a, b, column, direction, locale).value() < 0;
    });
    std::vector<std::string> names;
    for (const FileListItem& item : items) names.push_back(item.caption);
    return names;
}

TEST(FileList, ParentFirstThenFoldersThenFilesInBothDirections)
{
    const std::vector<FileListItem> items{entry("b.kvr", "file", "2,000", "3"), entry("Zeta", "dir"),
                                          entry("..", "dir"), entry("a.kvr", "file", "10", "5"),
                                          entry("alpha", "dir"), entry("C.KVR", "file", "", "1")};
    using enum TSortDirection;
    EXPECT_EQ(sorted(items, 0, sdAscending),
              (std::vector<std::string>{"..", "alpha", "Zeta", "a.kvr", "b.kvr", "C.KVR"}));
    EXPECT_EQ(sorted(items, 0, sdDescending),
              (std::vector<std::string>{"..", "Zeta", "alpha", "C.KVR", "b.kvr", "a.kvr"}));
    // Sizes lose their separators; an empty size counts as the base value of the direction.
    EXPECT_EQ(sorted(items, 1, sdAscending), (std::vector<std::string>{"..", "Zeta", "alpha", "C.KVR", "a.kvr", "b.kvr"}));
    EXPECT_EQ(sorted(items, 1, sdDescending).front(), "..");
    EXPECT_EQ(sorted(items, 1, sdDescending)[3], "C.KVR");
    EXPECT_EQ(sorted(items, 3, sdAscending), (std::vector<std::string>{"..", "Zeta", "alpha", "C.KVR", "b.kvr", "a.kvr"}));

    SortLocale locale;
    EXPECT_FALSE(CompareFiles(items[0], items[1], -1, sdAscending, locale).has_value());
    EXPECT_EQ(CompareFiles(items[0], items[1], 6, sdAscending, locale), 0);
}

TEST(FileList, TextsAndPathSteps)
{
    EXPECT_EQ(formatThousands(0, ','), "0");
    EXPECT_EQ(formatThousands(1234567, ','), "1,234,567");
    EXPECT_EQ(formatThousands(999, '.'), "999");
    EXPECT_EQ(attributeLetters(0x20 | 0x01 | 0x02 | 0x04 | 0x10), "ARHS");
    EXPECT_EQ(attributeLetters(0x10), "");
    EXPECT_EQ(GetMediaTypeStr(TMediaType::dtRAMDisk), "RAM");
    EXPECT_EQ(GetMediaTypeStr(TMediaType::dtNotExists), "<not exists>");
    EXPECT_EQ(serialText(0x1A2B3C4D), "1A2B-3C4D");
    EXPECT_EQ(serialText(0xF), "0000-000F");

    EXPECT_EQ(levelUpFrom("C:\\Data"), "C:\\");
    EXPECT_EQ(levelUpFrom("C:\\Data\\Sub\\"), "C:\\Data\\");
    EXPECT_EQ(levelUpFrom("C:\\"), "Drives");
    EXPECT_EQ(levelUpFrom("drives"), std::nullopt);
    EXPECT_TRUE(isDrivesDirectory("DRIVES"));
    EXPECT_EQ(CompareText("abc", "ABD"), 'C' - 'D');
    EXPECT_EQ(CompareText("ab", "ABC"), -1);
}

}  // namespace
}  // namespace trovelin
