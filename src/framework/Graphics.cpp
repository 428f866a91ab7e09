#include "framework/Graphics.h"

#include "streaming/ClassInfo.h"

namespace trovelin {

const ClassInfo& TPen::staticClassInfo()
{
    static const EnumType styleNames{"psSolid", "psDash",  "psDot",        "psDashDot",
                                     "psDashDotDot", "psClear", "psInsideFrame"};
    static const EnumType modeNames{"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                                    "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge",
                                    "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"};
    static const ClassInfo info{
        "TPen",
        nullptr,
        {
            published::integer("Color", &TPen::color, &TPen::setColor, clBlack, &colorConstants()),
            published::enumeration("Mode", modeNames, &TPen::mode, &TPen::setMode, std::optional(TPenMode::pmCopy)),
            published::enumeration("Style", styleNames, &TPen::style, &TPen::setStyle,
                                   std::optional(TPenStyle::psSolid)),
            published::integer("Width", &TPen::width, &TPen::setWidth, 1),
        }};
    return info;
}

void TPen::assign(const TPen& other)
{
    const bool differs =
        color_ != other.color_ || width_ != other.width_ || style_ != other.style_ || mode_ != other.mode_;
    color_ = other.color_;
    width_ = other.width_;
    style_ = other.style_;
    mode_ = other.mode_;
    if (differs) changed();
}

const ClassInfo& TBrush::staticClassInfo()
{
    static const EnumType styleNames{"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                     "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
    static const ClassInfo info{
        "TBrush",
        nullptr,
        {
            published::integer("Color", &TBrush::color, &TBrush::setColor, clWhite, &colorConstants()),
            published::enumeration("Style", styleNames, &TBrush::style, &TBrush::setStyle,
                                   std::optional(TBrushStyle::bsSolid)),
        }};
    return info;
}

void TBrush::assign(const TBrush& other)
{
    const bool differs = color_ != other.color_ || style_ != other.style_;
    color_ = other.color_;
    style_ = other.style_;
    if (differs) changed();
}

}  // namespace trovelin
