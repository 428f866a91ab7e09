#include "framework/GroupBox.h"

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"

namespace trovelin {

TGroupBox::TGroupBox(Component* owner) : TWinControl(owner)
{
    setCaptionFollowsName();
}

const ClassInfo& TGroupBox::staticClassInfo()
{
    using C = TWinControl;
    namespace shared = controlProperties;
    static const ClassInfo info{
        "TGroupBox",
        &TWinControl::staticClassInfo(),
        shared::table({
            {shared::align(), shared::anchors(), shared::biDiMode(), shared::caption(), shared::color(),
             shared::constraints(), published::boolean("Ctl3D", &C::ctl3D, &C::setCtl3D, std::nullopt),
             published::boolean("DockSite", &C::dockSite, &C::setDockSite, false), shared::dragCursor(),
             shared::dragKind(), shared::dragMode(), shared::enabled(), shared::font(),
             published::integer("HelpContext", &C::helpContext, &C::setHelpContext, 0), shared::parentBiDiMode(),
             shared::parentColor(),
             published::boolean("ParentCtl3D", &C::parentCtl3D, &C::setParentCtl3D, true), shared::parentFont(),
             shared::parentShowHint(), shared::popupMenu(), shared::showHint(),
             published::integer("TabOrder", &C::tabOrder, &C::setTabOrder, -1),
             published::boolean("TabStop", &C::tabStop, &C::setTabStop, false), shared::visible()},
            shared::mouseEvents(),
            shared::dragEvents(),
            {published::event("OnDockDrop", &C::onDockDrop), published::event("OnDockOver", &C::onDockOver),
             published::event("OnEnter", &C::onEnter), published::event("OnExit", &C::onExit),
             published::event("OnGetSiteInfo", &C::onGetSiteInfo), published::event("OnUnDock", &C::onUnDock)},
        }),
        &createComponent<TGroupBox>};
    return info;
}

void TGroupBox::paint(TCanvas& canvas)
{
    canvas.font().assign(font());
    canvas.brush().setStyle(TBrushStyle::bsSolid);
    canvas.brush().setColor(color());
    canvas.fillRect({0, 0, width(), height()});
    const int top = canvas.textHeight("0") / 2;
    canvas.brush().setStyle(TBrushStyle::bsClear);
    canvas.pen().setColor(clBtnHighlight);
    canvas.rectangle(1, top + 1, width(), height());
    canvas.pen().setColor(clBtnShadow);
    canvas.rectangle(0, top, width() - 1, height() - 1);
    if (caption().empty()) return;
    canvas.brush().setStyle(TBrushStyle::bsSolid);
    canvas.brush().setColor(color());
    canvas.textOut(8, 0, caption());
}

}  // namespace trovelin
