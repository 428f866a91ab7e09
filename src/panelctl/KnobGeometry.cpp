#include "panelctl/KnobGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace trovelin {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double startAngle = 0.9075712110370514;  // 52 degrees
constexpr double sweepAngle = 4.468042885105484;   // 256 degrees
constexpr int gapDegrees = 52;

int limitAngle(std::int64_t degrees)
{
    return static_cast<int>(std::clamp<std::int64_t>(degrees - gapDegrees, 0, 255));
}

// Values beyond the int range cannot come out of a range of ints, but a float's rounding may
// step just past one; converting those would be undefined.
template <class Real> int toInt(Real value)
{
    if (!(value > static_cast<Real>(INT32_MIN))) return INT32_MIN;
    if (!(value < static_cast<Real>(INT32_MAX))) return INT32_MAX;
    return static_cast<int>(value);
}

// cos of the angle from straight down, kept within acos's domain where the rounding of a long
// offset would step past 1.
template <class Real> Real downCosine(int dx, int dy)
{
    const Real x = static_cast<Real>(dx);
    const Real y = static_cast<Real>(dy);
    const Real r = std::sqrt(x * x + y * y);
    return std::clamp(y / r, Real(-1), Real(1));
}

}  // namespace

KnobSquare knobSquare(int width, int height, int penWidth)
{
    const int p = std::clamp(penWidth, -maxKnobSide, maxKnobSide);
    const std::int64_t thinPen = p == 0 ? 1 : 0;
    const std::int64_t side = std::min(std::int64_t{width} - p + 1 - thinPen, std::int64_t{height} - p + 1 - thinPen);
    return {p, p / 2, static_cast<int>(std::clamp<std::int64_t>(side, -maxKnobSide, maxKnobSide))};
}

std::array<ScaleMark, 7> scaleMarks(KnobSquare square, ScaleMarkStyle style)
{
    const int h = square.h;
    const int s = square.s;
    const int e = s / 8;
    const int mid = h + s / 2;
    if (style == ScaleMarkStyle::thin) {
        const int far = h + s - 1;
        return {{{{mid, h}, {mid, h + 3}, 1},
                 {{h, mid}, {h + 3, mid}, 1},
                 {{far, mid}, {far - 3, mid}, 1},
                 {{h + e, h + e}, {h + e + 3, h + e + 3}, 1},
                 {{far - e, h + e}, {far - 3 - e, h + e + 3}, 1},
                 {{h + e, far - e}, {h + e + 3, far - 3 - e}, 1},
                 {{far - e, far - e}, {far - 3 - e, far - 3 - e}, 1}}};
    }
    const int far = h + s;
    return {{{{mid, h}, {mid, h + 3}, 3},
             {{h, mid}, {h + 3, mid}, 3},
             {{far, mid}, {far - 3, mid}, 3},
             {{h + e, h + e}, {h + e + 3, h + e + 3}, 2},
             {{far - e, h + e}, {far - 3 - e, h + e + 3}, 2},
             {{h + e, far - e}, {h + e + 3, far - 3 - e}, 2},
             {{far - e, far - e}, {far - 3 - e, far - 3 - e}, 2}}};
}

std::optional<int> knobLAngle(int dx, int dy)
{
    if (dx == 0 || dy == 0) return std::nullopt;
    constexpr float twoPi = static_cast<float>(2 * pi);
    const float turn = std::acos(downCosine<float>(dx, dy));
    const float radians = dx < 0 ? turn : twoPi - turn;
    return limitAngle(static_cast<std::int64_t>(std::trunc(radians * 360.0f / twoPi)));
}

std::optional<int> knobAngle(int dx, int dy)
{
    if (dx == 0 || dy == 0) return std::nullopt;
    const double turn = std::acos(downCosine<double>(dx, dy));
    const double radians = dx < 0 ? turn : 2 * pi - turn;
    return limitAngle(static_cast<std::int64_t>(std::nearbyint(radians * 360.0 / (2 * pi))));
}

int knobLValue(int angle, int min, int max)
{
    const float step = static_cast<float>(static_cast<double>(std::int64_t{max} - min + 1) * 0.00390625);
    return toInt(std::trunc(static_cast<double>(step) * angle + min));
}

int knobValue(int angle, int min, int max)
{
    return toInt(min + std::nearbyint(angle * static_cast<double>(std::int64_t{max} - min) / 256));
}

float knobLPointerAngle(int value, int min, int max)
{
    if (min == max) return static_cast<float>(startAngle);
    const float perValue = static_cast<float>(sweepAngle / static_cast<double>(std::int64_t{max} - min));
    return static_cast<float>(std::int64_t{value} - min) * perValue + static_cast<float>(startAngle);
}

double knobPointerAngle(int value, int min, int max)
{
    if (min == max) return startAngle;
    return static_cast<double>(std::int64_t{value} - min) * (sweepAngle / static_cast<double>(std::int64_t{max} - min)) +
           startAngle;
}

TPoint knobLPointerEnd(TPoint centre, int length, float angle)
{
    const float l = static_cast<float>(length);
    return {toInt(std::trunc(static_cast<float>(centre.x) - l * std::sin(angle))),
            toInt(std::trunc(static_cast<float>(centre.y) + l * std::cos(angle)))};
}

TPoint knobDotOffset(int radius, double angle)
{
    return {toInt(-std::nearbyint(radius * std::sin(angle))), toInt(std::nearbyint(radius * std::cos(angle)))};
}

}  // namespace trovelin
