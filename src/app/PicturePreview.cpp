#include "app/PicturePreview.h"

#include <cmath>

#include <QAction>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>

#include "app/PreviewView.h"
#include "app/WindowPlacement.h"
#include "framework/BitmapImage.h"
#include "panelfile/PictureList.h"

namespace trovelin {

namespace {

const QString separator = QStringLiteral("  \u00B7  ");

QString zoomText(double zoom)
{
    return QString::number(std::round(zoom * 1000) / 10) + "%";
}

}  // namespace

PicturePreview::PicturePreview(const PictureList& pictures, std::function<QString(int index)> provenance,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), pictures_(pictures), provenance_(std::move(provenance))
{
    view_ = new PreviewView;
    status_ = new QLabel;
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* tools = new QToolBar;
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto addTool = [this, tools](const QString& text, const QString& tip, auto handler) {
        QAction* action = tools->addAction(text, this, handler);
        action->setToolTip(tip);
        return action;
    };
    addTool("Previous", "Previous picture (Left)", [this] { showPrevious(); });
    addTool("Next", "Next picture (Right)", [this] { showNext(); });
    tools->addSeparator();
    addTool("Zoom Out", "Zoom out (Ctrl+-, wheel)", [this] { view_->zoomOut(); });
    addTool("Zoom In", "Zoom in (Ctrl++, wheel)", [this] { view_->zoomIn(); });
    actualSizeAction_ = addTool("1:1", "One picture pixel per screen pixel (1, Ctrl+0)", [this] { view_->setZoom(1); });
    fitAction_ = addTool("Fit", "Fit to window (F)", [this] { view_->setFitToWindow(!view_->fitsWindow()); });
    actualSizeAction_->setCheckable(true);
    fitAction_->setCheckable(true);

    auto* statusBar = new QStatusBar;
    statusBar->setSizeGripEnabled(false);
    statusBar->addWidget(status_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(view_, 1);
    layout->addWidget(statusBar);
    setFocusProxy(view_);

    view_->onZoomChanged = [this] { updateStatus(); };
    if (parent == nullptr) keepOnScreen(*this);
}

void PicturePreview::showEvent(QShowEvent* event)
{
    // Spontaneous shows come from the window system (a window restored), which keeps its place.
    if (!event->spontaneous() && parentWidget() != nullptr) placeNear(*this, *parentWidget());
    QWidget::showEvent(event);
}

void PicturePreview::showPicture(int index)
{
    if (index < 0 || index >= pictures_.count()) return;
    index_ = index;
    showCurrent();
}

void PicturePreview::picturesChanged()
{
    if (index_ < 0) return;
    if (index_ >= pictures_.count()) {
        close();
        return;
    }
    showCurrent();
}

void PicturePreview::showCurrent()
{
    const TBitmap& picture = pictures_.at(index_);
    view_->setImage(toDrawableImage(picture), picture.transparent());
    setWindowTitle(QString("Picture %1 of %2").arg(index_ + 1).arg(pictures_.count()));
    updateStatus();
}

QString PicturePreview::statusText() const
{
    return status_->text();
}

void PicturePreview::updateStatus()
{
    actualSizeAction_->setChecked(!view_->fitsWindow() && view_->zoom() == 1);
    fitAction_->setChecked(view_->fitsWindow());
    if (index_ < 0 || index_ >= pictures_.count()) {
        status_->clear();
        return;
    }
    const TBitmap& picture = pictures_.at(index_);
    QStringList parts{QString("Picture %1 of %2").arg(index_ + 1).arg(pictures_.count())};
    if (picture.empty()) {
        parts << "empty";
    } else {
        parts << QString("%1 x %2").arg(picture.width()).arg(picture.height())
              << QString("%1 bits per pixel").arg(picture.image()->bitsPerPixel()) << zoomText(view_->zoom());
    }
    if (provenance_) {
        const QString origin = provenance_(index_);
        if (!origin.isEmpty()) parts << origin;
    }
    status_->setText(parts.join(separator));
}

void PicturePreview::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    if (key == Qt::Key_Left) {
        showPrevious();
    } else if (key == Qt::Key_Right) {
        showNext();
    } else if (event->matches(QKeySequence::ZoomIn) || (ctrl && (key == Qt::Key_Plus || key == Qt::Key_Equal))) {
        view_->zoomIn();
    } else if (event->matches(QKeySequence::ZoomOut) || (ctrl && key == Qt::Key_Minus)) {
        view_->zoomOut();
    } else if (key == Qt::Key_1 || (ctrl && key == Qt::Key_0)) {
        view_->setZoom(1);
    } else if (key == Qt::Key_F) {
        view_->setFitToWindow(!view_->fitsWindow());
    } else if (key == Qt::Key_Escape) {
        close();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void PicturePreview::closeEvent(QCloseEvent* event)
{
    // A closed preview keeps no picture alive; the window reuses it for the next one.
    index_ = -1;
    view_->setImage({}, false);
    view_->setZoom(1);
    QWidget::closeEvent(event);
}

}  // namespace trovelin
