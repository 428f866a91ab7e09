#pragma once
// The framework's find routines on top of a file system's folder search: FindFirst, FindNext and
// FindClose with a search record, and the framework's attribute rule: an entry that has the
// hidden, system, volume or folder bit is found only when the caller's attribute set has it too.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace trovelin {

struct TSearchRec {
    std::uint64_t Size = 0;
    std::uint32_t Attr = 0;
    std::string Name;
    std::uint32_t ExcludeAttr = 0;
    std::unique_ptr<FolderSearch> FindHandle;
    trovelin::FindData FindData;
};

// 0 with the first entry in `record`, or an ERROR_* code (then nothing stays open).
std::uint32_t FindFirst(FileSystem& fileSystem, std::string_view path, std::uint32_t attr, TSearchRec& record);
// 0 with the next entry, or ERROR_NO_MORE_FILES.
std::uint32_t FindNext(TSearchRec& record);
void FindClose(TSearchRec& record);

}  // namespace trovelin
