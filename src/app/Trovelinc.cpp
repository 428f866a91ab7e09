#include "app/Trovelinc.h"

#include <QBoxLayout>
#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QLocale>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>

#include "app/DrawGrid.h"
#include "app/FolderLoadJob.h"
#include "app/LocaleTexts.h"
#include "app/PictureActions.h"
#include "app/PictureMimeData.h"
#include "app/PicturePreview.h"
#include "app/WindowPlacement.h"
#include "browse/DriveComboBox.h"
#include "browse/FileListView.h"
#include "framework/WinControl.h"
#include "skin/MainWindowGlyphs.h"
#include "skin/Wspeedbutton.h"
#include "widgets/ControlHostWidget.h"
#include "framework/BitmapImage.h"
#include "framework/Canvas.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/PictureList.h"
#include "platform/FileAttributes.h"
#include "platform/FindFiles.h"

namespace trovelin {

namespace {

constexpr int statusPanelWidths[2] = {304, 50};
// The grid's border and frame take these pixels of its width before the columns.
constexpr int gridWidthOverhead = 8;
// A folder load that takes longer than this shows its progress.
constexpr int loadProgressDelayMs = 500;

PanelFileOpener openerOf(FileSystem& fileSystem)
{
    return [&fileSystem](const std::string& fileName) { return fileSystem.openUnshared(fileName); };
}

}  // namespace

TTrovelin::TTrovelin(PictureList& pictures, FileSystem& fileSystem, ShellInfo& shell,
                     std::function<QIcon(int)> iconOf, QWidget* parent)
    : QWidget(parent),
      pictures_(pictures),
      loader_(*this, pictures, panelLoaderClasses(), openerOf(fileSystem)),
      fileSystem_(fileSystem),
      MFileExplorer(fileSystem, shell, localeDateTimeText(), localeThousandsSeparator())
{
    pictures_.clear();  // FormCreate
    setWindowTitle("Trovelin for KVR Panel Files");
    setGeometry(349, 251, 662, 453);
    keepOnScreen(*this);
    messageBox = [this](const QString& caption, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, this);
        box.exec();
    };

    MFileExplorer.SetFileType(1u << ftReadOnly | 1u << ftHidden | 1u << ftSystem | 1u << ftArchive | 1u << ftNormal);
    MFileExplorer.SetMask("*.kvr");
    MFileExplorer.SetSortColumn(0);
    MFileExplorer.SetViewStyle(TViewStyle::vsReport);
    MFileExplorer.SetContextMenu(true);
    MFileExplorer.OnChange = [this] { guarded([this] { MFileExplorerChange(); }); };
    MFileExplorer.OnClick = [this] { guarded([this] { MFileExplorerClick(); }); };
    HDrvComboBox.OnChange = [this] { guarded([this] { HDrvComboBoxChange(); }); };
    HDrvComboBox.onSelectionMoved = [this] {
        if (driveComboBox_) driveComboBox_->showSelection();
    };

    Panel1 = new QWidget;
    buildFileBrowser(shell, iconOf ? iconOf : [](int) { return QIcon(); });
    PictureGrid = new TDrawGrid;
    PictureGrid->setColor(pictureGridColor);
    PictureGrid->onDrawCell = [this](int col, int row, const TRect& rect, unsigned state, TCanvas& canvas) {
        PictureGridDrawCell(col, row, rect, state, canvas);
    };
    PictureGrid->onSelectCell = [this](int col, int row, bool& canSelect) {
        PictureGridSelectCell(col, row, canSelect);
    };
    PictureGrid->onOpenCell = [this](int col, int row) { openPreview(col + row * PictureGrid->colCount()); };
    // Ctrl+C copies the selected picture again, say after another program took the clipboard.
    new QShortcut(QKeySequence::Copy, PictureGrid, [this] { copySelectedPicture(); }, Qt::WidgetShortcut);
    pictureActions_ = std::make_unique<PictureActions>(
        *PictureGrid, pictures_, [this](int index) { copyToClipboard(index); },
        [this](const QString& text) { messageBox(QGuiApplication::applicationDisplayName(), text); });
    pictureActions_->preview = [this](int index) { openPreview(index); };
    pictureProvenance = [this](int index) { return pictureActions_->pictureHint(index).replace('\n', QStringLiteral("  \u00B7  ")); };

    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(Panel1);
    Splitter1->addWidget(PictureGrid);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({305, 338});
    QObject::connect(Splitter1, &QSplitter::splitterMoved, [this] { FormResize(); });

