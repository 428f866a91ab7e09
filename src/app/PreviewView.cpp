#include "app/PreviewView.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

namespace trovelin {

namespace {

// Whole factors above 100% keep every picture pixel the same size on screen.
constexpr std::array zoomSteps{1.0 / 16, 1.0 / 12, 1.0 / 8, 1.0 / 6, 1.0 / 4, 1.0 / 3, 1.0 / 2, 2.0 / 3, 1.0,
                               2.0,      3.0,      4.0,     6.0,     8.0,     12.0,    16.0,    24.0,    32.0};
// Scroll ranges and drawing coordinates stay well inside int.
constexpr double maxScaledExtent = 1 << 30;
constexpr int wheelNotch = 120;
constexpr QRgb backgroundColour = qRgb(96, 96, 96);
constexpr QRgb checkerLight = qRgb(255, 255, 255);
constexpr QRgb checkerDark = qRgb(204, 204, 204);
constexpr int checkerSquare = 8;  // device-independent pixels

bool sameZoom(double a, double b) { return std::abs(a - b) < 1e-9 * std::max(a, b); }

double stepAbove(double zoom)
{
    const auto next = std::find_if(zoomSteps.begin(), zoomSteps.end(),
                                   [zoom](double step) { return step > zoom && !sameZoom(step, zoom); });
    return next == zoomSteps.end() ? zoomSteps.back() : *next;
}

double stepBelow(double zoom)
{
    const auto next = std::find_if(zoomSteps.rbegin(), zoomSteps.rend(),
                                   [zoom](double step) { return step < zoom && !sameZoom(step, zoom); });
    return next == zoomSteps.rend() ? zoomSteps.front() : *next;
}

}  // namespace

PreviewView::PreviewView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    // Every paint covers the whole area: Qt need not clear it first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::OpenHandCursor);
}

void PreviewView::setImage(const QImage& image, bool transparent)
{
    // Converted once here, so that every paint is a plain copy or a plain scaling.
    transparent_ = transparent && !image.isNull();
    image_ = image.convertToFormat(transparent_ ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    reduced_ = {};
    enlarged_ = {};
    if (fitsWindow_) zoom_ = fittingZoom();
    zoom_ = std::min(zoom_, maxZoom());
    updateScrollBars();
    viewport()->update();
    if (onZoomChanged) onZoomChanged();
}

double PreviewView::maxZoom() const
{
    const int extent = std::max(image_.width(), image_.height());
    return extent == 0 ? zoomSteps.back() : std::min(zoomSteps.back(), maxScaledExtent / extent);
}

void PreviewView::setZoom(double zoom)
{
    const QSize view = viewportDeviceSize();
    setZoomAbout(zoom, QPointF(view.width() / 2.0, view.height() / 2.0));
}

void PreviewView::zoomIn() { setZoom(stepAbove(zoom_)); }

void PreviewView::zoomOut() { setZoom(stepBelow(zoom_)); }

void PreviewView::setZoomAbout(double zoom, QPointF anchor)
{
    fitsWindow_ = false;
    zoomAbout(std::clamp(zoom, zoomSteps.front(), maxZoom()), anchor);
}

void PreviewView::setFitToWindow(bool fit)
{
    fitsWindow_ = fit;
    if (fit) zoom_ = fittingZoom();
    updateScrollBars();
    viewport()->update();
    if (onZoomChanged) onZoomChanged();
}

QSize PreviewView::sizeHint() const
{
    // The picture at 100%, within most of the screen.
    const double ratio = devicePixelRatioF();
    QSize wanted = (QSizeF(image_.size()) / ratio).toSize().expandedTo(QSize(320, 240));
    if (const QScreen* shown = screen()) wanted = wanted.boundedTo(shown->availableSize() * 3 / 4);
    return wanted;
}

void PreviewView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    // From here on one unit is one device pixel.
    const double ratio = devicePixelRatio();
    painter.scale(1 / ratio, 1 / ratio);
    const QRect view(QPoint(0, 0), viewportDeviceSize());
    const QPoint origin = pictureOrigin();
    const QRect shown = image_.isNull() ? QRect() : QRectF(origin, scaledSize()).toAlignedRect().intersected(view);
    // Only around the picture: a large picture would otherwise be drawn over a fill of its size.
    for (const QRect& around : QRegion(view).subtracted(shown)) painter.fillRect(around, QColor(backgroundColour));
    if (shown.isEmpty()) return;
    if (transparent_) paintCheckerboard(painter, shown, origin);
    if (sameZoom(zoom_, 1)) {
        painter.drawImage(shown.topLeft(), image_, shown.translated(-origin));
    } else if (zoom_ < 1) {
        painter.drawImage(shown.topLeft(), reducedImage(), shown.translated(-origin));
    } else {
        painter.drawImage(shown.topLeft(), enlargedImage(shown.translated(-origin)));
    }
}

void PreviewView::paintCheckerboard(QPainter& painter, const QRect& area, QPoint origin)
{
    const int square = std::max(1, static_cast<int>(std::lround(checkerSquare * devicePixelRatio())));
    QImage tile(2 * square, 2 * square, QImage::Format_RGB32);
    tile.fill(checkerLight);
    QPainter tilePainter(&tile);
    tilePainter.fillRect(square, 0, square, square, QColor(checkerDark));
    tilePainter.fillRect(0, square, square, square, QColor(checkerDark));
    tilePainter.end();
    // The squares move with the picture, not with the window.
    painter.setBrushOrigin(origin);
    painter.fillRect(area, QBrush(tile));
}

