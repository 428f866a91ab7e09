#include "app/PanelWindow.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "app/ElidedLabel.h"
#include "app/WindowPlacement.h"
#include "framework/PaintTree.h"
#include "framework/PngWriter.h"
#include "gallery/GalleryForm.h"
#include "gallery/PanelControlAccess.h"
#include "gallery/PanelRender.h"
#include "streaming/Errors.h"
#include "widgets/ControlHostWidget.h"

namespace trovelin {

namespace {

constexpr const char* restingEventText = "Point at a control, click it, drag it, or press Tab, Space and the arrow keys.";

QString fileNameOf(const std::string& path)
{
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
}

QStringList problemsOf(const LoadedPanel& panel)
{
    QStringList lines;
    for (const LoaderEvent& problem : panel.problems()) lines << QString::fromStdString(problem.text);
    return lines;
}

// A bar across the window, on the colour of a tooltip, as desktops show a note about a document.
QWidget* noteBar(QWidget* parent)
{
    auto* bar = new QWidget(parent);
    bar->setAutoFillBackground(true);
    bar->setBackgroundRole(QPalette::ToolTipBase);
    bar->setForegroundRole(QPalette::ToolTipText);
    bar->hide();
    return bar;
}

// The lines of the problem list that show before it scrolls: the bar stays a bar, however many
// records the loader refused.
constexpr int problemDetailLines = 5;

// One window per panel file: the same file opened again, under any name, is the same panel.
// A hard link is one more name of it, as a symbolic link or a path through ".." is.
bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code ignored;
    return std::filesystem::equivalent(a, b, ignored);
}

// The PNG writer writes PNG alone: a name that calls for another kind of image is refused, as
// `render` refuses it, rather than holding PNG bytes under a misleading extension.
bool namesPng(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix.isEmpty() || suffix.compare("png", Qt::CaseInsensitive) == 0;
}

QPushButton* toolButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    // Tab comes to the window's own buttons after the panel's last control; a click leaves the
    // keys with the panel.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

}  // namespace

PanelWindow* PanelWindow::open(const std::string& panelFile, QWidget* anchor, QString& problem)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* shown = dynamic_cast<PanelWindow*>(widget);
        if (shown == nullptr || !shown->isVisible() || !sameFile(shown->panelFile_, panelFile)) continue;
        shown->setWindowState(shown->windowState() & ~Qt::WindowMinimized);
        shown->raise();
        shown->activateWindow();
        return shown;
    }
    // Taken before the read: a change while it reads is a change all the same.
    const FileStamp stamp = stampOf(QFile::decodeName(QByteArray::fromStdString(panelFile)));
    auto panel = std::make_unique<LoadedPanel>(panelFile);
    if (!panel->isPanel()) {
        problem = problemsOf(*panel).join('\n');
        return nullptr;
    }
    auto* window = new PanelWindow(std::move(panel), panelFile, stamp);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    if (anchor != nullptr) placeNear(*window, *anchor);
    window->activateWindow();
    // Opening and the first paint do not need the watch: it starts once the event loop runs.
    QTimer::singleShot(0, window, [window] { window->startWatching(); });
    return window;
}

