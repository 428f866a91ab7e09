#include "app/PanelWindow.h"

#include <algorithm>
#include <cmath>

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/WindowPlacement.h"
#include "framework/PaintTree.h"
#include "framework/PngWriter.h"
#include "gallery/GalleryForm.h"
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

QString problemsText(const LoadedPanel& panel)
{
    QStringList lines;
    for (const LoaderEvent& problem : panel.problems()) lines << QString::fromStdString(problem.text);
    return lines.join('\n');
}

// A line across the window, on the colour of a tooltip, as desktops show a note about a document.
QLabel* noteLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setMargin(6);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::ToolTipBase);
    label->setForegroundRole(QPalette::ToolTipText);
    label->hide();
    return label;
}

QPushButton* toolButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    // The keys belong to the panel's controls: Tab must not stop on the window's own buttons.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

PanelWindow* PanelWindow::open(const std::string& panelFile, QWidget* anchor, QString& problem)
{
    auto panel = std::make_unique<LoadedPanel>(panelFile);
    if (!panel->isPanel()) {
        problem = problemsText(*panel);
        return nullptr;
    }
    auto* window = new PanelWindow(std::move(panel), panelFile);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    if (anchor != nullptr) placeNear(*window, *anchor);
    window->activateWindow();
    return window;
}

PanelWindow::PanelWindow(std::unique_ptr<LoadedPanel> panel, const std::string& panelFile)
    : panelFile_(panelFile)
{
    const QString name = fileNameOf(panelFile);
    setWindowTitle(name + " - Trovelin panel");

    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(4, 4, 4, 0);
    QPushButton* resetButton = toolButton("Reset", this);
    resetButton->setObjectName("reset");
    resetButton->setToolTip("Reads the file again: every control back to its stored state (Ctrl+R)");
    QPushButton* saveButton = toolButton("Save Image As...", this);
    saveButton->setObjectName("saveImage");
    saveButton->setToolTip("Saves what the panel shows now as a PNG image (Ctrl+S)");
    QPushButton* actualSizeButton = toolButton("1:1", this);
    actualSizeButton->setObjectName("actualSize");
    actualSizeButton->setToolTip("One panel pixel per screen pixel (Ctrl+0)");
    fitButton_ = toolButton("Fit", this);
    fitButton_->setObjectName("fit");
    fitButton_->setToolTip("Fit the panel into the window (Ctrl+F)");
    fitButton_->setCheckable(true);
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

    problems_ = noteLabel(this);
    changedBar_ = new QWidget(this);
    changedBar_->setAutoFillBackground(true);
    changedBar_->setBackgroundRole(QPalette::ToolTipBase);
    auto* changedLayout = new QHBoxLayout(changedBar_);
    changedLayout->setContentsMargins(6, 2, 6, 2);
    auto* changedText = new QLabel(name + " changed on disk.", changedBar_);
    changedText->setTextFormat(Qt::PlainText);
    changedText->setForegroundRole(QPalette::ToolTipText);
    QPushButton* reloadButton = toolButton("Reload", changedBar_);
    reloadButton->setObjectName("reload");
    changedLayout->addWidget(changedText, 1);
    changedLayout->addWidget(reloadButton);
    connect(reloadButton, &QPushButton::clicked, this, [this] { reset(); });
    changedBar_->hide();

    // The panel keeps its size; on a small screen the window is smaller and the panel scrolls.
    scroller_ = new QScrollArea(this);
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    events_ = new QLabel(restingEventText, this);
    events_->setTextFormat(Qt::PlainText);
    events_->setContentsMargins(4, 0, 4, 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addLayout(tools);
    layout->addWidget(problems_);
    layout->addWidget(changedBar_);
    layout->addWidget(scroller_, 1);
    layout->addWidget(events_);

    watcher_ = new QFileSystemWatcher(this);
    watcher_->addPath(QFile::decodeName(QByteArray::fromStdString(panelFile_)));
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { fileChanged(); });

    showPanel(std::move(panel));
    resize(sizeHint());
    keepOnScreen(*this);
}

PanelWindow::~PanelWindow()
{
    dropPanel();
}

PanelFace* PanelWindow::face()
{
    return panel_ ? &panel_->face() : nullptr;
}

QString PanelWindow::lastEvent() const { return events_->text(); }

QString PanelWindow::problemText() const { return problems_->isHidden() ? QString() : problems_->text(); }

bool PanelWindow::reloadOffered() const { return !changedBar_->isHidden(); }

void PanelWindow::showPanel(std::unique_ptr<LoadedPanel> panel)
{
    dropPanel();
    panel_ = std::move(panel);
    const QString problems = problemsText(*panel_);
    problems_->setText(problems);
    problems_->setVisible(!problems.isEmpty());
    host_ = new ControlHostWidget(panel_->face(), nullptr, &services_);
    scroller_->setWidget(host_);
    applyZoom();
    reportControlEvents(panel_->face(), [this](const std::string& line) { events_->setText(QString::fromStdString(line)); });
    events_->setText(restingEventText);
    host_->setFocus();
}

void PanelWindow::dropPanel()
{
    // The host lets go of the face before the face goes, and the controls stop their timers as
    // they go.
    delete scroller_->takeWidget();
    host_ = nullptr;
    panel_.reset();
}

void PanelWindow::reset()
{
    changedBar_->hide();
    auto panel = std::make_unique<LoadedPanel>(panelFile_);
    if (!panel->isPanel()) {
        // What was shown stays; the bar says why it could not be read again.
        problems_->setText(problemsText(*panel));
        problems_->show();
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

void PanelWindow::fileChanged()
{
    // Editors that save by replacing the file end the watch on the old one.
    const QString path = QFile::decodeName(QByteArray::fromStdString(panelFile_));
    if (!watcher_->files().contains(path) && QFileInfo::exists(path)) watcher_->addPath(path);
    changedBar_->show();
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
    const QString suggested = QFileInfo(QFile::decodeName(QByteArray::fromStdString(panelFile_))).completeBaseName() + ".png";
    const QString fileName =
        chooseImageFile ? chooseImageFile()
                        : QFileDialog::getSaveFileName(this, "Save Image As", suggested, "PNG images (*.png)");
    if (fileName.isEmpty()) return;
    const QString problem = saveImage(fileName);
    events_->setText(problem.isEmpty() ? "Saved " + QFileInfo(fileName).fileName() : problem);
}

void PanelWindow::closeEvent(QCloseEvent* event)
{
    // Closing ends the panel at once: no timer of its controls runs on while the window waits
    // to be deleted.
    dropPanel();
    event->accept();
}

}  // namespace trovelin
