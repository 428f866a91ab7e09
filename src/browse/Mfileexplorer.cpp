#include "browse/Mfileexplorer.h"

#include <algorithm>

#include "browse/FileListText.h"
#include "platform/FileAttributes.h"
#include "platform/FileMask.h"
#include "platform/FileSystem.h"
#include "platform/FindFiles.h"
#include "streaming/TypeInfo.h"

namespace trovelin {

namespace {

constexpr std::size_t maxTypeName = 80;
constexpr std::uint32_t attributeBitOf[] = {faReadOnly, faHidden, faSysFile, faArchive, faNormal};

// TFileFlag ordinals, and the volume flags they stand for.
enum TFileFlag : unsigned {
    fsCaseIsPreserved, fsCaseSensitive, fsUnicodeStoredOnDisk, fsPersistentAcls, fsFileCompression,
    fsVolumeIsCompressed, fsLongFileNames, fsEncryptedFileSystemSupport, fsObjectIDsSupport,
    fsReparsePointsSupport, fsSparseFilesSupport, fsDiskQuotasSupport
};
struct VolumeFlag {
    std::uint32_t bit;
    TFileFlag flag;
};
constexpr VolumeFlag volumeFlags[] = {
    {0x1, fsCaseSensitive},          {0x2, fsCaseIsPreserved},      {0x4, fsUnicodeStoredOnDisk},
    {0x8, fsPersistentAcls},         {0x10, fsFileCompression},     {0x8000, fsVolumeIsCompressed},
    {0x20, fsDiskQuotasSupport},     {0x40, fsSparseFilesSupport},  {0x80, fsReparsePointsSupport},
    {0x10000, fsObjectIDsSupport},   {0x20000, fsEncryptedFileSystemSupport},
};

std::vector<std::string> splitMask(const std::string& mask)
{
    std::vector<std::string> patterns;
    std::size_t start = 0;
    for (std::size_t end; (end = mask.find(';', start)) != std::string::npos; start = end + 1)
        patterns.push_back(mask.substr(start, end - start));
    patterns.push_back(mask.substr(start));
    return patterns;
}

// Whether the folder search would find exactly the entries of the whole listing that `pattern`
// takes. A name without wildcards is looked up by itself, and a path part searches another
// folder, so those go to a search of their own.
bool selectsFromListing(const std::string& pattern)
{
    return pattern.find_first_of("*?") != std::string::npos && pattern.find_first_of("\\/") == std::string::npos;
}

// The size of the entry named exactly as the path's last part. The search takes a name as a list
// of patterns, with "*", "?" and ";" and letter case ignored, so a name holding any of these is
// looked for among all entries of its folder: "*.kvr" is one file, not the first of all panel
// files, and "a;b.kvr" is itself, not "a" or "b.kvr". 0 when the entry is gone.
std::uint64_t exactEntrySize(FileSystem& fileSystem, const std::string& path)
{
    const std::string name = namePart(path);
    const bool readAsPatterns = name.find_first_of("*?;") != std::string::npos;
    const std::string lookup = readAsPatterns ? path.substr(0, path.size() - name.size()) + "*" : path;
    std::uint64_t size = 0;
    TSearchRec search;
    for (std::uint32_t found = FindFirst(fileSystem, lookup, faAnyFile, search); found == 0; found = FindNext(search)) {
        if (search.Name == name) {
            size = search.Size;
            break;
        }
    }
    FindClose(search);
    return size;
}

}  // namespace

TMFileExplorer::TMFileExplorer(FileSystem& fileSystem, ShellInfo& shell, DateTimeText dateTimeText,
                               char thousandsSeparator)
    : fileSystem_(fileSystem), shell_(shell), dateTimeText_(std::move(dateTimeText))
{
    sortLocale_.thousandsSeparator = thousandsSeparator;
    sortLocale_.parseDateTime = dateTimeText_.parse;
    columns_ = {{"Name", 140, false}, {"Size", 70, true}, {"Type", 90, false}, {"Modified", 120, false},
                {"Attributes", 60, false}};
}

// The file system is case-sensitive here, so only the very same text is the same directory.
void TMFileExplorer::SetDirectory(const std::string& value)
{
    if (value == directory_) return;
    if (isDrivesDirectory(value)) {
        directory_ = value;
        UpdateFileList();
        return;
    }
    if (!fileSystem_.directoryExists(value)) return;
    if (!fileSystem_.setCurrentDirectory(withTrailingBackslash(value))) return;
    directory_ = fileSystem_.currentDirectory();
    UpdateFileList();
}

void TMFileExplorer::SetFileType(TFileType value)
{
    if (value == fileType_) return;
    fileType_ = value;
    UpdateFileList();
}

void TMFileExplorer::SetMask(const std::string& value)
{
    if (value == mask_) return;
    mask_ = value;
    UpdateFileList();
}

void TMFileExplorer::SetSortColumn(int value)
{
    sortColumn_ = value;
    sortItems();
}

void TMFileExplorer::SetSortDir(TSortDirection value)
{
    sortDirection_ = value;
    sortItems();
}

void TMFileExplorer::SetViewStyle(TViewStyle value)
{
    viewStyle_ = value;
    if (OnViewStyleChanged) OnViewStyleChanged();
}

void TMFileExplorer::setSelected(int index, bool selected)
{
    selected_[static_cast<std::size_t>(index)] = selected;
    if (OnChange) OnChange();
}

void TMFileExplorer::clearSelection()
{
    std::fill(selected_.begin(), selected_.end(), false);
}

void TMFileExplorer::setModeColumns(bool drives)
{
    if (drives) {
        columns_[1] = {"Type", 100, false};
        columns_[2] = {"Disk Size", 100, true};
        columns_[3] = {"Free Space", 100, true};
    } else {
        columns_[1] = {"Size", 70, true};
        columns_[2] = {"Type", 150, false};
        columns_[3] = {"Modified", 120, false};
    }
}

void TMFileExplorer::UpdateFileList()
{
    items_.clear();
    selected_.clear();
    if (onRefresh) onRefresh(true);
    const bool drives = isDrivesDirectory(directory_);
    // The sort and the end of the refresh happen whether or not the listing fails.
    struct Finish {
        TMFileExplorer& list;
        bool drives;
        ~Finish()
        {
            list.sortDirection_ = TSortDirection::sdDescending;
            if (!drives) list.ColumnClick(0);
            if (list.onRefresh) list.onRefresh(false);
        }
    } finish{*this, drives};
    setModeColumns(drives);
    if (drives) {
        AddDrives();
        return;
    }
    unsigned request = 0;
    for (unsigned attribute = ftReadOnly; attribute <= ftNormal; ++attribute)
        if (fileType_ & (1u << attribute)) request |= attributeBitOf[attribute];
    const std::string folder = withTrailingBackslash(directory_);
    // One listing serves the folders and every pattern that is a plain wildcard mask, and its
    // sizes are the rows' sizes: looking at every entry again, per pattern or per row, was most
    // of a refresh's time in a large folder.
    const std::vector<FindData> everyEntry = search(folder, "*.*");
    addEntries(folder, everyEntry, "*.*", request | faDirectory);
    for (const std::string& pattern : splitMask(mask_)) {
        if (selectsFromListing(pattern))
            addEntries(folder, everyEntry, pattern, request);
        else  // its rows name the entries where they are, in the folder a path part leads to
            addEntries(folder + pattern.substr(0, pattern.find_last_of("\\/") + 1), search(folder, pattern), "*",
                       request);
    }
}

std::string TMFileExplorer::localFolderOf(const std::string& folder) const
{
    std::string local = fileSystem_.localPath(folder).value_or("");
    if (!local.empty() && !local.ends_with('/')) local += '/';
    return local;
}

std::vector<FindData> TMFileExplorer::search(const std::string& folder, const std::string& pattern)
{
    std::vector<FindData> entries;
    if (!fileSystem_.setCurrentDirectory(directory_)) return entries;
    TSearchRec record;
    for (std::uint32_t found = FindFirst(fileSystem_, folder + pattern, faAnyFile, record); found == 0;
         found = FindNext(record))
        entries.push_back(record.FindData);
    FindClose(record);
    return entries;
}

void TMFileExplorer::addEntries(const std::string& folder, const std::vector<FindData>& entries,
                                std::string_view pattern, unsigned request)
{
    const std::string localFolder = localFolderOf(folder);
    for (const FindData& entry : entries) {
        const std::uint32_t a = entry.attributes;
        const auto allows = [request, a](std::uint32_t bit) { return !(a & bit) || (request & bit); };
        const bool accepted = (a & faDirectory) == (request & faDirectory) && allows(faReadOnly) &&
                              allows(faHidden) && allows(faSysFile);
        if (!accepted || entry.fileName == "." || !matchesMask(entry.fileName, pattern)) continue;
        const std::string path = folder + entry.fileName;
        const ShellFileInfo shell = shell_.entryInfo(path, a);
        const std::optional<SystemTime> time = fileTimeToSystemTime(entry.lastWriteTime);
        const bool folderEntry = (a & faDirectory) != 0;
        FileListItem item;
        item.caption = entry.fileName;
        item.imageIndex = shell.iconIndex;
        if (!localFolder.empty()) item.localPath = localFolder + entry.fileName;
        item.subItems = {folderEntry ? " " : std::to_string(entry.size),
                         shell.typeName.substr(0, maxTypeName),
                         dateTimeText_.format(time ? dateTimeValue(*time) : 0.0),
                         attributeLetters(a),
                         path,
                         folderEntry ? "dir" : "file"};
        addItem(std::move(item));
    }
}

void TMFileExplorer::AddDrives()
{
    // The drive list shows the drives of this moment; drives still mounted keep their letters.
    fileSystem_.refreshDrives();
    const std::uint32_t mask = fileSystem_.logicalDrives();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (!(mask & (1u << (letter - 'A')))) continue;
        const std::string root = std::string(1, letter) + ":\\";
        try {
            const ShellFileInfo shell = shell_.fileInfo(root);
            const TDiskInfo info = GetDiskInfo(std::string(1, letter) + ":");
            FileListItem item;
            item.caption = shell.displayName;
            item.imageIndex = shell.iconIndex;
            item.localPath = fileSystem_.localPath(root).value_or("");
            item.subItems = {GetMediaTypeStr(info.MediaType),
                             formatThousands(info.DiskSize, sortLocale_.thousandsSeparator),
                             formatThousands(info.FreeSpace, sortLocale_.thousandsSeparator),
                             "",
                             root,
                             "drv"};
            addItem(std::move(item));
        } catch (const std::exception&) {
            // A drive that fails to describe itself is left out; the others still show.
        }
    }
}