PanelWindow::PanelWindow(std::unique_ptr<LoadedPanel> panel, const std::string& panelFile, const FileStamp& stamp)
    : panelFile_(panelFile), shownStamp_(stamp)
{
    const QString name = fileNameOf(panelFile);
    // The desktop adds the program's name (Qt appends the application's display name). Qt takes
    // "[*]" for its mark of a modified document; doubled, it shows as written.
    setWindowTitle(QString(name).replace("[*]", "[*][*]"));

    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(4, 4, 4, 0);
    // Made in the order that Tab visits them, as they stand left to right.
    QPushButton* actualSizeButton = toolButton("1:1", this);
    actualSizeButton->setObjectName("actualSize");
    actualSizeButton->setToolTip("One panel pixel per screen pixel (Ctrl+0)");
    fitButton_ = toolButton("Fit", this);
    fitButton_->setObjectName("fit");
    fitButton_->setToolTip("Fit the panel into the window (Ctrl+F)");
    fitButton_->setCheckable(true);
    QPushButton* resetButton = toolButton("Reset", this);
    resetButton->setObjectName("reset");
    resetButton->setToolTip("Reads the file again: every control back to its stored state (Ctrl+R)");
    QPushButton* saveButton = toolButton("Save Image As...", this);
    saveButton->setObjectName("saveImage");
    saveButton->setToolTip("Saves what the panel shows now as a PNG image (Ctrl+S)");
    connect(actualSizeButton, &QPushButton::clicked, this, [this] { showActualSize(); });
    connect(fitButton_, &QPushButton::clicked, this, [this](bool checked) { setFitToWindow(checked); });
    tools->addWidget(actualSizeButton);
    tools->addWidget(fitButton_);
    tools->addWidget(resetButton);
    tools->addWidget(saveButton);
    tools->addStretch(1);
    connect(resetButton, &QPushButton::clicked, this, [this] { reset(); });
    connect(saveButton, &QPushButton::clicked, this, [this] { saveImageAs(); });
    auto* resetAction = new QAction(this);
    resetAction->setShortcut(QKeySequence("Ctrl+R"));
    connect(resetAction, &QAction::triggered, this, [this] { reset(); });
    auto* saveAction = new QAction(this);
    saveAction->setShortcut(QKeySequence::Save);
    connect(saveAction, &QAction::triggered, this, [this] { saveImageAs(); });
    auto* actualSizeAction = new QAction(this);
    actualSizeAction->setShortcut(QKeySequence("Ctrl+0"));
    connect(actualSizeAction, &QAction::triggered, this, [this] { showActualSize(); });
    auto* fitAction = new QAction(this);
    fitAction->setShortcut(QKeySequence("Ctrl+F"));
    connect(fitAction, &QAction::triggered, this, [this] { setFitToWindow(!fitToWindow_); });
    addActions({resetAction, saveAction, actualSizeAction, fitAction});

    // The bars about problems and about the file come when there is something to say.
    bars_ = new QVBoxLayout;
    bars_->setSpacing(0);

    // The panel keeps its size; on a small screen the window is smaller and the panel scrolls.
    scroller_ = new QScrollArea(this);
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    // The panel takes the keys itself.
    scroller_->setFocusPolicy(Qt::NoFocus);
    // A long control name is cut short rather than widening the window.
    events_ = new ElidedLabel(this);
    events_->setContentsMargins(4, 0, 4, 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addLayout(tools);
    layout->addLayout(bars_);
    layout->addWidget(scroller_, 1);
    layout->addWidget(events_);

    showPanel(std::move(panel));
    sizeToPanel();
    keepOnScreen(*this);
}

void PanelWindow::sizeToPanel()
{
    // The scroll area alone would ask for a third of a large screen; the window asks for the
    // whole panel at 1:1 and its own bars, and no more than the screen has.
    // The scroll area's own row swapped for the panel's size: the layout is worked out once, and
    // is the one the window shows with.
    const QSize hint = sizeHint();
    const QSize scrollerHint = scroller_->sizeHint();
    const QSize wanted(std::max(hint.width(), host_->width()), hint.height() - scrollerHint.height() + host_->height());
    const QScreen* shownOn = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    resize(shownOn != nullptr ? wanted.boundedTo(shownOn->availableGeometry().size()) : wanted);
}

PanelWindow::~PanelWindow()
{
    dropPanel();
}

PanelFace* PanelWindow::face()
{
    return panel_ ? &panel_->face() : nullptr;
}

QString PanelWindow::lastEvent() const { return events_->fullText(); }

QString PanelWindow::problemText() const
{
    return problemBar_ == nullptr || problemBar_->isHidden() ? QString() : shownProblems_.join('\n');
}

bool PanelWindow::reloadOffered() const
{
    return changedBar_ != nullptr && !changedBar_->isHidden() && !reloadButton_->isHidden();
}

QString PanelWindow::fileNoteText() const
{
    return changedBar_ == nullptr || changedBar_->isHidden() ? QString() : changedText_->fullText();
}

void PanelWindow::makeProblemBar()
{
    problemBar_ = noteBar(this);
    auto* problemLayout = new QVBoxLayout(problemBar_);
    problemLayout->setContentsMargins(6, 2, 6, 2);
    auto* summaryRow = new QHBoxLayout;
    problemSummary_ = new ElidedLabel(problemBar_);
    detailsButton_ = toolButton("Details", problemBar_);
    detailsButton_->setObjectName("problemDetails");
    detailsButton_->setCheckable(true);
    summaryRow->addWidget(problemSummary_, 1);
    summaryRow->addWidget(detailsButton_);
    connect(detailsButton_, &QPushButton::toggled, this, [this](bool shown) { showProblemDetails(shown); });
    problemLayout->addLayout(summaryRow);
    bars_->insertWidget(0, problemBar_);
}

void PanelWindow::makeChangedBar()
{
    changedBar_ = noteBar(this);
    auto* changedLayout = new QHBoxLayout(changedBar_);
    changedLayout->setContentsMargins(6, 2, 6, 2);
    changedText_ = new ElidedLabel(changedBar_);
    reloadButton_ = toolButton("Reload", changedBar_);
    reloadButton_->setObjectName("reload");
    changedLayout->addWidget(changedText_, 1);
    changedLayout->addWidget(reloadButton_);
    connect(reloadButton_, &QPushButton::clicked, this, [this] { reset(); });
    bars_->addWidget(changedBar_);
}

void PanelWindow::showPanel(std::unique_ptr<LoadedPanel> panel)
{
    dropPanel();
    panel_ = std::move(panel);
    showProblems(problemsOf(*panel_));
    showsRereadFailure_ = false;
    host_ = new ControlHostWidget(panel_->face(), nullptr, &services_);
    host_->setDescriber(&describePanelControl);
    // The face fills its rectangle with its colour before its controls paint.
    host_->setOpaque();
    scroller_->setWidget(host_);
    applyZoom();
    reportControlEvents(panel_->face(), [this](const std::string& line) { events_->setFullText(QString::fromStdString(line)); });
    events_->setFullText(restingEventText);
    host_->setFocus();
}

void PanelWindow::showProblems(const QStringList& problems)
{
    if (problemBar_ == nullptr && problems.isEmpty()) return;
    if (problemBar_ == nullptr) makeProblemBar();
    problemBar_->setVisible(!problems.isEmpty());
    if (problems.isEmpty()) return;
    problemSummary_->setFullText(problems.size() == 1 ? problems.front()
                                                      : QString("%1 problems; the first: %2").arg(problems.size()).arg(problems.front()));
    shownProblems_ = problems;
    if (problemDetails_ != nullptr) problemDetails_->setPlainText(problems.join('\n'));
}

void PanelWindow::showProblemDetails(bool shown)
{
    // Made on the first look: most panels load without a problem, and the window opens sooner.
    if (problemDetails_ == nullptr && shown) {
        problemDetails_ = new QPlainTextEdit(problemBar_);
        problemDetails_->setReadOnly(true);
        problemDetails_->setLineWrapMode(QPlainTextEdit::NoWrap);
        problemDetails_->setMaximumHeight(problemDetails_->fontMetrics().lineSpacing() * problemDetailLines +
                                          2 * problemDetails_->frameWidth() + 8);
        problemDetails_->setPlainText(shownProblems_.join('\n'));
        problemBar_->layout()->addWidget(problemDetails_);
    }
    if (problemDetails_ != nullptr) problemDetails_->setVisible(shown);
}

void PanelWindow::dropPanel()
{
    // The host lets go of the face before the face goes, ending any drag as it goes (the pointer
    // a control hid shows again), and the controls stop their timers as they go.
    delete scroller_->takeWidget();
    host_ = nullptr;
    panel_.reset();
}

void PanelWindow::reset()
{
    if (changedBar_ != nullptr) changedBar_->hide();
    const FileStamp stamp = stampOf(filePath());
    auto panel = std::make_unique<LoadedPanel>(panelFile_);
    shownStamp_ = stamp;
    if (!panel->isPanel()) {
        // What was shown stays; the bar says why it could not be read again.
        showProblems(problemsOf(*panel));
        showsRereadFailure_ = true;
        return;
    }
    showPanel(std::move(panel));
}

double PanelWindow::zoom() const
{
    return host_ != nullptr ? host_->zoom() : 1;
}

void PanelWindow::setFitToWindow(bool fit)
{
    fitToWindow_ = fit;
    fitButton_->setChecked(fit);
    applyZoom();
}

void PanelWindow::applyZoom()
{
    if (host_ == nullptr) return;
    const PanelFace& face = panel_->face();
    if (!fitToWindow_ || face.width() <= 0 || face.height() <= 0) {
        host_->setZoom(1);
        return;
    }
    const QSize room = scroller_->maximumViewportSize();
    const double scale = std::min(static_cast<double>(room.width()) / face.width(),
                                  static_cast<double>(room.height()) / face.height());
    // Enlarged panel pixels stay sharp squares of whole screen pixels.
    host_->setZoom(scale >= 1 ? std::floor(scale) : std::max(scale, 1.0 / 64));
}

void PanelWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (fitToWindow_) applyZoom();
}

