#include "framework/CustomPanel.h"

#include "framework/ControlProperties.h"

namespace trovelin {

TCustomPanel::TCustomPanel(Component* owner) : TWinControl(owner)
{
    setWidth(185);
    setHeight(41);
    setColor(clBtnFace);
    setParentColor(true);
}

std::vector<PropertyInfo> TCustomPanel::panelProperties()
{
    using C = TCustomPanel;
    namespace shared = controlProperties;
    return shared::table({
        {shared::align(),
         published::enumeration("Alignment", shared::alignmentNames(), &C::alignment, &C::setAlignment,
                                std::optional(TAlignment::taCenter)),
         shared::anchors(), published::integer("BevelWidth", &C::bevelWidth, &C::setBevelWidth, 1),
         shared::caption(), shared::color(), shared::constraints(), shared::ctl3D(), shared::enabled(),
         shared::font(), published::boolean("FullRepaint", &C::fullRepaint, &C::setFullRepaint, true),
         shared::parentColor(), shared::parentCtl3D(), shared::parentFont(), shared::parentShowHint(),
         shared::popupMenu(), shared::showHint(), shared::tabOrder(), shared::tabStop(false), shared::visible()},
        shared::mouseEvents(),
    });
}

std::vector<PropertyInfo> TCustomPanel::bevelProperties()
{
    using C = TCustomPanel;
    static const EnumType bevelNames{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    return {published::enumeration("BevelInner", bevelNames, &C::bevelInner, &C::setBevelInner,
                                   std::optional(TPanelBevel::bvNone)),
            published::enumeration("BevelOuter", bevelNames, &C::bevelOuter, &C::setBevelOuter,
                                   std::optional(TPanelBevel::bvRaised))};
}

void TCustomPanel::setAlignment(TAlignment value)
{
    if (value == alignment_) return;
    alignment_ = value;
    invalidate();
}

void TCustomPanel::setBevelWidth(std::int32_t value)
{
    if (value == bevelWidth_) return;
    bevelWidth_ = value;
    invalidate();
}

}  // namespace trovelin