void TMFileExplorer::addItem(FileListItem item)
{
    items_.push_back(std::move(item));
    selected_.push_back(false);
    if (OnChange) OnChange();
}

void TMFileExplorer::sortItems()
{
    if (sortColumn_ < 0) return;
    std::vector<std::size_t> order(items_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return CompareFiles(items_[a], items_[b], sortColumn_, sortDirection_, sortLocale_).value_or(0) < 0;
    });
    std::vector<FileListItem> items;
    std::vector<bool> selected;
    for (std::size_t i : order) {
        items.push_back(std::move(items_[i]));
        selected.push_back(selected_[i]);
    }
    items_ = std::move(items);
    selected_ = std::move(selected);
}

void TMFileExplorer::ColumnClick(int column)
{
    if (column == sortColumn_) {
        SetSortDir(sortDirection_ == TSortDirection::sdAscending ? TSortDirection::sdDescending
                                                                 : TSortDirection::sdAscending);
        return;
    }
    sortDirection_ = TSortDirection::sdAscending;
    SetSortColumn(column);
}

void TMFileExplorer::OneLevelUp()
{
    if (const std::optional<std::string> target = levelUpFrom(directory_)) SetDirectory(*target);
}

int TMFileExplorer::selectedIndex() const
{
    const auto found = std::find(selected_.begin(), selected_.end(), true);
    return found == selected_.end() ? -1 : static_cast<int>(found - selected_.begin());
}

