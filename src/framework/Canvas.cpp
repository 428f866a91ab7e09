#include "framework/Canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include <QRegion>

#include "framework/BitmapImage.h"
#include "framework/EllipseRaster.h"
#include "framework/QtConversions.h"

namespace trovelin {

namespace {

// Corners in either order, as the drawing calls accept them.
TRect normalized(int x1, int y1, int x2, int y2)
{
    return clamped({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
}

QPointF pixelCentre(TPoint p)
{
    return {p.x + 0.5, p.y + 0.5};
}

// Fills rectangles under the painter's clip. Under a clip of many rectangles Qt clips a fill
// row by row, so a tall fill costs its height times the clip's width in rectangles even where
// little of it shows: a control deep in a stack shows as a thin band of many rectangles. While
// one of these lives, fills are cut to the clip's own rectangles here and drawn unclipped.
class ClippedFill {
public:
    explicit ClippedFill(QPainter& painter) : painter_(painter)
    {
        if (!painter.hasClipping() || painter.deviceTransform().type() > QTransform::TxTranslate) return;
        const QRegion clip = painter.clipRegion();
        if (clip.rectCount() <= 1) return;
        clipRects_.assign(clip.begin(), clip.end());
        painter_.setClipping(false);
    }
    ~ClippedFill()
    {
        if (!clipRects_.empty()) painter_.setClipping(true);
    }
    ClippedFill(const ClippedFill&) = delete;
    ClippedFill& operator=(const ClippedFill&) = delete;

    // A colour or a brush, as QPainter::fillRect takes them.
    template <class Paint> void fill(const QRect& rect, const Paint& paint)
    {
        if (clipRects_.empty()) {
            painter_.fillRect(rect, paint);
            return;
        }
        // A region's rectangles run in bands from the top, so their bottoms never decrease.
        auto part = std::lower_bound(clipRects_.begin(), clipRects_.end(), rect.top(),
                                     [](const QRect& clip, int top) { return clip.bottom() < top; });
        for (; part != clipRects_.end() && part->top() <= rect.bottom(); ++part) {
            const QRect shown = rect & *part;
            if (!shown.isEmpty()) painter_.fillRect(shown, paint);
        }
    }

private:
    QPainter& painter_;
    std::vector<QRect> clipRects_;
};

// Paints the pixels of a one-pixel outline in order, pen or gap as the pattern says, merging
// neighbours of one colour into horizontal or vertical runs, so that a frame's edge costs one
// fill, not one per pixel. Gaps take the brush colour unless the brush
// is clear, when they stay untouched.
class OutlinePainter {
public:
    OutlinePainter(QPainter& painter, const TPen& pen, const TBrush& brush, DashPattern& pattern)
        : fill_(painter), pattern_(pattern), penColor_(toQColor(pen.color()))
    {
        if (brush.style() != TBrushStyle::bsClear) gapColor_ = toQColor(brush.color());
    }
    ~OutlinePainter() { flush(); }
    OutlinePainter(const OutlinePainter&) = delete;
    OutlinePainter& operator=(const OutlinePainter&) = delete;

    void plot(int x, int y)
    {
        const std::optional<QColor>& color = pattern_.nextIsDash() ? penColor_ : gapColor_;
        if (!color) {
            flush();
            return;
        }
        if (run_ && run_->color == *color && extends(*run_, x, y)) return;
        flush();
        run_ = Run{x, y, x + 1, y + 1, *color};
    }

    // A pixel outside the device: the pattern moves on past it.
    void skip()
    {
        pattern_.skip(1);
        flush();
    }

private:
    struct Run {
        int left;
        int top;
        int right;
        int bottom;
        QColor color;
    };

    // Takes in (x, y) when it continues a run of one row along the row, or one of one column
    // along the column.
    static bool extends(Run& run, int x, int y)
    {
        if (run.bottom - run.top == 1 && y == run.top && (x == run.right || x == run.left - 1)) {
            run.left = std::min(run.left, x);
            run.right = std::max(run.right, x + 1);
            return true;
        }
        if (run.right - run.left == 1 && x == run.left && (y == run.bottom || y == run.top - 1)) {
            run.top = std::min(run.top, y);
            run.bottom = std::max(run.bottom, y + 1);
            return true;
        }
        return false;
    }

    void flush()
    {
        if (run_)
            fill_.fill(QRect(run_->left, run_->top, run_->right - run_->left, run_->bottom - run_->top),
                       run_->color);
        run_.reset();
    }

    ClippedFill fill_;
    DashPattern& pattern_;
    std::optional<QColor> penColor_;
    std::optional<QColor> gapColor_;
    std::optional<Run> run_;
};

// Qt's arc angles run along the ellipse's parameter, not the angle seen from the centre.
int qtArcAngle(double screenAngle, const QRectF& box)
{
    const double parameter = std::atan2(box.width() * std::sin(screenAngle), box.height() * std::cos(screenAngle));
    return static_cast<int>(std::lround(parameter * 180 / std::numbers::pi * 16));
}

}  // namespace

TCanvas::TCanvas(QImage& image) : ownPainter_(std::in_place, &image), painter_(&*ownPainter_)
{
    prepare();
}

TCanvas::TCanvas(QPainter& painter) : painter_(&painter)
{
    painter_->save();
    prepare();
}

TCanvas::~TCanvas()
{
    if (!ownPainter_) painter_->restore();
}

void TCanvas::prepare()
{
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setBackgroundMode(Qt::TransparentMode);
    font_.setOnChange([this] { qFont_.reset(); });
}

bool TCanvas::active() const
{
    return painter_->isActive();
}

// Wide pens draw solid, as the original platform drew its wide styled pens.
DashPattern TCanvas::freshPattern() const
{
    return DashPattern(penWidth() > 1 ? TPenStyle::psSolid : pen_.style());
}

int TCanvas::penWidth() const
{
    return std::max(pen_.width(), 1);
}

bool TCanvas::penDraws() const
{
    return pen_.style() != TPenStyle::psClear;
}

QPen TCanvas::wideQPen(Qt::PenJoinStyle join) const
{
    return QPen(QBrush(toQColor(pen_.color())), penWidth(), Qt::SolidLine, Qt::RoundCap, join);
}

std::optional<QBrush> TCanvas::brushFill() const
{
    const QColor color = toQColor(brush_.color());
    switch (brush_.style()) {
    case TBrushStyle::bsSolid: return QBrush(color);
    case TBrushStyle::bsClear: return std::nullopt;
    case TBrushStyle::bsHorizontal: return QBrush(color, Qt::HorPattern);
    case TBrushStyle::bsVertical: return QBrush(color, Qt::VerPattern);
    case TBrushStyle::bsFDiagonal: return QBrush(color, Qt::FDiagPattern);
    case TBrushStyle::bsBDiagonal: return QBrush(color, Qt::BDiagPattern);
    case TBrushStyle::bsCross: return QBrush(color, Qt::CrossPattern);
    case TBrushStyle::bsDiagCross: return QBrush(color, Qt::DiagCrossPattern);
    }
    return std::nullopt;
}

std::optional<QColor> TCanvas::backgroundColor() const
{
    if (brush_.style() == TBrushStyle::bsClear) return std::nullopt;
    return toQColor(brush_.color());
}

void TCanvas::moveTo(int x, int y)
{
    penPos_ = {x, y};
    linePattern_.restart();
}

void TCanvas::lineTo(int x, int y)
{
    const TPoint from = penPos_;
    penPos_ = {x, y};
    if (!active() || !penDraws()) return;
    if (penWidth() > 1) {
        painter_->setPen(wideQPen(Qt::RoundJoin));
        painter_->drawLine(pixelCentre(from), pixelCentre(penPos_));
        return;
    }
    if (linePattern_.style() != pen_.style()) linePattern_ = freshPattern();
    thinSegment(from, penPos_, linePattern_);
}

void TCanvas::thinSegment(TPoint from, TPoint to, DashPattern& pattern)
{
    OutlinePainter outline(*painter_, pen_, brush_, pattern);
    forEachLinePixel(
        from, to, visibleArea(), [&outline](int x, int y) { outline.plot(x, y); },
        [&pattern](std::int64_t pixels) { pattern.skip(pixels); });
}

// The logical area that reaches the device and the clip, a pixel wider all round. A device without a size
// of its own, such as a recording, gets a generous square around the origin.
TRect TCanvas::visibleArea() const
{
    constexpr int unsizedReach = 1 << 16;
    const QPaintDevice* device = painter_->device();
    QRect deviceRect(0, 0, device->width(), device->height());
    if (deviceRect.isEmpty()) deviceRect = QRect(-unsizedReach, -unsizedReach, 2 * unsizedReach, 2 * unsizedReach);
    QRect area = painter_->deviceTransform().inverted().mapRect(deviceRect);
    // A clip (a parent's bounds, a window's update region) narrows it further.
    if (painter_->hasClipping()) area &= painter_->clipBoundingRect().toAlignedRect();
    area.adjust(-1, -1, 1, 1);
    return {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

void TCanvas::thinOutline(std::span<const TPoint> points, bool closed)
{
    DashPattern pattern = freshPattern();
    for (std::size_t i = 1; i < points.size(); ++i) thinSegment(points[i - 1], points[i], pattern);
    if (closed && points.size() > 1) thinSegment(points.back(), points.front(), pattern);
}

void TCanvas::rectangle(int x1, int y1, int x2, int y2)
{
    const TRect box = normalized(x1, y1, x2, y2);
    if (!active() || box.isEmpty()) return;
    if (const auto fill = brushFill()) painter_->fillRect(toQRect(box), *fill);
    if (!penDraws()) return;

    const int width = penWidth();
    if (width > 1) {
        const bool inside = pen_.style() == TPenStyle::psInsideFrame;
        if (inside && (box.width() <= width || box.height() <= width)) {
            painter_->fillRect(toQRect(box), toQColor(pen_.color()));
            return;
        }
        painter_->setPen(wideQPen(inside ? Qt::MiterJoin : Qt::RoundJoin));
        painter_->setBrush(Qt::NoBrush);
        const double inset = inside ? width / 2.0 : 0.5;
        painter_->drawRect(QRectF(box.left + inset, box.top + inset, box.width() - 2 * inset, box.height() - 2 * inset));
        return;
    }
    if (box.width() == 1 || box.height() == 1) {
        painter_->fillRect(toQRect(box), toQColor(pen_.color()));
        return;
    }
    const TPoint corners[] = {{box.left, box.top},
                              {box.right - 1, box.top},
                              {box.right - 1, box.bottom - 1},
                              {box.left, box.bottom - 1}};
    thinOutline(corners, true);
}

void TCanvas::fillRect(const TRect& rect)
{
    const auto fill = brushFill();
    if (active() && fill && !rect.isEmpty()) painter_->fillRect(toQRect(rect), *fill);
}

void TCanvas::frameRect(const TRect& area)
{
    const TRect rect = clamped(area);
    const auto frame = brushFill();
    if (!active() || !frame || rect.isEmpty()) return;
    painter_->fillRect(QRect(rect.left, rect.top, rect.width(), 1), *frame);
    painter_->fillRect(QRect(rect.left, rect.bottom - 1, rect.width(), 1), *frame);
    painter_->fillRect(QRect(rect.left, rect.top, 1, rect.height()), *frame);
    painter_->fillRect(QRect(rect.right - 1, rect.top, 1, rect.height()), *frame);
}

void TCanvas::ellipse(int x1, int y1, int x2, int y2)
{
    ellipticFigure(normalized(x1, y1, x2, y2), std::nullopt);
}

void TCanvas::arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const TRect box = normalized(x1, y1, x2, y2);
    ellipticFigure(box, arcSweep(box, {x3, y3}, {x4, y4}));
}

void TCanvas::ellipticFigure(const TRect& box, const std::optional<ArcSweep>& arc)
{
    if (!active() || box.isEmpty()) return;
    const auto fill = arc ? std::nullopt : brushFill();
    const bool rastered = box.width() <= maxRasterExtent && box.height() <= maxRasterExtent;
    if (rastered) {
        // Only what reaches the device is painted. A patterned outline needs every border pixel
        // in order to keep its rhythm; anything else needs only what shows.
        const TRect visible = visibleArea();
        const bool thinOutline = penDraws() && penWidth() == 1;
        const bool patterned = thinOutline && !freshPattern().solid();
        const EllipsePixels pixels = patterned ? rasterEllipse(box) : rasterEllipsePart(box, visible);
        const auto shows = [&visible](int x, int y) {
            return x >= visible.left && x < visible.right && y >= visible.top && y < visible.bottom;
        };
        if (fill) {
            // Rows that show alike are filled as one rectangle: about the middle of an ellipse
            // larger than what shows, most of them.
            QRect run;
            ClippedFill filler(*painter_);
            for (const PixelSpan& row : pixels.rows) {
                const int left = std::max(row.left, visible.left), right = std::min(row.right, visible.right);
                if (row.y < visible.top || row.y >= visible.bottom || left >= right) continue;
                if (!run.isEmpty() && run.left() == left && run.right() + 1 == right && run.bottom() + 1 == row.y) {
                    run.setBottom(row.y);
                    continue;
                }
                if (!run.isEmpty()) filler.fill(run, *fill);
                run = QRect(left, row.y, right - left, 1);
            }
            if (!run.isEmpty()) filler.fill(run, *fill);
        }
        if (!penDraws()) return;
        if (thinOutline) {
            const std::vector<TPoint> outline = arc ? arcOutline(box, pixels, *arc) : pixels.outline;
            DashPattern pattern = freshPattern();
            OutlinePainter painter(*painter_, pen_, brush_, pattern);
            for (TPoint p : outline) {
                if (shows(p.x, p.y))
                    painter.plot(p.x, p.y);
                else
                    painter.skip();
            }
            return;
        }
    }

    // Wide pens, and boxes too large to raster, go through Qt's ellipse on the pixel centres.
    const double inset = pen_.style() == TPenStyle::psInsideFrame ? penWidth() / 2.0 : 0.5;
    const QRectF path(box.left + inset, box.top + inset, box.width() - 2 * inset, box.height() - 2 * inset);
    painter_->setPen(penDraws() ? wideQPen(Qt::RoundJoin) : QPen(Qt::NoPen));
    painter_->setBrush(fill && !rastered ? *fill : QBrush(Qt::NoBrush));
    if (!arc) {
        painter_->drawEllipse(path);
        return;
    }
    const int start = qtArcAngle(arc->start, path);
    int span = qtArcAngle(arc->start + arc->sweep, path) - start;
    if (span <= 0) span += 360 * 16;
    painter_->drawArc(path, start, span);
}

void TCanvas::polygon(std::span<const TPoint> points)
{
    if (!active() || points.empty()) return;
    QPolygon corners;
    for (TPoint p : points) corners << toQPoint(p.x, p.y);
    if (const auto fill = brushFill()) {
        painter_->setPen(Qt::NoPen);
        painter_->setBrush(*fill);
        painter_->drawPolygon(corners, Qt::OddEvenFill);
    }
    if (!penDraws()) return;
    if (penWidth() == 1) {
        thinOutline(points, true);
        return;
    }
    painter_->setPen(wideQPen(Qt::RoundJoin));
    painter_->setBrush(Qt::NoBrush);
    QPolygonF centres;
    for (TPoint p : points) centres << pixelCentre(p);
    painter_->drawPolygon(centres);
}

void TCanvas::polyline(std::span<const TPoint> points)
{
    if (!active() || !penDraws()) return;
    if (penWidth() == 1) {
        thinOutline(points, false);
        return;
    }
    painter_->setPen(wideQPen(Qt::RoundJoin));
    QPolygonF centres;
    for (TPoint p : points) centres << pixelCentre(p);
    painter_->drawPolyline(centres);
}

const QImage* TCanvas::readableImage() const
{
    if (!active()) return nullptr;
    const QPaintDevice* device = painter_->device();
    if (!device || device->devType() != QInternal::Image) return nullptr;
    return static_cast<const QImage*>(device);
}

std::uint32_t TCanvas::pixel(int x, int y) const
{
    const QImage* image = readableImage();
    if (!image) return CLR_INVALID;
    const QPoint at = painter_->deviceTransform().map(QPoint(x, y));
    if (!image->valid(at)) return CLR_INVALID;
    const QRgb color = image->pixel(at);
    return static_cast<std::uint32_t>(qRed(color) | (qGreen(color) << 8) | (qBlue(color) << 16));
}

void TCanvas::setPixel(int x, int y, TColor color)
{
    if (active()) painter_->fillRect(QRect(toQPoint(x, y), QSize(1, 1)), toQColor(color));
}

void TCanvas::draw(int x, int y, const TBitmap& bitmap)
{
    if (!active()) return;
    // Only the part that reaches the device is converted: a glyph strip may be far larger than
    // the frame of it that shows.
    const TRect visible = visibleArea();
    const std::int64_t left = std::max<std::int64_t>(0, std::int64_t{visible.left} - x);
    const std::int64_t top = std::max<std::int64_t>(0, std::int64_t{visible.top} - y);
    const std::int64_t right = std::min<std::int64_t>(bitmap.width(), std::int64_t{visible.right} - x);
    const std::int64_t bottom = std::min<std::int64_t>(bitmap.height(), std::int64_t{visible.bottom} - y);
    if (right <= left || bottom <= top) return;
    const QImage image = toDrawableImage(bitmap, QRect(static_cast<int>(left), static_cast<int>(top),
                                                       static_cast<int>(right - left), static_cast<int>(bottom - top)));
    if (!image.isNull()) painter_->drawImage(QPoint(static_cast<int>(x + left), static_cast<int>(y + top)), image);
}

void TCanvas::stretchDraw(const TRect& rect, const TBitmap& bitmap)
{
    if (!active() || rect.isEmpty()) return;
    const QImage image = toDrawableImage(bitmap);
    if (!image.isNull()) painter_->drawImage(toQRect(rect), image);
}

bool TCanvas::copyRect(const TRect& destArea, const TCanvas& source, const TRect& sourceRect)
{
    const TRect destRect = clamped(destArea);
    const QImage* image = source.readableImage();
    if (!active() || !image) return false;
    const QRect wanted = source.painter_->deviceTransform().mapRect(toQRect(sourceRect));
    // Only the part of the source that exists is copied, to its share of the destination, so a
    // huge source rectangle costs no more than the image.
    const QRect available = wanted & image->rect();
    if (destRect.isEmpty() || sourceRect.isEmpty() || available.isEmpty()) return true;
    const double scaleX = static_cast<double>(destRect.width()) / wanted.width();
    const double scaleY = static_cast<double>(destRect.height()) / wanted.height();
    const QRectF target(destRect.left + (available.left() - wanted.left()) * scaleX,
                        destRect.top + (available.top() - wanted.top()) * scaleY, available.width() * scaleX,
                        available.height() * scaleY);
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    // A copy first when the source is this canvas's own image.
    if (image == painter_->device())
        painter_->drawImage(target, image->copy(available));
    else
        painter_->drawImage(target, *image, QRectF(available));
    painter_->restore();
    return true;
}

}  // namespace trovelin
