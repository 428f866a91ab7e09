#include "panelctl/FieldxyGeometry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace trovelin {

namespace {

constexpr int fineRange = 256;
constexpr int deltaTable[] = {1, 2, 4, 8, 16, 32, 64, 128, 256, 256, 256};
constexpr int deltaCells = 9;

}  // namespace

std::int64_t fieldCoordinateAt(int pixel, int scale)
{
    return std::int64_t{scale} * (pixel - std::int64_t{10 / scale});
}

int limitCoordinate(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, fieldCoordinateMaximum));
}

TRect fieldBallBox(int x, int y, int scale)
{
    return {x / scale, y / scale, (x + fieldBallSide) / scale, (y + fieldBallSide) / scale};
}

TPoint fieldBallCentre(int x, int y, int scale) { return {(x + 10) / scale, (y + 10) / scale}; }

std::optional<int> deltaIndexAt(int pixel, int scale)
{
    if (pixel < 10 / scale || pixel > 266 / scale) return std::nullopt;
    return (pixel - 10 / scale) * 10 / (256 / scale);
}

int deltaForIndex(int index) { return deltaTable[std::clamp(index, 0, 10)]; }

int deltaCell(int delta)
{
    for (int cell = 0; cell < deltaCells; ++cell)
        if (deltaTable[cell] == delta) return cell;
    return 0;
}

int deltaCellLeft(int cell, int scale) { return 10 / scale + cell * fineRange / scale / 10; }

int deltaCellRight(int cell, int scale) { return 10 / scale + (cell * fineRange + fineRange) / scale / 10; }

FieldAxis dragAxis(FieldAxis axis, std::int64_t fineSteps)
{
    std::int64_t coarse = axis.coarse;
    std::int64_t fine = axis.fine + fineSteps;
    if (fine >= fineRange) {
        if (coarse == fieldCoordinateMaximum) {
            fine = fineRange - 1;
        } else {
            coarse += fine / fineRange;
            fine %= fineRange;
        }
    } else if (fine < 0) {
        if (coarse == 0) {
            fine = 0;
        } else {
            coarse += fine / fineRange;
            fine %= fineRange;
            if (fine != 0) {
                coarse -= 1;
                fine += fineRange;
            }
        }
    }
    return {limitCoordinate(coarse), static_cast<int>(fine)};
}

FieldAxis stepAxis(FieldAxis axis, bool up, int delta, bool m16bit)
{
    if (!m16bit) return {limitCoordinate(std::int64_t{axis.coarse} + (up ? 1 : -1)), axis.fine};
    // Stepping past either end stops there: letting the low byte wrap at the top would move a
    // step up to a lower value.
    const std::int64_t step = up ? delta : -std::int64_t{delta};
    const std::int64_t combined = std::int64_t{axis.coarse} * fineRange + axis.fine + step;
    const std::int64_t limited = std::clamp<std::int64_t>(combined, 0, std::int64_t{fineRange} * fineRange - 1);
    return {static_cast<int>(limited / fineRange), static_cast<int>(limited % fineRange)};
}

int stepDirection(std::int64_t tx, std::int64_t ty, int x, int y)
{
    if (std::llabs(ty - y) < std::llabs(tx - x)) return x < tx ? 1 : 2;
    return y < ty ? 3 : 4;
}

std::string dragReadout(int coarse, int fine, bool m16bit)
{
    char text[32];
    if (m16bit)
        std::snprintf(text, sizeof text, "%03d,%03d  ", coarse, fine);
    else
        std::snprintf(text, sizeof text, "%03d ", coarse);
    return text;
}

std::string hoverReadout(int coarse, bool m16bit)
{
    char text[32];
    std::snprintf(text, sizeof text, m16bit ? "%03d,000 " : "%03d ", coarse);
    return text;
}

}  // namespace trovelin
