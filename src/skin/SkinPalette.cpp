#include "skin/SkinPalette.h"

#include "skin/Wconst.h"

namespace trovelin {

SkinPalette SkinPalette::fixed()
{
    return {0x7F7F7F, 0xBFBFBF, 0x3F3F3F, 0xEFEFEF, 0xDFDFDF, 0x7F7F7F, 0x1F1F1F};
}

SkinPalette SkinPalette::derivedFrom(TColor color)
{
    SkinPalette palette{};
    palette.shadow = DarkenColor32(color);
    palette.highlight = LightenColor32(color);
    palette.darkShadow = DarkenColor96(color);
    palette.brightHighlight = LightenColor64(color);
    palette.hotHighlight = TintBlue32(palette.highlight);
    palette.hotShadow = TintBlue32(palette.shadow);
    palette.hotDarkShadow = TintBlue32(palette.darkShadow);
    return palette;
}

bool SkinColouring::setColor(TColor value)
{
    if (value == color_) return false;
    color_ = value;
    if (!parentColor_) palette_ = SkinPalette::derivedFrom(color_);
    return true;
}

void SkinColouring::setParentColor(bool value)
{
    parentColor_ = value;
    if (value) {
        color_ = clBtnFace;
        palette_ = SkinPalette::fixed();
    } else {
        palette_ = SkinPalette::derivedFrom(color_);
    }
}

}  // namespace trovelin
