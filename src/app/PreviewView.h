#pragma once
// The preview's picture area: one picture at a zoom counted in device pixels per picture pixel,
// so that 100% puts one picture pixel on one screen pixel, on a high-density screen too. Above
// 100% pixels grow into sharp squares; below, the picture is reduced smoothly. A checkerboard
// shows through transparent pixels. The wheel zooms about the pointer; dragging pans.

#include <functional>

#include <QAbstractScrollArea>
#include <QImage>

namespace trovelin {

class PreviewView : public QAbstractScrollArea {
public:
    explicit PreviewView(QWidget* parent = nullptr);

    // `transparent`: whether the image has pixels to see through (its alpha channel counts then).
    void setImage(const QImage& image, bool transparent);
    bool hasImage() const { return !image_.isNull(); }

    double zoom() const { return zoom_; }
    // Limited to the range of the zoom steps; leaves fit-to-window. Keeps the centre in place.
    void setZoom(double zoom);
    // The next zoom step up or down from the current zoom.
    void zoomIn();
    void zoomOut();
    bool fitsWindow() const { return fitsWindow_; }
    // Fitting follows the window's size; a picture smaller than the window grows by whole
    // factors, so that its pixels stay equal squares.
    void setFitToWindow(bool fit);

    QSize sizeHint() const override;

    // After every change of the zoom or of fit-to-window.
    std::function<void()> onZoomChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    double devicePixelRatio() const { return viewport()->devicePixelRatioF(); }
    QSize viewportDeviceSize() const;
    // The picture's size on screen, in device pixels.
    QSizeF scaledSize() const;
    // Where the picture's top left lies in the viewport, in whole device pixels.
    QPoint pictureOrigin() const;
    double fittingZoom() const;
    // The largest zoom step, or less for a picture so large that it would leave int's range.
    double maxZoom() const;
    // Leaves fit-to-window for `zoom`, limited, about `anchor`.
    void setZoomAbout(double zoom, QPointF anchor);
    // Changes the zoom so that the picture point under `anchor` (device pixels) stays there.
    void zoomAbout(double zoom, QPointF anchor);
    void updateScrollBars();
    // The reduced picture for zooms below 100%, made once per zoom.
    const QImage& reducedImage();
    // The enlarged pixels of `part` of the zoomed picture (device pixels), made once per zoom
    // and scroll position.
    const QImage& enlargedImage(const QRect& part);
    void paintCheckerboard(QPainter& painter, const QRect& area, QPoint origin);

    QImage image_;
    bool transparent_ = false;
    QImage reduced_;
    double reducedZoom_ = 0;
    QImage enlarged_;
    QRect enlargedPart_;
    double enlargedZoom_ = 0;
    double zoom_ = 1;
    bool fitsWindow_ = false;
    int wheelAngle_ = 0;
    QPoint dragStart_;
    QPoint dragStartScroll_;
};

}  // namespace trovelin