const QImage& PreviewView::reducedImage()
{
    if (reduced_.isNull() || !sameZoom(reducedZoom_, zoom_)) {
        reduced_ = image_.scaled(scaledSize().toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        reducedZoom_ = zoom_;
    }
    return reduced_;
}

const QImage& PreviewView::enlargedImage(const QRect& part)
{
    if (!enlarged_.isNull() && sameZoom(enlargedZoom_, zoom_) && enlargedPart_ == part) return enlarged_;
    // Only the picture pixels in sight, each as a sharp square.
    const int left = static_cast<int>(std::floor(part.left() / zoom_));
    const int top = static_cast<int>(std::floor(part.top() / zoom_));
    const int right = std::min(image_.width(), static_cast<int>(std::ceil((part.right() + 1) / zoom_)));
    const int bottom = std::min(image_.height(), static_cast<int>(std::ceil((part.bottom() + 1) / zoom_)));
    const QRect source(left, top, right - left, bottom - top);
    const QRectF target(left * zoom_ - part.left(), top * zoom_ - part.top(), source.width() * zoom_,
                        source.height() * zoom_);
    enlarged_ = QImage(part.size(), image_.format());
    enlarged_.fill(Qt::transparent);
    QPainter painter(&enlarged_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, image_, source);
    enlargedPart_ = part;
    enlargedZoom_ = zoom_;
    return enlarged_;
}

void PreviewView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (fitsWindow_) {
        const double fitting = fittingZoom();
        if (!sameZoom(fitting, zoom_)) {
            zoom_ = fitting;
            if (onZoomChanged) onZoomChanged();
        }
    }
    updateScrollBars();
}

void PreviewView::wheelEvent(QWheelEvent* event)
{
    // High-resolution wheels send fractions of a notch: a step once a whole notch has come.
    wheelAngle_ += event->angleDelta().y();
    const QPointF anchor = event->position() * devicePixelRatio();
    for (; wheelAngle_ >= wheelNotch; wheelAngle_ -= wheelNotch) setZoomAbout(stepAbove(zoom_), anchor);
    for (; wheelAngle_ <= -wheelNotch; wheelAngle_ += wheelNotch) setZoomAbout(stepBelow(zoom_), anchor);
    event->accept();
}

void PreviewView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    dragStart_ = event->position().toPoint();
    dragStartScroll_ = {horizontalScrollBar()->value(), verticalScrollBar()->value()};
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void PreviewView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        viewport()->setCursor(Qt::OpenHandCursor);
        return;
    }
    const QPointF moved = (event->position() - dragStart_) * devicePixelRatio();
    horizontalScrollBar()->setValue(dragStartScroll_.x() - static_cast<int>(std::lround(moved.x())));
    verticalScrollBar()->setValue(dragStartScroll_.y() - static_cast<int>(std::lround(moved.y())));
}

void PreviewView::keyPressEvent(QKeyEvent* event)
{
    // Left and Right belong to the preview, which steps through the pictures with them.
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        event->ignore();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void PreviewView::scrollContentsBy(int, int)
{
    viewport()->update();
}

QSize PreviewView::viewportDeviceSize() const
{
    const double ratio = devicePixelRatio();
    return {static_cast<int>(std::lround(viewport()->width() * ratio)),
            static_cast<int>(std::lround(viewport()->height() * ratio))};
}

QSizeF PreviewView::scaledSize() const
{
    if (zoom_ >= 1 || image_.isNull()) return QSizeF(image_.size()) * zoom_;
    // Reduced pictures are drawn from an image of whole pixels: at least one each way.
    return {std::max(1.0, std::round(image_.width() * zoom_)), std::max(1.0, std::round(image_.height() * zoom_))};
}

QPoint PreviewView::pictureOrigin() const
{
    const QSize view = viewportDeviceSize();
    const QSizeF scaled = scaledSize();
    // Centred while it fits, scrolled once it does not.
    auto along = [](int viewExtent, double scaledExtent, int scroll) {
        return scaledExtent <= viewExtent ? static_cast<int>((viewExtent - scaledExtent) / 2) : -scroll;
    };
    return {along(view.width(), scaled.width(), horizontalScrollBar()->value()),
            along(view.height(), scaled.height(), verticalScrollBar()->value())};
}

double PreviewView::fittingZoom() const
{
    if (image_.isNull()) return 1;
    const QSize view = viewportDeviceSize();
    const double ratio =
        std::min(static_cast<double>(view.width()) / image_.width(), static_cast<double>(view.height()) / image_.height());
    return std::clamp(ratio >= 1 ? std::floor(ratio) : ratio, zoomSteps.front(), maxZoom());
}

void PreviewView::zoomAbout(double zoom, QPointF anchor)
{
    const QPoint origin = pictureOrigin();
    const QPointF pictureAnchor = (anchor - QPointF(origin)) / zoom_;
    zoom_ = zoom;
    updateScrollBars();
    const QPointF scroll = pictureAnchor * zoom_ - anchor;
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(scroll.x())));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(scroll.y())));
    viewport()->update();
    // Even an unchanged zoom may have left fit-to-window.
    if (onZoomChanged) onZoomChanged();
}

void PreviewView::updateScrollBars()
{
    const QSize view = viewportDeviceSize();
    const QSizeF scaled = scaledSize();
    auto setUp = [](QScrollBar* bar, double scaledExtent, int viewExtent) {
        bar->setRange(0, std::max(0, static_cast<int>(std::ceil(scaledExtent)) - viewExtent));
        bar->setPageStep(std::max(viewExtent, 1));
        bar->setSingleStep(std::max(viewExtent / 10, 1));
    };
    setUp(horizontalScrollBar(), scaled.width(), view.width());
    setUp(verticalScrollBar(), scaled.height(), view.height());
}

}  // namespace trovelin
