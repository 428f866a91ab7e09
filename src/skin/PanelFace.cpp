#include "skin/PanelFace.h"

#include <algorithm>

#include "framework/Canvas.h"
#include "skin/SkinPalette.h"
#include "skin/Wconst.h"

namespace trovelin {

PanelColours PanelColours::of(const TControl& panel)
{
    if (panel.parentColor()) {
        const SkinPalette fixed = SkinPalette::fixed();
        return {clBtnFace, fixed.highlight, fixed.shadow, fixed.darkShadow};
    }
    const TColor base = panel.color();
    return {base, LightenColor32(base), DarkenColor32(base), DarkenColor96(base)};
}

void paintGroupFace(TCanvas& canvas, const TCustomPanel& panel, NegativeBevel rule)
{
    const int w = limitedExtent(panel.width()), h = limitedExtent(panel.height());
    const PanelColours colours = PanelColours::of(panel);
    const std::string& caption = panel.caption();

    canvas.font().assign(panel.font());
    int tw = 0, th = 0;
    if (!caption.empty()) {
        th = canvas.textHeight("H");
        tw = canvas.textWidth(caption);
    }
    const int half = th / 2;
    DrawShadeV(canvas, {0, 0, w, h}, colours.base);

    // Below -1 every width means the same; beyond the size no frame shows.
    const int b = std::clamp(panel.bevelWidth(), -2, skinExtentLimit);
    if (b >= 0) {
        DrawBevelFrame(canvas, {b, half + b, w - b - 1, h - b - 1}, colours.shadow, colours.dark);
    } else if (rule == NegativeBevel::topLine || b == -1) {
        canvas.pen().setColor(colours.shadow);
        canvas.moveTo(0, 0);
        canvas.lineTo(rule == NegativeBevel::topLine ? w : w - 1, 0);
    }
    if (tw != 0) {
        const int inset = std::max(b, 0);
        canvas.pen().setColor(colours.light);
        canvas.moveTo(inset + 8, inset + half);
        canvas.lineTo(inset + tw + 8, inset + half);
        canvas.brush().setStyle(TBrushStyle::bsClear);
        canvas.textOut(inset + 8, inset, caption);
        canvas.brush().setStyle(TBrushStyle::bsSolid);
    }
}

}  // namespace trovelin