    auto* statusBar = new QStatusBar;
    statusBar->setSizeGripEnabled(false);
    // As in the original framework's status bar, the last panel reaches to the right edge.
    for (int i = 0; i < 2; ++i) {
        statusPanels_[i] = new QLabel;
        if (i == 0)
            statusPanels_[i]->setFixedWidth(statusPanelWidths[i]);
        else
            statusPanels_[i]->setMinimumWidth(statusPanelWidths[i]);
        statusBar->addWidget(statusPanels_[i], i == 1 ? 1 : 0);
    }
    statusBar->setFixedHeight(19);
    loadProgress_ = new QLabel;
    loadProgress_->hide();
    statusBar->addPermanentWidget(loadProgress_);
    loadProgressDelay_ = new QTimer(this);
    loadProgressDelay_->setSingleShot(true);
    loadProgressDelay_->setInterval(loadProgressDelayMs);
    QObject::connect(loadProgressDelay_, &QTimer::timeout, [this] { showLoadProgress(); });
    cancelLoad_ = new QShortcut(Qt::Key_Escape, this, [this] { cancelFolderLoad(); });
    cancelLoad_->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(statusBar);
}

TTrovelin::~TTrovelin()
{
    // The job, a child of the window, waits for its worker when it goes.
    if (folderLoad_) folderLoad_->cancel();
    // The widgets show the buttons and the file list, which are members: they go first, after
    // what acts on the grid.
    pictureActions_.reset();
    delete Splitter1;
    pictures_.clear();  // FormDestroy
}

// The left side: the tool strip (drive selector, level-up and view buttons) over the file list.
void TTrovelin::buildFileBrowser(ShellInfo& shell, const std::function<QIcon(int)>& iconOf)
{
    auto* Panel2 = new QWidget;
    Panel2->setFixedHeight(41);
    auto currentDrives = [this, &shell] {
        fileSystem_.refreshDrives();
        return describeDrives(fileSystem_, shell);
    };
    driveComboBox_ = new TKOVDrvComboBox(HDrvComboBox, currentDrives, iconOf, Panel2);
    driveComboBox_->setGeometry(6, 9, 227, 24);
    toolStrip_ = std::make_unique<TWinControl>(nullptr);
    toolStrip_->setColor(clBtnFace);
    auto makeButton = [this, Panel2](std::unique_ptr<TWSpeedButton>& button, const std::vector<std::uint8_t>& glyph,
                                     int left) {
        button = std::make_unique<TWSpeedButton>(nullptr);
        button->setParent(toolStrip_.get());
        button->setWidth(24);
        button->setHeight(24);
        button->setFlat(true);
        button->setGlyph(decodeGlyphData(glyph));
        auto* host = new ControlHostWidget(*button, Panel2, &controlServices_);
        host->move(left, 9);
        return host;
    };
    makeButton(ViewLevelUp, ViewLevelUpGlyphData(), 238);
    viewIconsHost_ = makeButton(ViewIcons, ViewIconsGlyphData(), 269);
    ViewLevelUp->onClickHandler = [this](TControl&) { guarded([this] { ViewLevelUpClick(); }); };
    ViewIcons->onClickHandler = [this](TControl&) { guarded([this] { ViewIconsClick(); }); };
    ViewIcons->onMouseUpHandler = [this](TControl&, TMouseButton, TShiftState, int x, int y) {
        guarded([this, x, y] { ViewIconsMouseUp(x, y, ViewIcons->width(), ViewIcons->height()); });
    };

    PopupView = new QMenu(this);
    const char* captions[] = {"Large Icons", "List", "Small Icons", "Details"};
    // The menu runs inside the button's mouse-up, before the button's own click steps the style:
    // the entry chosen takes effect after that click, as a posted menu command would.
    for (int tag = 0; tag < 4; ++tag) {
        PopupView->addAction(captions[tag], [this, tag] {
            QMetaObject::invokeMethod(
                this, [this, tag] { guarded([this, tag] { Icons1Click(tag); }); }, Qt::QueuedConnection);
        });
    }
    popupView = [this](int x, int y) {
        PopupView->exec(viewIconsHost_->mapToGlobal(QPoint(x, y)));
        ViewIcons->setDown(false);
        // The button ends its mouse-up believing the pointer still at the release point; once it
        // has, it learns where the pointer went while the menu was open.
        QMetaObject::invokeMethod(
            this,
            [this] {
                const QPoint pointer = viewIconsHost_->mapFromGlobal(QCursor::pos());
                ViewIcons->mouseMove(0, pointer.x(), pointer.y());
            },
            Qt::QueuedConnection);
    };

    fileListView_ = new FileListView(MFileExplorer, iconOf);
    auto* column = new QVBoxLayout(Panel1);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel2);
    column->addWidget(fileListView_, 1);
}

void TTrovelin::guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        showError(error.what());
    }
}

