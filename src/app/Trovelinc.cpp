// The main window's building: the file browser, the grid, the splitter and the status bar, and
// the handlers' guard.

#include "app/Trovelinc.h"

#include <QBoxLayout>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>

#include "app/DrawGrid.h"
#include "app/FolderLoadJob.h"
#include "app/LocaleTexts.h"
#include "app/PictureActions.h"
#include "app/PictureThumbnails.h"
#include "app/WindowPlacement.h"
#include "browse/DriveComboBox.h"
#include "browse/FileListView.h"
#include "framework/WinControl.h"
#include "skin/MainWindowGlyphs.h"
#include "skin/Wspeedbutton.h"
#include "app/ViewerAccessibility.h"
#include "widgets/ToolButtonHost.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/PictureList.h"
#include "platform/FileSystem.h"

namespace trovelin {

namespace {

constexpr int statusPanelWidths[2] = {304, 50};
// A folder load that takes longer than this shows its progress.
constexpr int loadProgressDelayMs = 500;

}  // namespace

PanelFileOpener TTrovelin::openerOf(FileSystem& fileSystem)
{
    return [&fileSystem](const std::string& fileName) { return fileSystem.openUnshared(fileName); };
}

TTrovelin::TTrovelin(PictureList& pictures, FileSystem& fileSystem, ShellInfo& shell,
                     std::function<QIcon(int)> iconOf, QWidget* parent)
    : QWidget(parent),
      pictures_(pictures),
      loader_(*this, pictures, panelLoaderClasses(), openerOf(fileSystem)),
      fileSystem_(fileSystem),
      MFileExplorer(fileSystem, shell, localeDateTimeText(), localeThousandsSeparator())
{
    pictures_.clear();  // FormCreate
    // main() sets it up for the application; a window built without it (tests, benchmarks)
    // still presents its grid as the table that the grid's own events speak of.
    installViewerAccessibility();
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
    PictureGrid->setAccessibleName(QStringLiteral("Pictures"));
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
    restoreGridOptions();

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
    thumbnails_.reset();
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
    driveComboBox_->setAccessibleDescription(QStringLiteral("Drive"));
    toolStrip_ = std::make_unique<TWinControl>(nullptr);
    toolStrip_->setColor(clBtnFace);
    auto makeButton = [this, Panel2](std::unique_ptr<TWSpeedButton>& button, const std::vector<std::uint8_t>& glyph,
                                     int left, const QString& name) {
        button = std::make_unique<TWSpeedButton>(nullptr);
        button->setParent(toolStrip_.get());
        button->setWidth(24);
        button->setHeight(24);
        button->setFlat(true);
        button->setGlyph(decodeGlyphData(glyph));
        auto* host = new ToolButtonHost(*button, name, Panel2, &controlServices_);
        host->move(left, 9);
        return host;
    };
    makeButton(ViewLevelUp, ViewLevelUpGlyphData(), 238, QStringLiteral("Up one level"));
    viewIconsHost_ = makeButton(ViewIcons, ViewIconsGlyphData(), 269, QStringLiteral("View"));
    // From the keyboard the menu opens below the button.
    viewIconsHost_->openMenu = [this] { popupView(0, viewIconsHost_->height()); };
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
    // What the file actions did or why they failed; the panel may be narrower than the text.
    fileListView_->onStatus = [this](const QString& text) {
        setStatusPanel(0, text);
        statusPanels_[0]->setToolTip(text);
    };
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

void TTrovelin::setItemActions(ShellItemActions* actions) { fileListView_->setItemActions(actions); }

}  // namespace trovelin
