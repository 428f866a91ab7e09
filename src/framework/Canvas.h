#pragma once
// The surface that controls paint on, with the pixel conventions their drawing code was
// written for: no smoothing, whole pixels, rectangles and lines that stop before their right,
// bottom and end points. Pen, brush and font changes apply to the next call.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include <QFont>
#include <QImage>
#include <QPainter>

#include "framework/EllipseRaster.h"
#include "framework/Font.h"
#include "framework/Geometry.h"
#include "framework/Graphics.h"
#include "framework/LineRaster.h"

namespace trovelin {

class TBitmap;
class PaintBufferBudget;

// What pixel() gives for a point it cannot read.
inline constexpr std::uint32_t CLR_INVALID = 0xFFFFFFFF;

class TCanvas {
public:
    // Paints into `image` through a painter of its own.
    explicit TCanvas(QImage& image);
    // Paints through an active painter, as in a paint event; the painter's state is restored
    // when the canvas ends.
    explicit TCanvas(QPainter& painter);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen& pen() { return pen_; }
    TBrush& brush() { return brush_; }
    TFont& font() { return font_; }
    TPoint penPos() const { return penPos_; }
    QPainter& painter() { return *painter_; }

    void moveTo(int x, int y);
    // Draws from the pen position up to but not including (x, y), then moves the pen there.
    void lineTo(int x, int y);
    // Outlined with the pen and filled with the brush, within columns x1..x2-1, rows y1..y2-1.
    void rectangle(int x1, int y1, int x2, int y2);
    void rectangle(const TRect& rect) { rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    // The brush alone over the rectangle.
    void fillRect(const TRect& rect);
    // A one-pixel border in the brush colour along the inside of the rectangle.
    void frameRect(const TRect& rect);
    void ellipse(int x1, int y1, int x2, int y2);
    // Part of the ellipse in the box x1, y1, x2, y2, counter-clockwise from the ray through
    // (x3, y3) to the ray through (x4, y4), both from the box centre.
    void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // Filled with the brush (alternating rule) and outlined with the pen, closing edge included.
    void polygon(std::span<const TPoint> points);
    // Lines through the points, the last point excluded; the pen position does not move.
    void polyline(std::span<const TPoint> points);

    // The logical area that reaches the device within the painter's clip, a pixel wider all
    // round; drawing code may skip what lies outside it.
    TRect visibleArea() const;

    // The budget of the surface this canvas paints, which the buffers that controls keep count
    // in; none on a canvas of no surface's tree.
    PaintBufferBudget* budget() const { return budget_; }
    void setBudget(PaintBufferBudget* budget) { budget_ = budget; }

    // The colour value at (x, y), or CLR_INVALID outside the image or on a device that cannot
    // be read back.
    std::uint32_t pixel(int x, int y) const;
    void setPixel(int x, int y, TColor color);

    // Text in the font's colour with the top left of its cell at (x, y); a solid brush fills
    // the cell behind it. The pen position moves to the end of the text.
    void textOut(int x, int y, const std::string& text);
    // Like textOut, clipped to `rect`; a solid brush fills the whole rectangle.
    void textRect(const TRect& rect, int x, int y, const std::string& text);
    int textWidth(const std::string& text);
    int textHeight(const std::string& text);

    // The bitmap unscaled with its top left at (x, y), leaving out its transparent colour when
    // it is transparent.
    void draw(int x, int y, const TBitmap& bitmap);
    void stretchDraw(const TRect& rect, const TBitmap& bitmap);
    // Copies `sourceRect` of an image-backed canvas into `destRect`, stretching when the sizes
    // differ; what lies outside the source image leaves its share of `destRect` as it was.
    // False when the source cannot be read.
    bool copyRect(const TRect& destRect, const TCanvas& source, const TRect& sourceRect);

private:
    void prepare();
    bool active() const;
    int penWidth() const;
    bool penDraws() const;
    DashPattern freshPattern() const;
    QPen wideQPen(Qt::PenJoinStyle join) const;
    // What fills shapes: none for a clear brush.
    std::optional<QBrush> brushFill() const;
    // What goes behind text and between dashes: the brush colour, unless the brush is clear.
    std::optional<QColor> backgroundColor() const;
    void thinSegment(TPoint from, TPoint to, DashPattern& pattern);
    void thinOutline(std::span<const TPoint> points, bool closed);
    void ellipticFigure(const TRect& box, const std::optional<ArcSweep>& arc);
    const QFont& qFont();
    void drawText(int x, int y, const QString& text);
    const QImage* readableImage() const;

    std::optional<QPainter> ownPainter_;
    QPainter* painter_;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    std::optional<QFont> qFont_;  // built on first use after each font change
    TPoint penPos_;
    DashPattern linePattern_;  // runs on across lineTo calls until the next moveTo
    PaintBufferBudget* budget_ = nullptr;
};

}  // namespace trovelin
