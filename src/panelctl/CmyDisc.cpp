#include "panelctl/CmyDisc.h"

#include <cmath>

#include "framework/NamedConstants.h"
#include "framework/SystemColors.h"
#include "panelctl/CmyGeometry.h"

namespace trovelin {

namespace {

QRgb toQRgb(std::uint32_t color) { return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

}  // namespace

void CmyDisc::resize(int side)
{
    if (side == side_) return;
    side_ = side;
    const auto count = static_cast<std::size_t>(side > 0 ? side : 0);
    hue_.assign(count * count, notInked);
    distance_.assign(count * count, 0.0f);
    const int r = side / 2;
    for (int y = 2; y < side - 2; ++y) {
        for (int x = 2; x < side - 2; ++x) {
            const int dx = x - r;
            const int dy = y - r;
            const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            if (!(d > 0) || d > static_cast<float>(r - 2)) continue;
            const std::size_t at = static_cast<std::size_t>(y) * count + static_cast<std::size_t>(x);
            hue_[at] = static_cast<std::int16_t>(cmyHue(dx, dy, d));
            distance_[at] = d;
        }
    }
}

void CmyDisc::paint(QImage& bitmap) const
{
    if (side_ <= 0 || bitmap.width() != side_ || bitmap.height() != side_) return;
    bitmap.fill(toQRgb(colorToRgb(clBtnFace)));
    const int r = side_ / 2;
    const auto count = static_cast<std::size_t>(side_);
    for (int y = 0; y < side_; ++y) {
        auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        const std::size_t row = static_cast<std::size_t>(y) * count;
        for (int x = 0; x < side_; ++x) {
            const int hue = hue_[row + static_cast<std::size_t>(x)];
            if (hue == notInked) continue;
            const float d = distance_[row + static_cast<std::size_t>(x)];
            const CmyInks inks = hueInks(hue);
            line[x] = qRgb(cmyDiscChannel(inks.c, d, r), cmyDiscChannel(inks.m, d, r), cmyDiscChannel(inks.y, d, r));
        }
    }
    bitmap.setPixel(r, r, toQRgb(colorToRgb(clWindow)));
}

}  // namespace trovelin
