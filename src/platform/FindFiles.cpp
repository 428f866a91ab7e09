#include "platform/FindFiles.h"

#include "platform/FileAttributes.h"

namespace trovelin {

namespace {

constexpr std::uint32_t faSpecial = faHidden | faSysFile | faVolumeID | faDirectory;

std::uint32_t findMatching(TSearchRec& record)
{
    while (record.FindHandle->next(record.FindData)) {
        if ((record.FindData.attributes & record.ExcludeAttr) != 0) continue;
        record.Size = record.FindData.size;
        record.Attr = record.FindData.attributes;
        record.Name = record.FindData.fileName;
        return 0;
    }
    return ERROR_NO_MORE_FILES;
}

}  // namespace

std::uint32_t FindFirst(FileSystem& fileSystem, std::string_view path, std::uint32_t attr, TSearchRec& record)
{
    record.ExcludeAttr = ~attr & faSpecial;
    std::uint32_t error = 0;
    record.FindHandle = fileSystem.findFirstFile(path, error);
    if (!record.FindHandle) return error != 0 ? error : ERROR_FILE_NOT_FOUND;
    if (findMatching(record) == 0) return 0;
    FindClose(record);
    return ERROR_FILE_NOT_FOUND;
}

std::uint32_t FindNext(TSearchRec& record)
{
    if (!record.FindHandle) return ERROR_NO_MORE_FILES;
    return findMatching(record);
}

void FindClose(TSearchRec& record) { record.FindHandle.reset(); }

}  // namespace trovelin
