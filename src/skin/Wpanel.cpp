#include "skin/Wpanel.h"

#include <algorithm>

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "skin/PanelFace.h"
#include "skin/Wconst.h"

namespace trovelin {

TWPanel::TWPanel(Component* owner) : TCustomPanel(owner) {}

const ClassInfo& TWPanel::staticClassInfo()
{
    using C = TWPanel;
    namespace shared = controlProperties;
    static const EnumType borderStyleNames{"bsNone", "bsSingle"};
    static const ClassInfo info{
        "TWPanel", &TCustomControl::staticClassInfo(),
        shared::table({
            panelProperties(),
            bevelProperties(),
            {published::integer("BorderWidth", &C::borderWidth, &C::setBorderWidth, 0),
             published::enumeration("BorderStyle", borderStyleNames, &C::borderStyle, &C::setBorderStyle,
                                    std::optional(TBorderStyle::bsNone)),
             published::boolean("DockSite", &C::dockSite, &C::setDockSite, false), shared::dragCursor(),
             shared::dragKind(), shared::dragMode(), published::boolean("Locked", &C::locked, &C::setLocked, false),
             published::event("OnCanResize", &C::onCanResize),
             published::event("OnConstrainedResize", &C::onConstrainedResize),
             published::event("OnDockDrop", &C::onDockDrop), published::event("OnDockOver", &C::onDockOver),
             published::event("OnEnter", &C::onEnter), published::event("OnExit", &C::onExit),
             published::event("OnGetSiteInfo", &C::onGetSiteInfo), published::event("OnResize", &C::onResize),
             published::event("OnUnDock", &C::onUnDock)},
            shared::dragEvents(),
        }),
        &createComponent<TWPanel>};
    return info;
}

void TWPanel::paint(TCanvas& canvas)
{
    if (parent() == nullptr) return;
    const int w = limitedExtent(width()), h = limitedExtent(height());
    const PanelColours colours = PanelColours::of(*this);
    DrawShadeV(canvas, {0, 0, w, h}, colours.base);

    // Limited so that no coordinate nears the integer limit; the caption still moves with it.
    const int b = std::clamp(bevelWidth(), -skinExtentLimit, skinExtentLimit);
    if (b >= 0) DrawBevelFrame(canvas, {b, b, w - b - 1, h - b - 1}, colours.shadow, colours.dark);
    if (caption().empty()) return;
    canvas.font().assign(font());
    const int th = canvas.textHeight("H"), tw = canvas.textWidth(caption());
    int x = (w - tw) / 2;
    if (alignment() == TAlignment::taLeftJustify) x = b + 1;
    if (alignment() == TAlignment::taRightJustify) x = w - tw - b - 1;
    canvas.brush().setStyle(TBrushStyle::bsClear);
    canvas.textOut(x, (h - th) / 2, caption());
    canvas.brush().setStyle(TBrushStyle::bsSolid);
}

}  // namespace trovelin
