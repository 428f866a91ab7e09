#pragma once
// The file list (`TMFileExplorer`) without its window: the rows of one folder or of all drives,
// filtered by mask and attributes, sorted folders first, and the navigation, click and selection
// rules. A Qt view shows the rows and passes the user's actions in.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "browse/DateTimeText.h"
#include "browse/FileCompare.h"
#include "browse/FileListItem.h"
#include "browse/ShellInfo.h"
#include "framework/Control.h"
#include "platform/FileSystem.h"

namespace trovelin {

// TFileType: a set of these, as bits 1 << attribute.
enum TFileAttr : unsigned { ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal };
using TFileType = unsigned;
enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
// TObjectTypes: a set of these, as bits 1 << type.
enum TObjectType : unsigned { otFile, otDirectory, otDisk };
using TObjectTypes = unsigned;

// Keys the list handles (the original platform's virtual key codes).
inline constexpr int VK_BACK = 8;
inline constexpr int VK_RETURN = 13;
inline constexpr int VK_UP = 38;

struct ListColumn {
    std::string caption;
    int width;
    bool rightAligned;
};

struct TDiskInfo {
    std::string DriveSign;
    TMediaType MediaType = TMediaType::dtUnknown;
    unsigned FileFlags = 0;  // bits 1 << TFileFlag ordinal
    std::uint32_t SectorsPerCluster = 0;
    std::uint32_t BytesPerSector = 0;
    std::uint32_t FreeClusters = 0;
    std::uint32_t TotalClusters = 0;
    std::uint32_t SerialNumber = 0;
    std::int64_t DiskSize = 0;
    std::int64_t FreeSpace = 0;
    std::string VolumeLabel;
    std::string SerialText;
    std::string FileSystem;
};

class TMFileExplorer {
public:
    TMFileExplorer(FileSystem& fileSystem, ShellInfo& shell, DateTimeText dateTimeText, char thousandsSeparator);

    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& value);
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& value) { fileName_ = value; }
    TFileType FileType() const { return fileType_; }
    void SetFileType(TFileType value);
    const std::string& Mask() const { return mask_; }
    void SetMask(const std::string& value);
    int SortColumn() const { return sortColumn_; }
    void SetSortColumn(int value);
    TSortDirection SortDirection() const { return sortDirection_; }
    void SetSortDir(TSortDirection value);
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle value);
    // With ContextMenu a right-click on the list shows the items' context menu; with
    // ContextAction a double-click or Enter on a file performs its default action.
    bool ContextMenu() const { return contextMenu_; }
    void SetContextMenu(bool value) { contextMenu_ = value; }
    bool ContextAction() const { return contextAction_; }
    void SetContextAction(bool value) { contextAction_ = value; }

    const std::vector<FileListItem>& items() const { return items_; }
    const std::vector<ListColumn>& columns() const { return columns_; }
    bool isSelected(int index) const { return selected_[static_cast<std::size_t>(index)]; }
    void setSelected(int index, bool selected);
    void clearSelection();

    void UpdateFileList();
    void OneLevelUp();
    void ColumnClick(int column);
    void Click();
    void DblClick();
    void Keydown(int key, TShiftState shift);
    // A right-button press: raises OnMouseDown; the native list behaviour does not follow.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);

    int SelectedCount() const;
    std::int64_t SelectedSize() const;
    std::string SelectedFilenames();
    TObjectTypes SelectedTypes();
    TDiskInfo GetDiskInfo(const std::string& drive) const;
    // Whether the row's path still leads where it led when the row was listed.
    bool stillLeadsToListedEntry(const FileListItem& item) const;
    std::int64_t GetDiskCap() const;
    std::int64_t GetDiskFree() const;

    // The list view's notifications: an item changed, clicks, keys; and the refresh's start and
    // end (the view shows the hourglass, redraws once and lets pending events run).
    std::function<void()> OnChange, OnClick, OnDblClick, OnViewStyleChanged;
    std::function<void(int key, TShiftState shift)> OnKeyDown;
    std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(bool refreshing)> onRefresh;
    // Performs a file's default action (its full path), for ContextAction.
    std::function<void(const std::string& path)> onDefaultAction;

private:
    // The entries that the folder search finds for `pattern` in `folder`.
    std::vector<FindData> search(const std::string& folder, const std::string& pattern);
    // Rows for the entries of `folder` that `pattern` takes and whose attributes `request` allows.
    void addEntries(const std::string& folder, const std::vector<FindData>& entries, std::string_view pattern,
                    unsigned request);
    // This system's path of `folder`, with a "/" at its end; empty where it has none.
    std::string localFolderOf(const std::string& folder) const;
    void AddDrives();
    void setModeColumns(bool drives);
    void addItem(FileListItem item);
    void sortItems();
    int selectedIndex() const;

    FileSystem& fileSystem_;
    ShellInfo& shell_;
    DateTimeText dateTimeText_;
    SortLocale sortLocale_;
    std::string directory_;
    std::string fileName_;
    TFileType fileType_ = 0;
    std::string mask_ = "*.*";
    int sortColumn_ = -1;
    TSortDirection sortDirection_ = TSortDirection::sdAscending;
    TViewStyle viewStyle_ = TViewStyle::vsIcon;
    bool contextMenu_ = false;
    bool contextAction_ = false;
    std::vector<std::string> nameList_;
    std::vector<FileListItem> items_;
    std::vector<bool> selected_;
    std::vector<ListColumn> columns_;
};

}  // namespace trovelin
