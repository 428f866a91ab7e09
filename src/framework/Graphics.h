#pragma once
// The pen and the brush a canvas draws with, reached in records as "Pen.Color", "Brush.Style"
// and the like.

#include <cstdint>
#include <functional>

#include "framework/NamedConstants.h"
#include "streaming/Persistent.h"

namespace trovelin {

// Pen styles keep their stored ordinals. psInsideFrame draws solid and keeps wide outlines of
// rectangles and ellipses inside their box.
enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The mixing modes a record may give a pen. Drawing uses pmCopy whatever the mode: nothing in
// this system draws with another one, and records that carry one still read.
enum class TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
// The hatched styles fill with hatch lines in the brush colour; every style but bsClear puts
// the brush colour behind text and between the dashes of styled pens.
enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// Setters report a change through the on-change callback only when the value differs.
class GraphicsObject : public Persistent {
public:
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

protected:
    template <class T> void change(T& field, const T& value)
    {
        if (field == value) return;
        field = value;
        changed();
    }
    void changed()
    {
        if (onChange_) onChange_();
    }

private:
    std::function<void()> onChange_;
};

class TPen : public GraphicsObject {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Copies every attribute of `other` and reports one change.
    void assign(const TPen& other);

    TColor color() const { return color_; }
    void setColor(TColor color) { change(color_, color); }
    // Widths below 1 draw as 1 pixel.
    std::int32_t width() const { return width_; }
    void setWidth(std::int32_t width) { change(width_, width); }
    TPenStyle style() const { return style_; }
    void setStyle(TPenStyle style) { change(style_, style); }
    TPenMode mode() const { return mode_; }
    void setMode(TPenMode mode) { change(mode_, mode); }

private:
    TColor color_ = clBlack;
    std::int32_t width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    TPenMode mode_ = TPenMode::pmCopy;
};

class TBrush : public GraphicsObject {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Copies every attribute of `other` and reports one change.
    void assign(const TBrush& other);

    TColor color() const { return color_; }
    void setColor(TColor color) { change(color_, color); }
    TBrushStyle style() const { return style_; }
    void setStyle(TBrushStyle style) { change(style_, style); }

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
};

}  // namespace trovelin
