// The main window's browsing flow: the drive selector and the file list lead to a folder, whose
// panel files load in the background into one picture list, or to one clicked panel file; the
// level-up and view buttons with the view menu.

#include "app/Trovelinc.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QShortcut>
#include <QTimer>

#include "app/DrawGrid.h"
#include "app/FolderLoadJob.h"
#include "app/PicturePreview.h"
#include "app/PictureThumbnails.h"
#include "panelfile/PictureList.h"
#include "platform/FileAttributes.h"
#include "platform/FindFiles.h"

namespace trovelin {

void TTrovelin::FormShow(const std::string& programFolder)
{
    if (!programFolder.empty()) HDrvComboBox.SetDrive(programFolder[0]);
    QCoreApplication::processEvents();
    MFileExplorer.SetDirectory(programFolder);
}

void TTrovelin::HDrvComboBoxChange()
{
    const char drive = HDrvComboBox.drive();
    MFileExplorer.SetDirectory(drive == DriveSelection::myComputer ? std::string(drivesDirectory)
                                                                   : std::string(1, drive) + ":\\");
}

void TTrovelin::MFileExplorerClick()
{
    const std::string& fileName = MFileExplorer.FileName();
    const std::string name = namePart(fileName);
    const std::size_t dot = name.rfind('.');
    const QString extension = dot == std::string::npos ? QString() : QString::fromStdString(name.substr(dot));
    if (QLocale().toLower(extension) != ".kvr") return;
    loadClickedFile(fileName);
}

void TTrovelin::loadClickedFile(const std::string& fileName)
{
    // Panel files open unshared, and the folder's worker may be loading this very file: the
    // click's load waits until the worker has let go of it.
    endFolderLoad(WorkerStop::Now);
    setStatusPanel(0, QString::fromStdString(fileName));
    LoadForm(fileName, true);
    picturesReloaded();
}

void TTrovelin::picturesReloaded()
{
    thumbnails_->clear();
    PictureGrid->setTopRow(0);
    if (preview_) preview_->picturesChanged();
}

void TTrovelin::OpenPanelFile(const std::string& folder, const std::string& fileName)
{
    // Marked as handled, the folder does not load its other panel files first, only to drop
    // them: the start is as quick as the one file, and a broken neighbour shows no message.
    setStatusPanel(1, QString::fromStdString(folder));
    FormShow(folder);
    MFileExplorer.SetFileName(fileName);
    guarded([this, &fileName] { loadClickedFile(fileName); });
}

void TTrovelin::MFileExplorerChange()
{
    const std::string directory = MFileExplorer.Directory();
    const char first = directory.empty() ? '\0' : directory[0];
    // The drive list loads nothing and leaves the last folder in status panel 1, so coming back
    // to that folder does not load it again.
    if (directory == drivesDirectory) {
        if (HDrvComboBox.drive() != DriveSelection::myComputer) HDrvComboBox.SetDrive(DriveSelection::myComputer);
        return;
    }
    if (HDrvComboBox.drive() != first) HDrvComboBox.SetDrive(first);
    if (QString::fromStdString(directory) == statusText(1)) return;
    cancelFolderLoad();
    setStatusPanel(1, QString::fromStdString(directory));
    std::vector<std::string> fileNames;
    TSearchRec search;
    for (std::uint32_t found = FindFirst(fileSystem_, directory + "\\*.kvr", faAnyFile, search); found == 0;
         found = FindNext(search))
        fileNames.push_back(directory + "\\" + search.Name);
    FindClose(search);
    startFolderLoad(std::move(fileNames));
}

void TTrovelin::startFolderLoad(std::vector<std::string> fileNames)
{
    if (fileNames.empty()) {
        picturesReloaded();
        return;
    }
    // The first file clears the list before it is opened; its pictures are gone before any new
    // one is charged to the list's pixel budget.
    if (pictures_.count() != 0) {
        pictures_.clear();
        thumbnails_->clear();
        PictureGrid->viewport()->update();
    }
    folderLoad_ = new FolderLoadJob(std::move(fileNames), openerOf(fileSystem_), pictures_.pixelBudget(), this);
    folderLoad_->onFileLoaded = [this](const LoadedFile& file) { folderFileLoaded(file); };
    folderLoad_->onFinished = [this] {
        endFolderLoad();
        PictureGrid->setTopRow(0);
    };
    folderLoad_->betweenFiles = betweenFolderFiles;
    folderLoad_->start();
    loadProgressDelay_->start();
    cancelLoad_->setEnabled(true);
}

void TTrovelin::folderFileLoaded(const LoadedFile& file)
{
    const FolderLoadJob* job = folderLoad_;
    try {
        replayLoadedFile(file, pictures_, *this);
    } catch (const std::exception& error) {
        endFolderLoad();
        showError(error.what());
        return;
    }
    // A message box of the replay may have seen the load cancelled.
    if (folderLoad_ != job) return;
    // A failure ends the load where it happened, as it leaves a load on the GUI thread.
    if (file.error) {
        endFolderLoad();
        showError(*file.error);
        return;
    }
    if (loadProgress_->isVisible()) showLoadProgress();
}

void TTrovelin::cancelFolderLoad()
{
    endFolderLoad();
}

void TTrovelin::endFolderLoad(WorkerStop stop)
{
    if (!folderLoad_) return;
    if (stop == WorkerStop::Now)
        folderLoad_->retireOnceStopped();
    else
        folderLoad_->retire();
    folderLoad_ = nullptr;
    // The preview follows what the load left, finished, failed or cancelled.
    if (preview_) preview_->picturesChanged();
    loadProgressDelay_->stop();
    loadProgress_->hide();
    loadProgress_->clear();
    cancelLoad_->setEnabled(false);
}

void TTrovelin::ViewLevelUpClick()
{
    MFileExplorer.OneLevelUp();
}

void TTrovelin::ViewIconsClick()
{
    MFileExplorer.SetViewStyle(static_cast<TViewStyle>((static_cast<int>(MFileExplorer.ViewStyle()) + 1) % 4));
}

void TTrovelin::ViewIconsMouseUp(int x, int y, int width, int height)
{
    if (x <= width / 2 || y <= height / 2) return;
    popupView(x, y);
}

// The menu items' tags number the view styles, so "List" (tag 1) selects small icons and
// "Small Icons" (tag 2) the list.
void TTrovelin::Icons1Click(int tag)
{
    MFileExplorer.SetViewStyle(static_cast<TViewStyle>(tag));
}

}  // namespace trovelin
