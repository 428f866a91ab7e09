#include "skin/Wconst.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "framework/SystemColors.h"

namespace trovelin {
namespace {

int channel(std::uint32_t color, int index)
{
    return static_cast<int>((color >> (8 * index)) & 0xFF);
}

TColor fromChannels(int red, int green, int blue)
{
    return static_cast<TColor>(static_cast<std::uint32_t>(std::clamp(red, 0, 255)) |
                               static_cast<std::uint32_t>(std::clamp(green, 0, 255)) << 8 |
                               static_cast<std::uint32_t>(std::clamp(blue, 0, 255)) << 16);
}

TColor shifted(TColor color, int delta)
{
    const std::uint32_t rgb = colorToRgb(color);
    return fromChannels(channel(rgb, 0) + delta, channel(rgb, 1) + delta, channel(rgb, 2) + delta);
}

// A run of parallel lines whose colour walks in equal double-precision steps. Each line's colour
// is start + k * step, truncated: adding the step k times instead drifts below the whole value
// (12 steps of -32/12 from 128 end at 95.99...), and the shade's last row would then miss the
// darkened colour by one.
struct ColorRun {
    double start[3];
    double step[3];

    ColorRun(std::uint32_t from, std::uint32_t to, int steps)
    {
        for (int c = 0; c < 3; ++c) {
            start[c] = channel(from, c);
            step[c] = steps > 0 ? (channel(to, c) - channel(from, c)) / static_cast<double>(steps) : 0.0;
        }
    }

    TColor at(int k) const
    {
        int value[3];
        for (int c = 0; c < 3; ++c) value[c] = static_cast<int>(start[c] + k * step[c]);
        return fromChannels(value[0], value[1], value[2]);
    }
};

enum class Direction { Rows, Columns };

// Lines first..last (rows or columns, inclusive), each spanning from..to with `to` excluded.
void drawRun(TCanvas& canvas, const ColorRun& run, Direction direction, std::int64_t first, std::int64_t last, int from,
             int to)
{
    // Lines beyond the device are left out, so that a widget of an extreme size costs no more
    // than one the size of its canvas.
    const TRect area = canvas.visibleArea();
    const std::int64_t lowest = direction == Direction::Rows ? area.top : area.left;
    const std::int64_t highest = direction == Direction::Rows ? area.bottom : area.right;
    const std::int64_t end = std::min<std::int64_t>(last, highest);
    for (std::int64_t k = std::max<std::int64_t>(0, lowest - first); first + k <= end; ++k) {
        canvas.pen().setColor(run.at(static_cast<int>(k)));
        const int line = static_cast<int>(first + k);
        if (direction == Direction::Rows) {
            canvas.moveTo(from, line);
            canvas.lineTo(to, line);
        } else {
            canvas.moveTo(line, from);
            canvas.lineTo(line, to);
        }
    }
}

// The last colour a shade was drawn in with its lightened and darkened tones, so that a widget
// repainted over and over in one colour does not derive them each time.
struct ShadeCache {
    bool valid = false;
    std::uint32_t color = 0;
    TColor light = 0;
    TColor dark = 0;

    void use(std::uint32_t rgb)
    {
        if (valid && rgb == color) return;
        valid = true;
        color = rgb;
        light = LightenColor32(static_cast<TColor>(rgb));
        dark = DarkenColor32(static_cast<TColor>(rgb));
    }
};

ShadeCache verticalShade;
ShadeCache horizontalShade;

// Rows or columns first..last: the first half from light towards the base, the rest from the
// base towards dark. A single line is drawn in the base colour.
void drawShade(TCanvas& canvas, ShadeCache& cache, TColor color, Direction direction, int first, int last, int from,
               int to)
{
    cache.use(colorToRgb(color));
    // Taken wide: a record may give a widget an extent up to the integer limit.
    const std::int64_t half = (std::int64_t{last} - first + 1) / 2;
    const int steps = static_cast<int>(std::min<std::int64_t>(half, std::numeric_limits<int>::max()));
    const auto base = static_cast<std::uint32_t>(cache.color);
    drawRun(canvas, ColorRun(static_cast<std::uint32_t>(cache.light), base, steps), direction, first,
            first + half - 1, from, to);
    drawRun(canvas, ColorRun(base, static_cast<std::uint32_t>(cache.dark), steps), direction, first + half, last,
            from, to);
}

}  // namespace

TColor LightenColor32(TColor color)
{
    return shifted(color, 32);
}

TColor LightenColor64(TColor color)
{
    return shifted(color, 64);
}

TColor DarkenColor32(TColor color)
{
    return shifted(color, -32);
}

TColor DarkenColor96(TColor color)
{
    return shifted(color, -96);
}

TColor TintBlue32(TColor color)
{
    const std::uint32_t rgb = colorToRgb(color);
    return fromChannels(channel(rgb, 0), channel(rgb, 1), channel(rgb, 2) + 32);
}

void DrawGradient(TCanvas& canvas, const TRect& rect, TColor top, TColor bottom)
{
    const int rows = rect.bottom - rect.top + 1;
    const ColorRun run(static_cast<std::uint32_t>(top), static_cast<std::uint32_t>(bottom), rows);
    drawRun(canvas, run, Direction::Rows, rect.top, rect.bottom, rect.left, rect.right);
}

void DrawShadeV(TCanvas& canvas, const TRect& rect, TColor color)
{
    drawShade(canvas, verticalShade, color, Direction::Rows, rect.top, rect.bottom, rect.left, rect.right);
}

void DrawShadeH(TCanvas& canvas, const TRect& rect, TColor color)
{
    drawShade(canvas, horizontalShade, color, Direction::Columns, rect.left, rect.right, rect.top, rect.bottom);
}

void DrawBevelFrame(TCanvas& canvas, const TRect& box, TColor topLeft, TColor bottomRight)
{
    canvas.pen().setColor(topLeft);
    canvas.moveTo(box.left, box.bottom);
    canvas.lineTo(box.left, box.top);
    canvas.lineTo(box.right, box.top);
    canvas.pen().setColor(bottomRight);
    canvas.lineTo(box.right, box.bottom);
    canvas.lineTo(box.left, box.bottom);
}

void DrawButtonFrame(TCanvas& canvas, int w, int h, TColor topLeft, TColor bottomRight)
{
    canvas.pen().setColor(topLeft);
    canvas.moveTo(0, h - 1);
    canvas.lineTo(0, 0);
    canvas.lineTo(w, 0);
    canvas.pen().setColor(bottomRight);
    canvas.moveTo(w - 1, 1);
    canvas.lineTo(w - 1, h - 1);
    canvas.moveTo(0, h - 1);
    canvas.lineTo(w, h - 1);
}

}  // namespace trovelin