void TMFileExplorer::Click()
{
    if (const int index = selectedIndex(); index >= 0)
        fileName_ = items_[static_cast<std::size_t>(index)].sub(FileListItem::fullPath);
    if (OnClick) OnClick();
}

void TMFileExplorer::DblClick()
{
    if (OnDblClick) OnDblClick();
    const int index = selectedIndex();
    if (index < 0) return;
    const FileListItem& item = items_[static_cast<std::size_t>(index)];
    const std::string& kind = item.sub(FileListItem::kind);
    if (kind == "dir" || kind == "drv") SetDirectory(withTrailingBackslash(item.sub(FileListItem::fullPath)));
    else if (contextAction_ && onDefaultAction) onDefaultAction(item.sub(FileListItem::fullPath));
}

void TMFileExplorer::Keydown(int key, TShiftState shift)
{
    const TShiftState modifiers = shift & (ssShift | ssAlt | ssCtrl);
    if (key == VK_BACK || (key == VK_UP && modifiers == ssCtrl)) OneLevelUp();
    else if (key == VK_RETURN && selectedIndex() >= 0) DblClick();
    if (OnKeyDown) OnKeyDown(key, shift);
}

void TMFileExplorer::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown) OnMouseDown(button, shift, x, y);
}

int TMFileExplorer::SelectedCount() const
{
    const auto count = std::count(selected_.begin(), selected_.end(), true);
    return static_cast<int>(count == 0 ? static_cast<std::ptrdiff_t>(items_.size()) : count);
}

