#include "panelctl/CmyGeometry.h"

#include <algorithm>
#include <cmath>

#include "framework/NamedConstants.h"
#include "framework/SystemColors.h"

namespace trovelin {

namespace {

constexpr double pi = 3.14159265358979323846;

int channel(std::uint32_t color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

// v = 255 - saturation * ink / divisor, per ink; white where there is no saturation.
std::uint32_t saturatedColor(const CmyPosition& position, int divisor)
{
    if (position.saturation == 0 || divisor <= 0) return 0xFFFFFF;
    const CmyInks inks = hueInks(position.hue);
    const auto v = [&](int ink) { return std::clamp(255 - position.saturation * ink / divisor, 0, 255); };
    return cmyRgb(v(inks.c), v(inks.m), v(inks.y));
}

}  // namespace

CmyLayout cmyLayout(int height)
{
    const int h = std::clamp(height, 0, maxCmyLayoutHeight);
    return {h, h / 36, h * 34 / 36, h * 4 / 36};
}

CmyInks hueInks(int hue)
{
    const int h = (hue % 360 + 360) % 360;
    const int rise = h % 60 * 256 / 60;
    switch (h / 60) {
    case 0: return {255, 255 - rise, 0};
    case 1: return {255, 0, rise};
    case 2: return {255 - rise, 0, 255};
    case 3: return {0, rise, 255};
    case 4: return {0, 255, 255 - rise};
    default: return {rise, 255, 0};
    }
}

CmyPosition cmyPosition(std::uint8_t cyan, std::uint8_t magenta, std::uint8_t yellow, bool rgb, int maxSaturation)
{
    const int c = rgb ? 255 - cyan : cyan;
    const int m = rgb ? 255 - magenta : magenta;
    const int y = rgb ? 255 - yellow : yellow;
    const int mn = std::min({c, m, y});
    const int mx = std::max({c, m, y});
    CmyPosition position;
    position.intensity = mn;
    if (mn == 255) return position;
    const int dc = c - mn;
    const int dm = m - mn;
    const int dy = y - mn;
    if (dc == dm && dm == dy) return position;
    position.saturation = (mx - mn) * maxSaturation / (255 - mn);
    const int span = mx - mn;
    if (dy == 0)
        position.hue = 60 * (dc - dm) / span;
    else if (dm == 0)
        position.hue = 120 + 60 * (dy - dc) / span;
    else
        position.hue = 240 + 60 * (dm - dy) / span;
    if (position.hue < 0) position.hue += 360;
    return position;
}

int cmyHue(double dx, double dy, float d)
{
    // The rounding of d may put the cosine a hair beyond 1.
    const double a = std::acos(std::clamp(dy / static_cast<double>(d), -1.0, 1.0));
    const double turn = dx < 0 ? a : 2 * pi - a;
    const int hue = static_cast<int>(turn * 360 / (2 * pi));
    return hue >= 360 ? 0 : hue;
}

CmyPosition cmyBallAt(int x, int y, const CmyLayout& layout, int intensity)
{
    const std::int64_t dx = std::int64_t{x} - layout.m - layout.D / 2;
    const std::int64_t dy = std::int64_t{y} - layout.m - layout.D / 2;
    CmyPosition position;
    position.intensity = intensity;
    if (dx == 0 && dy == 0) return position;
    // Squared in double: exact for any offset a screen can hold, and no overflow beyond.
    const auto fx = static_cast<double>(dx);
    const auto fy = static_cast<double>(dy);
    const float d = std::sqrt(static_cast<float>(fx * fx + fy * fy));
    position.hue = cmyHue(fx, fy, d);
    position.saturation = static_cast<int>(std::min(d, static_cast<float>(layout.maxSaturation())));
    return position;
}

std::optional<int> cmyIntensityAt(int y, const CmyLayout& layout)
{
    const int travel = layout.D - 4;
    if (travel <= 0) return std::nullopt;
    const auto a = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{y} - layout.m, 2, layout.D - 2));
    return (a - 2) * 255 / travel;
}

std::uint32_t cmyDiscPixel(int x, int y, int D)
{
    const int r = D / 2;
    if (x == r && y == r) return colorToRgb(clWindow);
    const std::uint32_t face = colorToRgb(clBtnFace);
    if (x < 2 || y < 2 || x >= D - 2 || y >= D - 2) return face;
    const int dx = x - r;
    const int dy = y - r;
    const float d = std::sqrt(static_cast<float>(std::int64_t{dx} * dx + std::int64_t{dy} * dy));
    if (!(d > 0) || d > static_cast<float>(r - 2)) return face;
    const CmyInks inks = hueInks(cmyHue(dx, dy, d));
    return cmyRgb(cmyDiscChannel(inks.c, d, r), cmyDiscChannel(inks.m, d, r), cmyDiscChannel(inks.y, d, r));
}

std::uint32_t cmyPoolColor(const CmyPosition& position, int D) { return saturatedColor(position, D / 2); }

std::uint32_t cmyPoolLineColor(std::uint32_t top, int i, int D)
{
    const int steps = D - 5;
    const auto v = [&](int shift) {
        const int value = channel(top, shift);
        return steps > 0 ? value - i * value / steps : value;
    };
    return cmyRgb(v(0), v(8), v(16));
}

std::uint32_t cmySampleColor(const CmyPosition& position, const CmyLayout& layout)
{
    const std::uint32_t full = saturatedColor(position, layout.D / 2 - 2);
    const auto v = [&](int shift) {
        const int value = channel(full, shift);
        return value - position.intensity * value / 255;
    };
    return cmyRgb(v(0), v(8), v(16));
}

int cmyIntensityRow(int intensity, const CmyLayout& layout) { return layout.m + intensity * (layout.D - 4) / 256; }

TPoint cmyMarkerCentre(const CmyPosition& position, const CmyLayout& layout)
{
    const double angle = position.hue * pi / 180;
    const double cx = layout.m + layout.D / 2;
    const double cy = cx;
    return {static_cast<int>(cx - std::sin(angle) * position.saturation),
            static_cast<int>(cy + std::cos(angle) * position.saturation)};
}

}  // namespace trovelin