QString PanelWindow::filePath() const { return QFile::decodeName(QByteArray::fromStdString(panelFile_)); }

PanelWindow::FileStamp PanelWindow::stampOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) return {};
    return {true, info.size(), info.lastModified(), info.metadataChangeTime()};
}

void PanelWindow::startWatching()
{
    watcher_ = new QFileSystemWatcher(this);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { fileWatchEvent(); });
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { fileWatchEvent(); });
    fileWatchEvent();
}

void PanelWindow::watchFileAndFolders()
{
    // The file, for changes of its bytes; its folder, for its deletion, its return and an
    // editor's save over it; and the folder above, which alone sees that folder renamed or
    // deleted. While the folder is gone, the nearest folder left tells when it comes back.
    // Watched anew each time: a watch follows a folder renamed away, not its name.
    const QFileInfo file(filePath());
    const auto above = [](const QString& folder) { return QFileInfo(folder).absolutePath(); };
    QString folder = file.absolutePath();
    while (!QFileInfo(folder).isDir() && above(folder) != folder) folder = above(folder);
    QStringList wanted{folder};
    if (above(folder) != folder) wanted << above(folder);
    if (file.exists()) wanted << file.absoluteFilePath();
    const QStringList watched = watcher_->files() + watcher_->directories();
    if (!watched.isEmpty()) watcher_->removePaths(watched);
    watcher_->addPaths(wanted);
}