std::int64_t TMFileExplorer::SelectedSize() const
{
    std::int64_t total = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (!selected_[i]) continue;
        total += static_cast<std::int64_t>(exactEntrySize(fileSystem_, namePart(items_[i].sub(FileListItem::fullPath))));
    }
    return total;
}

std::string TMFileExplorer::SelectedFilenames()
{
    nameList_.clear();
    std::string result;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (!selected_[i]) continue;
        const std::string& path = items_[i].sub(FileListItem::fullPath);
        nameList_.push_back(namePart(path));
        result += path + ";";
    }
    if (!result.empty()) result.pop_back();
    return result;
}

TObjectTypes TMFileExplorer::SelectedTypes()
{
    nameList_.clear();
    TObjectTypes types = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (!selected_[i]) continue;
        const std::string& kind = items_[i].sub(FileListItem::kind);
        if (kind == "file") types |= 1u << otFile;
        else if (kind == "dir") types |= 1u << otDirectory;
        else if (kind == "drv") types |= 1u << otDisk;
    }
    return types;
}

bool TMFileExplorer::stillLeadsToListedEntry(const FileListItem& item) const
{
    return !item.localPath.empty() && fileSystem_.localPath(item.sub(FileListItem::fullPath)) == item.localPath;
}

TDiskInfo TMFileExplorer::GetDiskInfo(const std::string& drive) const
{
    TDiskInfo info;
    info.DriveSign = drive.substr(0, 2);
    const std::string root = info.DriveSign + "\\";
    const auto type = static_cast<unsigned>(fileSystem_.driveType(root));
    info.MediaType = static_cast<TMediaType>(std::min(type, 6u));
    const std::optional<DiskFreeSpace> space = fileSystem_.diskFreeSpace(root);
    if (!space) return info;  // not ready: numbers 0, texts empty
    info.SectorsPerCluster = space->sectorsPerCluster;
    info.BytesPerSector = space->bytesPerSector;
    info.FreeClusters = space->numberOfFreeClusters;
    info.TotalClusters = space->totalNumberOfClusters;
    info.DiskSize = static_cast<std::int64_t>(space->totalNumberOfBytes);
    info.FreeSpace = static_cast<std::int64_t>(space->freeBytesAvailable);
    if (const std::optional<VolumeInformation> volume = fileSystem_.volumeInformation(root)) {
        info.VolumeLabel = volume->volumeName;
        info.FileSystem = volume->fileSystemName;
        info.SerialNumber = volume->serialNumber;
        info.SerialText = serialText(volume->serialNumber);
        for (const VolumeFlag& flag : volumeFlags)
            if (volume->fileSystemFlags & flag.bit) info.FileFlags |= 1u << flag.flag;
        if (volume->maximumComponentLength == 255) info.FileFlags |= 1u << fsLongFileNames;
    }
    return info;
}

std::int64_t TMFileExplorer::GetDiskCap() const
{
    return GetDiskInfo(directory_.substr(0, 1) + ":").DiskSize;
}

std::int64_t TMFileExplorer::GetDiskFree() const
{
    return GetDiskInfo(directory_.substr(0, 1) + ":").FreeSpace;
}

}  // namespace trovelin