void TTrovelin::showError(const std::string& text)
{
    messageBox(QGuiApplication::applicationDisplayName(), QString::fromStdString(text));
}

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

void TTrovelin::setItemActions(ShellItemActions* actions) { fileListView_->setItemActions(actions); }

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
    cancelFolderLoad();
    setStatusPanel(0, QString::fromStdString(fileName));
    LoadForm(fileName, true);
    picturesReloaded();
}

void TTrovelin::picturesReloaded()
{
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

void TTrovelin::endFolderLoad()
{
    if (!folderLoad_) return;
    folderLoad_->retire();
    folderLoad_ = nullptr;
    // The preview follows what the load left, finished, failed or cancelled.
    if (preview_) preview_->picturesChanged();
    loadProgressDelay_->stop();
    loadProgress_->hide();
    loadProgress_->clear();
    cancelLoad_->setEnabled(false);
}

void TTrovelin::showLoadProgress()
{
    if (!folderLoad_) return;
    loadProgress_->setText(QString("Loaded %1 of %2 files, %3 pictures (Esc cancels)")
                               .arg(folderLoad_->filesHandedOver())
                               .arg(folderLoad_->fileCount())
                               .arg(pictures_.count()));
    loadProgress_->show();
}

QString TTrovelin::loadProgressText() const
{
    return loadProgress_->text();
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

void TTrovelin::FormResize()
{
    PictureGrid->setColCount((PictureGrid->width() - gridWidthOverhead) / PictureGrid->defaultColWidth());
    PictureGrid->setRowCount(pictureListCapacity / PictureGrid->colCount() + 1);
}

void TTrovelin::PictureGridDrawCell(int col, int row, const TRect& rect, unsigned, TCanvas& canvas)
{
    const int index = col + row * PictureGrid->colCount();
    if (index >= pictures_.count()) {
        canvas.brush().setStyle(TBrushStyle::bsSolid);
        canvas.brush().setColor(clSilver);
        canvas.fillRect(rect);
        return;
    }
    const TBitmap& picture = pictures_.at(index);
    if (picture.empty()) return;
    canvas.draw(rect.left + (PictureGrid->defaultColWidth() - picture.width()) / 2,
                rect.top + (PictureGrid->defaultRowHeight() - picture.height()) / 2, picture);
}

void TTrovelin::PictureGridSelectCell(int col, int row, bool& canSelect)
{
    const int index = col + row * PictureGrid->colCount();
    if (index >= pictures_.count()) {
        canSelect = false;
        return;
    }
    copyToClipboard(index);
}

void TTrovelin::openPreview(int index)
{
    if (index < 0 || index >= pictures_.count()) return;
    if (!preview_) {
        preview_ = new PicturePreview(
            pictures_, [this](int shown) { return pictureProvenance ? pictureProvenance(shown) : QString(); }, this);
    }
    preview_->showPicture(index);
    preview_->show();
    preview_->raise();
    preview_->activateWindow();
}

void TTrovelin::copySelectedPicture()
{
    // After a load the current cell may lie past the new count; it then has nothing to copy.
    if (const std::optional<int> index = pictureActions_->selectedPicture()) pictureActions_->copyPicture(*index);
}

void TTrovelin::copyToClipboard(int index)
{
    const TBitmap& picture = pictures_.at(index);
    setStatusPanel(0, QString("%1x%2").arg(picture.width()).arg(picture.height()));
    // The clipboard gets the pixels alone: no palette, no transparency.
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QImage image = toQImage(picture).convertToFormat(QImage::Format_RGB888);
    if (clipboard && !image.isNull()) {
        clipboard->setMimeData(new PictureMimeData(image));
        const QMimeData* placed = clipboard->mimeData();
        if (placed && placed->hasImage()) return;
    }
    messageBox(QGuiApplication::applicationDisplayName(), "Failed to copy image to clipboard!");
}

QString TTrovelin::statusText(int panel) const
{
    return statusPanels_[panel]->text();
}

void TTrovelin::setStatusPanel(int panel, const QString& text)
{
    statusPanels_[panel]->setText(text);
}

void TTrovelin::setStatusText(const std::string& text)
{
    setStatusPanel(0, QString::fromStdString(text));
}

void TTrovelin::repaintPictureGrid()
{
    // A folder load hands files over faster than the grid paints: there, the paints wait for the
    // event loop, which makes one of several.
    if (folderLoad_)
        PictureGrid->viewport()->update();
    else
        PictureGrid->viewport()->repaint();
}

void TTrovelin::showMessage(const std::string& text)
{
    messageBox(loaderMessageCaption, QString::fromStdString(text));
}

void TTrovelin::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

}  // namespace trovelin
