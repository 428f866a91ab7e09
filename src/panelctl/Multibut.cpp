#include "panelctl/Multibut.h"

#include <algorithm>
#include <cstdint>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/EllipseRaster.h"
#include "streaming/Reader.h"
#include "streaming/ValueWriter.h"

namespace trovelin {
namespace {

// Channel values travel as integers; only their low 16 bits count.
std::int16_t lowWord(std::int32_t value)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu));
}

bool isShortFormFirstItem(std::int16_t value) { return value >= -1 && value < multiButtonChannelCount; }

}  // namespace

MultiButtonContent multiButtonContent(int width, int height, int textWidth, int textHeight, int glyphWidth,
                                      int glyphHeight, int offset)
{
    return {
        {width / 2 - textWidth / 2 + offset, height / 2 - textHeight / 2 + offset + glyphHeight / 2},
        {width / 2 - glyphWidth / 2 + offset, height / 2 - glyphHeight / 2 - textHeight / 2 + offset},
    };
}

TMultiButton::TMultiButton(Component* owner) : TSpeedButton(owner)
{
    glyph().setTransparent(true);
    channels_.fill(unusedChannel);
}

const ClassInfo& TMultiButton::staticClassInfo()
{
    using C = TMultiButton;
    static const ClassInfo info{
        "TMultiButton",
        &TSpeedButton::staticClassInfo(),
        {published::integer("Color", &C::color, &C::setColor, clBtnFace, &colorConstants())},
        &createComponent<TMultiButton>};
    return info;
}

void TMultiButton::setColor(TColor value)
{
    if (value == color_) return;
    color_ = value;
    repaint();
}

std::int16_t TMultiButton::channels(int index) const
{
    if (index < 0 || index >= multiButtonChannelCount) return unusedChannel;
    return channels_[static_cast<std::size_t>(index)];
}

void TMultiButton::setChannels(int index, std::int16_t value)
{
    if (index < 0 || index >= multiButtonChannelCount) return;
    channels_[static_cast<std::size_t>(index)] = value;
}

void TMultiButton::defineProperties(Filer& filer)
{
    TSpeedButton::defineProperties(filer);
    filer.defineProperty("Channels", [this](Reader& reader) { readChannels(reader); });
}

void TMultiButton::readChannels(Reader& reader)
{
    reader.readListBegin();
    const std::int16_t first = lowWord(reader.readInteger());
    if (isShortFormFirstItem(first)) {
        channels_[0] = first;
        for (int i = 1; i < multiButtonShortChannels; ++i)
            channels_[static_cast<std::size_t>(i)] = lowWord(reader.readInteger());
    } else {
        // A count: the whole table is replaced, and items past the last channel are read and dropped.
        channels_.fill(unusedChannel);
        for (int i = 0; i < first; ++i) {
            const std::int16_t value = lowWord(reader.readInteger());
            if (i < multiButtonChannelCount) channels_[static_cast<std::size_t>(i)] = value;
        }
    }
    reader.readListEnd();
}

void TMultiButton::writeChannels(ValueWriter& writer) const
{
    int highestUsed = multiButtonChannelCount - 1;
    while (highestUsed >= 0 && channels_[static_cast<std::size_t>(highestUsed)] == unusedChannel) --highestUsed;

    // A first channel outside -1..255 would read back as the long form's count and break the record,
    // so such a table goes out in the long form even when channels past 31 are unused.
    const bool shortForm = highestUsed < multiButtonShortChannels && isShortFormFirstItem(channels_[0]);
    writer.writeListBegin();
    if (shortForm) {
        for (int i = 0; i < multiButtonShortChannels; ++i) writer.writeInteger(channels_[static_cast<std::size_t>(i)]);
    } else {
        writer.writeInteger(multiButtonChannelCount);
        for (std::int16_t value : channels_) writer.writeInteger(value);
    }
    writer.writeListEnd();
}

TRect TMultiButton::opaqueArea() const
{
    // paint() fills the disc in solid colours in these states only (a flat button at rest shows none).
    if (!parent() || !(pressedOrDown() || mouseInControl() || !flat())) return {};
    // Both states fill the disc within (0, 0, w - 1, h - 1). Past the rasteriser's extent Qt draws it
    // less exactly, and such buttons are claimed no part of.
    const int w = std::max(width(), 0), h = std::max(height(), 0);
    if (w - 1 > maxRasterExtent || h - 1 > maxRasterExtent) return {};
    // Half the sides of the rectangle inscribed in the ellipse (a half axis / sqrt 2), a pixel short.
    const int halfWidth = (w - 1) * 7 / 20 - 1, halfHeight = (h - 1) * 7 / 20 - 1;
    if (halfWidth <= 0 || halfHeight <= 0) return {};
    const int centreX = (w - 1) / 2, centreY = (h - 1) / 2;
    return {centreX - halfWidth, centreY - halfHeight, centreX + halfWidth, centreY + halfHeight};
}

void TMultiButton::paint(TCanvas& canvas)
{
    if (!parent()) return;
    // A record may give a negative size, which leaves nothing to draw, or one near the integer
    // limit, where three quarters of it are taken wide.
    const int w = std::max(width(), 0), h = std::max(height(), 0);
    const auto threeQuarters = [](int extent) { return static_cast<int>(std::int64_t{3} * extent / 4); };
    canvas.pen().setWidth(1);
    canvas.brush().setStyle(TBrushStyle::bsSolid);
    int offset = 0;
    if (pressedOrDown()) {
        canvas.brush().setColor(clWindowText);
        canvas.pen().setColor(clWindowText);
        canvas.ellipse(0, 0, w - 1, h - 1);
        canvas.brush().setColor(color_);
        canvas.pen().setColor(clBtnHighlight);
        canvas.ellipse(1, 1, w, h);
        canvas.pen().setColor(clBtnShadow);
        canvas.arc(1, 1, w, h, threeQuarters(w), h / 4, w / 4, threeQuarters(h));
        offset = 1;
    } else if (mouseInControl() || !flat()) {
        canvas.brush().setColor(clWindowText);
        canvas.pen().setColor(clWindowText);
        canvas.ellipse(1, 1, w, h);
        canvas.brush().setColor(color_);
        canvas.pen().setColor(clBtnHighlight);
        canvas.ellipse(0, 0, w - 1, h - 1);
        canvas.pen().setColor(clBtnShadow);
        canvas.arc(0, 0, w - 1, h - 1, w / 4, threeQuarters(h), threeQuarters(w), h / 4);
    }

    canvas.font().assign(font());
    const int textWidth = canvas.textWidth(caption());
    const int textHeight = textWidth != 0 ? canvas.textHeight("H") : 0;
    const TBitmap& picture = glyph();
    const MultiButtonContent content =
        multiButtonContent(w, h, textWidth, textHeight, picture.width(), picture.height(), offset);
    if (textWidth != 0) {
        if (!enabled()) canvas.font().setColor(clBtnShadow);
        // Only the letters: a flat button without its disc shows no box behind its caption.
        canvas.brush().setStyle(TBrushStyle::bsClear);
        canvas.textOut(content.caption.x, content.caption.y, caption());
    }
    if (!picture.empty()) canvas.draw(content.glyph.x, content.glyph.y, picture);
}

}  // namespace trovelin
