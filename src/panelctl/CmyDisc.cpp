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
    pixels_.assign(count * count, Pixel{});
    const int r = side / 2;
    for (int y = 2; y < side - 2; ++y) {
        for (int x = 2; x < side - 2; ++x) {
            const int dx = x - r;
            const int dy = y - r;
            const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            if (!(d > 0) || d > static_cast<float>(r - 2)) continue;
            const CmyInks inks = hueInks(cmyHue(dx, dy, d));
            pixels_[static_cast<std::size_t>(y) * count + static_cast<std::size_t>(x)] = {
                d, static_cast<std::uint8_t>(inks.c), static_cast<std::uint8_t>(inks.m),
                static_cast<std::uint8_t>(inks.y), true};
        }
    }
}

void CmyDisc::paint(QImage& bitmap) const
{
    if (bitmap.width() != side_ || bitmap.height() != side_) return;
    paint(bitmap, 0, 0);
}

void CmyDisc::paint(QImage& bitmap, int originX, int originY) const
{
    if (side_ <= 0 || bitmap.isNull() || originX < 0 || originY < 0 || originX + bitmap.width() > side_ ||
        originY + bitmap.height() > side_)
        return;
    bitmap.fill(toQRgb(colorToRgb(clBtnFace)));
    const int r = side_ / 2;
    const auto count = static_cast<std::size_t>(side_);
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        const Pixel* row = pixels_.data() + static_cast<std::size_t>(y + originY) * count + static_cast<std::size_t>(originX);
        for (int x = 0; x < bitmap.width(); ++x) {
            const Pixel& p = row[x];
            if (!p.inked) continue;
            line[x] = qRgb(cmyDiscChannel(p.c, p.distance, r), cmyDiscChannel(p.m, p.distance, r),
                           cmyDiscChannel(p.y, p.distance, r));
        }
    }
    if (r >= originX && r < originX + bitmap.width() && r >= originY && r < originY + bitmap.height())
        bitmap.setPixel(r - originX, r - originY, toQRgb(colorToRgb(clWindow)));
}

}  // namespace trovelin