void PanelWindow::fileWatchEvent()
{
    // A window closed but not yet deleted has nothing left to tell about.
    if (!panel_) return;
    watchFileAndFolders();
    const FileStamp now = stampOf(filePath());
    // The file as it was read (back again, or a neighbour changed): nothing to offer.
    if (now == shownStamp_) {
        if (changedBar_ != nullptr) changedBar_->hide();
        return;
    }
    if (changedBar_ == nullptr) makeChangedBar();
    const QString name = fileNameOf(panelFile_);
    changedText_->setFullText(now.exists ? name + " changed on disk." : name + " was removed from disk.");
    reloadButton_->setVisible(now.exists);
    changedBar_->show();
    // A failure to read the file while it was gone no longer holds.
    if (now.exists && showsRereadFailure_) {
        showProblems(problemsOf(*panel_));
        showsRereadFailure_ = false;
    }
}

QImage PanelWindow::currentImage()
{
    if (!panel_) return {};
    PanelFace& face = panel_->face();
    QImage image(face.width(), face.height(), QImage::Format_RGB32);
    paintControlTree(image, face, host()->paintBudget());
    return image;
}

QString PanelWindow::saveImage(const QString& fileName)
{
    if (!namesPng(fileName))
        return "Only PNG is written: '" + QFileInfo(fileName).fileName() + "' names another kind of image";
    try {
        writePng(currentImage(), QFile::encodeName(fileName).toStdString());
    } catch (const Exception& error) {
        return QString::fromStdString(error.message());
    }
    return {};
}

void PanelWindow::saveImageAs()
{
    if (!panel_) return;
    // Beside the panel file, not in whatever folder the program was started from.
    const QFileInfo panelFile(filePath());
    const QString suggested = panelFile.absoluteDir().filePath(panelFile.completeBaseName() + ".png");
    const QString fileName =
        chooseImageFile ? chooseImageFile(suggested)
                        : QFileDialog::getSaveFileName(this, "Save Image As", suggested, "PNG images (*.png)");
    if (fileName.isEmpty()) return;
    const QString problem = saveImage(fileName);
    events_->setFullText(problem.isEmpty() ? "Saved " + QFileInfo(fileName).fileName() : problem);
}

void PanelWindow::closeEvent(QCloseEvent* event)
{
    // Closing ends the panel at once: no timer of its controls runs on while the window waits
    // to be deleted.
    dropPanel();
    event->accept();
}

}  // namespace trovelin
