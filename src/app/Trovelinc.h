#pragma once
// The main window: the file browser on the left (drive selector, file list, tool buttons), the
// picture grid on the right, the status bar, and the loader's view of the window. Its building is
// in Trovelinc.cpp, the browsing flow in TrovelincBrowsing.cpp, the grid's actions in
// TrovelincGrid.cpp and the texts for people in TrovelincStatus.cpp.

#include <functional>
#include <memory>
#include <string>

#include <QIcon>
#include <QWidget>

#include "browse/DriveSelection.h"
#include "browse/FileListText.h"
#include "browse/Mfileexplorer.h"
#include "framework/Geometry.h"
#include "framework/NamedConstants.h"
#include "panelfile/Loader.h"
#include "panelfile/LoaderHost.h"
#include "panelfile/MainWindowComponents.h"
#include "widgets/QtControlServices.h"

class QLabel;
class QMenu;
class QShortcut;
class QSplitter;
class QTimer;

namespace trovelin {

class ToolButtonHost;
class FileListView;
class FolderLoadJob;
struct LoadedFile;
class PicturePreview;
class TCanvas;
class TDrawGrid;
class TKOVDrvComboBox;
class TWSpeedButton;
class PictureActions;
class PictureList;
class PictureThumbnails;
class ShellItemActions;

// The grid's stored background colour: red 255, green 247, blue 232.
inline constexpr TColor pictureGridColor = 15267839;

class TTrovelin : public QWidget, public LoaderHost {
public:
    // `iconOf` gives the shell's icon of an image index for the file list and drive selector.
    TTrovelin(PictureList& pictures, FileSystem& fileSystem, ShellInfo& shell,
              std::function<QIcon(int)> iconOf = {}, QWidget* parent = nullptr);
    ~TTrovelin() override;

    // Handlers, named after control and event.
    // FormShow: drive selector and file list move to the program's folder (a drive path).
    void FormShow(const std::string& programFolder);
    // Shows `folder` in the file list and loads its panel file `fileName` alone, as a click on it
    // does, whatever its name: the command line and the desktop open panel files so.
    void OpenPanelFile(const std::string& folder, const std::string& fileName);
    void HDrvComboBoxChange();
    void MFileExplorerClick();
    void MFileExplorerChange();
    void ViewLevelUpClick();
    void ViewIconsClick();
    // Opens the view menu when the release point (x, y) lies in the lower-right quarter of the
    // width x height button.
    void ViewIconsMouseUp(int x, int y, int width, int height);
    void Icons1Click(int tag);
    void FormResize();
    void PictureGridDrawCell(int col, int row, const TRect& rect, unsigned state, TCanvas& canvas);
    void PictureGridSelectCell(int col, int row, bool& canSelect);
    // Pictures larger than a cell drawn scaled down to fit it, rather than at their own size
    // over their neighbours; remembered between runs.
    bool fitPictures() const { return fitPictures_; }
    void setFitPictures(bool fit);
    // Shows picture `index` in the preview window, opening it at 100% if it is closed.
    void openPreview(int index);
    // The preview window once it has been opened, else null.
    PicturePreview* preview() { return preview_; }
    // Where picture `index` came from, for the preview's status line; empty when unknown.
    std::function<QString(int index)> pictureProvenance;

    bool LoadForm(const std::string& fileName, bool clearFirst) { return loader_.LoadForm(fileName, clearFirst); }

    TDrawGrid& pictureGrid() { return *PictureGrid; }
    // The grid's menu, saving, export and drag.
    PictureActions& pictureActions() { return *pictureActions_; }
    TMFileExplorer& fileList() { return MFileExplorer; }
    DriveSelection& driveSelector() { return HDrvComboBox; }
    QWidget& leftPanel() { return *Panel1; }
    // What a right-click on the file list offers: the desktop's actions for the item.
    void setItemActions(ShellItemActions* actions);
    FileListView& fileListView() { return *fileListView_; }
    // The text of status bar panel 0 or 1.
    QString statusText(int panel) const;
    void setStatusPanel(int panel, const QString& text);

    // A folder's panel files load off the GUI thread; the window shows their progress once the
    // load has run for half a second, and Esc cancels it.
    bool folderLoadRunning() const { return folderLoad_ != nullptr; }
    // Keeps what the files loaded so far left in the list, as a load failing at the next file would.
    void cancelFolderLoad();
    // Empty while no progress shows.
    QString loadProgressText() const;
    // Runs on the loading thread between two files; tests hold the load there.
    std::function<void(int fileIndex)> betweenFolderFiles;

    // Shows a modal message box (caption, text) with an OK button and no icon; tests replace it.
    std::function<void(const QString&, const QString&)> messageBox;
    // Pops the view menu up at a point relative to the view button; tests replace it.
    std::function<void(int x, int y)> popupView;

    // LoaderHost
    Component& owner() override { return components_.window(); }
    TWinControl& hostPanel() override { return components_.panelPapa(); }
    ReaderEnvironment readerEnvironment() override { return components_.readerEnvironment(); }
    void setStatusText(const std::string& text) override;
    void repaintPictureGrid() override;
    void showMessage(const std::string& text) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    static PanelFileOpener openerOf(FileSystem& fileSystem);
    void startFolderLoad(std::vector<std::string> fileNames);
    void folderFileLoaded(const LoadedFile& file);
    enum class WorkerStop { Later, Now };
    void endFolderLoad(WorkerStop stop = WorkerStop::Later);
    void showLoadProgress();
    void showError(const std::string& text);

    void restoreGridOptions();
    void copySelectedPicture();
    void copyToClipboard(int index);
    // What a click on a panel file does once its name has passed the extension test.
    void loadClickedFile(const std::string& fileName);
    // After a load: the grid back at its top, the preview on what the list now holds.
    void picturesReloaded();
    // Runs a handler as the framework's event dispatch does: an exception that leaves it is shown
    // with its message, and the application goes on.
    void guarded(const std::function<void()>& handler);

    PictureList& pictures_;
    MainWindowComponents components_;
    PanelLoader loader_;
    FileSystem& fileSystem_;
    TMFileExplorer MFileExplorer;
    DriveSelection HDrvComboBox;
    void buildFileBrowser(ShellInfo& shell, const std::function<QIcon(int)>& iconOf);

    QWidget* Panel1;
    // Timers, hint windows and the pointer for the controls the window hosts.
    QtControlServices controlServices_;
    // The tool strip as the buttons' parent control: they take its colour.
    std::unique_ptr<TWinControl> toolStrip_;
    std::unique_ptr<TWSpeedButton> ViewLevelUp;
    std::unique_ptr<TWSpeedButton> ViewIcons;
    ToolButtonHost* viewIconsHost_ = nullptr;
    TKOVDrvComboBox* driveComboBox_ = nullptr;
    FileListView* fileListView_ = nullptr;
    QMenu* PopupView = nullptr;
    QSplitter* Splitter1;
    TDrawGrid* PictureGrid;
    std::unique_ptr<PictureActions> pictureActions_;
    std::unique_ptr<PictureThumbnails> thumbnails_;
    bool fitPictures_ = false;
    QLabel* statusPanels_[2];

    FolderLoadJob* folderLoad_ = nullptr;
    QLabel* loadProgress_;
    QTimer* loadProgressDelay_;
    QShortcut* cancelLoad_;
    PicturePreview* preview_ = nullptr;
};

}  // namespace trovelin
