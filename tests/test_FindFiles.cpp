// The framework's find routines over a fake file system: which entries the attribute set lets
// through, and the codes a search ends with.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/FileAttributes.h"
#include "platform/FileMask.h"
#include "platform/FindFiles.h"

namespace trovelin {
namespace {

// One folder, "C:\Shows", with a fixed listing; everything else is missing.
class FakeFileSystem : public FileSystem {
public:
    std::vector<FindData> entries = {
        {".", faDirectory, 0, 0},         {"..", faDirectory, 0, 0},       {"club.kvr", faArchive, 10, 0},
        {"old.kvr", faArchive | faReadOnly, 20, 0}, {".tmp.kvr", faArchive | faHidden, 30, 0},
        {"Stage.KVR", faDirectory, 0, 0}, {"pipe.kvr", faSysFile, 0, 0},
    };
    int openSearches = 0;

    std::uint32_t logicalDrives() const override { return 0b100; }
    DriveType driveType(std::string_view) const override { return DRIVE_FIXED; }
    std::optional<DiskFreeSpace> diskFreeSpace(std::string_view) const override { return std::nullopt; }
    std::optional<VolumeInformation> volumeInformation(std::string_view) const override { return std::nullopt; }
    bool directoryExists(std::string_view path) const override { return path == "C:\\Shows"; }
    bool setCurrentDirectory(std::string_view) override { return false; }
    std::string currentDirectory() const override { return "C:\\Shows"; }
    std::unique_ptr<FileStream> openUnshared(std::string_view) const override { return nullptr; }

    std::unique_ptr<FolderSearch> findFirstFile(std::string_view pattern, std::uint32_t& error) override
    {
        const std::string_view prefix = "C:\\Shows\\";
        if (!pattern.starts_with(prefix)) {
            error = ERROR_PATH_NOT_FOUND;
            return nullptr;
        }
        std::vector<FindData> found;
        for (const FindData& entry : entries) {
            if (matchesMaskList(entry.fileName, pattern.substr(prefix.size()))) found.push_back(entry);
        }
        if (found.empty()) {
            error = ERROR_FILE_NOT_FOUND;
            return nullptr;
        }
        return std::make_unique<Search>(std::move(found), openSearches);
    }

private:
    class Search : public FolderSearch {
    public:
        Search(std::vector<FindData> found, int& open) : found_(std::move(found)), open_(open) { ++open_; }
        ~Search() override { --open_; }
        bool next(FindData& entry) override
        {
            if (position_ == found_.size()) return false;
            entry = found_[position_++];
            return true;
        }

    private:
        std::vector<FindData> found_;
        int& open_;
        std::size_t position_ = 0;
    };
};

std::string findAll(FakeFileSystem& fileSystem, const std::string& path, std::uint32_t attr)
{
    std::string names;
    TSearchRec record;
    for (std::uint32_t code = FindFirst(fileSystem, path, attr, record); code == 0; code = FindNext(record)) {
        names += record.Name + "(" + std::to_string(record.Size) + ") ";
        EXPECT_EQ(record.Attr, record.FindData.attributes);
    }
    FindClose(record);
    EXPECT_EQ(fileSystem.openSearches, 0);
    return names;
}

TEST(FindFiles, OnlyTheAttributeSetLetsHiddenSystemAndFolderEntriesThrough)
{
    FakeFileSystem fileSystem;
    EXPECT_EQ(findAll(fileSystem, "C:\\Shows\\*.kvr", 0), "club.kvr(10) old.kvr(20) ");
    EXPECT_EQ(findAll(fileSystem, "C:\\Shows\\*.kvr", faHidden), "club.kvr(10) old.kvr(20) .tmp.kvr(30) ");
    EXPECT_EQ(findAll(fileSystem, "C:\\Shows\\*.kvr", faSysFile), "club.kvr(10) old.kvr(20) pipe.kvr(0) ");
    EXPECT_EQ(findAll(fileSystem, "C:\\Shows\\*.*", faDirectory),
              ".(0) ..(0) club.kvr(10) old.kvr(20) Stage.KVR(0) ");
    EXPECT_EQ(findAll(fileSystem, "C:\\Shows\\*.kvr", faAnyFile),
              "club.kvr(10) old.kvr(20) .tmp.kvr(30) Stage.KVR(0) pipe.kvr(0) ");
}

TEST(FindFiles, FailuresAndTheEndOfASearch)
{
    FakeFileSystem fileSystem;
    TSearchRec record;
    EXPECT_EQ(FindFirst(fileSystem, "D:\\*", faAnyFile, record), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FindFirst(fileSystem, "C:\\Shows\\*.bmp", faAnyFile, record), ERROR_FILE_NOT_FOUND);
    // Entries exist, but the attribute set lets none through: the search is closed again.
    EXPECT_EQ(FindFirst(fileSystem, "C:\\Shows\\Stage.kvr", 0, record), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(fileSystem.openSearches, 0);
    EXPECT_EQ(FindNext(record), ERROR_NO_MORE_FILES);

    ASSERT_EQ(FindFirst(fileSystem, "C:\\Shows\\club.kvr", 0, record), 0u);
    EXPECT_EQ(fileSystem.openSearches, 1);
    EXPECT_EQ(FindNext(record), ERROR_NO_MORE_FILES);
    FindClose(record);
    FindClose(record);
    EXPECT_EQ(fileSystem.openSearches, 0);
}

}  // namespace
}  // namespace trovelin
