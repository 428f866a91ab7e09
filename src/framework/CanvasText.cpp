// The text calls of TCanvas.

#include "framework/Canvas.h"

#include <cstdint>

#include <QFontMetrics>

#include "framework/FontMapping.h"
#include "framework/QtConversions.h"
#include "framework/Windows1252.h"

namespace trovelin {

const QFont& TCanvas::qFont()
{
    if (!qFont_) qFont_ = toQFont(font_);
    return *qFont_;
}

void TCanvas::drawText(int x, int y, const QString& text)
{
    const QFontMetrics metrics(qFont());
    // Text whose ink lies wholly outside what shows is not drawn: a record may give a font larger
    // than any screen, whose glyphs Qt would shape and fill as outlines, at a cost of their size.
    // The ink's box is taken a line's height wider all round, for glyphs that reach beyond it.
    const QRect ink = metrics.boundingRect(text);
    const std::int64_t margin = metrics.height();
    const std::int64_t baseline = std::int64_t{y} + metrics.ascent();
    const TRect visible = visibleArea();
    if (x + std::int64_t{ink.left()} - margin >= visible.right || x + std::int64_t{ink.right()} + margin < visible.left ||
        baseline + ink.top() - margin >= visible.bottom || baseline + ink.bottom() + margin < visible.top)
        return;
    painter_->setFont(qFont());
    painter_->setPen(toQColor(font_.color()));
    painter_->drawText(QPoint(x, y + metrics.ascent()), text);
}

void TCanvas::textOut(int left, int top, const std::string& text)
{
    const int x = toQtCoordinate(left);
    const int y = toQtCoordinate(top);
    const QString line = fromWindows1252(text);
    const QFontMetrics metrics(qFont());
    const int width = metrics.horizontalAdvance(line);
    if (active()) {
        if (const auto fill = backgroundColor()) painter_->fillRect(QRect(x, y, width, metrics.height()), *fill);
        drawText(x, y, line);
    }
    penPos_ = {x + width, y};
}

void TCanvas::textRect(const TRect& rect, int left, int top, const std::string& text)
{
    const int x = toQtCoordinate(left);
    const int y = toQtCoordinate(top);
    if (!active() || rect.isEmpty()) return;
    painter_->save();
    painter_->setClipRect(toQRect(rect), painter_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (const auto fill = backgroundColor()) painter_->fillRect(toQRect(rect), *fill);
    drawText(x, y, fromWindows1252(text));
    painter_->restore();
}

int TCanvas::textWidth(const std::string& text)
{
    return QFontMetrics(qFont()).horizontalAdvance(fromWindows1252(text));
}

int TCanvas::textHeight(const std::string&)
{
    return QFontMetrics(qFont()).height();
}

}  // namespace trovelin
