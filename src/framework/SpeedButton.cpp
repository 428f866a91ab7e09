#include "framework/SpeedButton.h"

#include <algorithm>

#include "framework/ControlProperties.h"
#include "framework/Menus.h"
#include "streaming/Errors.h"

namespace trovelin {

TSpeedButton::TSpeedButton(Component* owner) : TGraphicControl(owner)
{
    setCaptionFollowsName();
}

const ClassInfo& TSpeedButton::staticClassInfo()
{
    using C = TSpeedButton;
    namespace shared = controlProperties;
    static const EnumType layoutNames{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};
    static const ClassInfo info{
        "TSpeedButton",
        &TControl::staticClassInfo(),
        shared::table({
            {published::reference("Action", TBasicAction::staticClassInfo(), &C::action, &C::setAction),
             published::boolean("AllowAllUp", &C::allowAllUp, &C::setAllowAllUp, false), shared::anchors(),
             shared::biDiMode(), shared::constraints(), published::integer("GroupIndex", &C::groupIndex,
                                                                           &C::setGroupIndex, 0),
             published::boolean("Down", &C::down, &C::setDown, false), shared::caption(), shared::enabled(),
             published::boolean("Flat", &C::flat, &C::setFlat, false), shared::font(),
             published::object("Glyph", TBitmap::staticClassInfo(), &C::glyph, &C::assignGlyph),
             published::enumeration("Layout", layoutNames, &C::layout, &C::setLayout,
                                    std::optional(TButtonLayout::blGlyphLeft)),
             published::integer("Margin", &C::margin, &C::setMargin, -1),
             published::integer("NumGlyphs", &C::numGlyphs, &C::setNumGlyphs, 1), shared::parentFont(),
             shared::parentShowHint(), shared::parentBiDiMode(), shared::popupMenu(), shared::showHint(),
             published::integer("Spacing", &C::spacing, &C::setSpacing, 4),
             published::boolean("Transparent", &C::transparent, &C::setTransparent, true), shared::visible()},
            shared::mouseEvents(),
        }),
        &createComponent<TSpeedButton>};
    return info;
}

void TSpeedButton::setAction(TBasicAction* action)
{
    action_ = action;
    if (action) freeNotification(action);
}

void TSpeedButton::assignGlyph(const Persistent* other)
{
    if (other && !dynamic_cast<const TBitmap*>(other)) throw EReadError(messages::invalidPropertyValue);
    glyph_.assign(static_cast<const TBitmap*>(other));
}

void TSpeedButton::setNumGlyphs(std::int32_t value)
{
    numGlyphs_ = std::clamp(value, 1, 4);
}

void TSpeedButton::componentRemoved(Component* component)
{
    if (component == action_) action_ = nullptr;
    TGraphicControl::componentRemoved(component);
}

}  // namespace trovelin
