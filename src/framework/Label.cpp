#include "framework/Label.h"

#include "framework/ControlProperties.h"
#include "framework/WinControl.h"

namespace trovelin {

TLabel::TLabel(Component* owner) : TGraphicControl(owner)
{
    setCaptionFollowsName();
}

const ClassInfo& TLabel::staticClassInfo()
{
    using C = TLabel;
    namespace shared = controlProperties;
    static const EnumType alignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
    static const EnumType layoutNames{"tlTop", "tlCenter", "tlBottom"};
    static const ClassInfo info{
        "TLabel",
        &TControl::staticClassInfo(),
        shared::table({
            {shared::align(), published::enumeration("Alignment", alignmentNames, &C::alignment, &C::setAlignment,
                                                     std::optional(TAlignment::taLeftJustify)),
             shared::anchors(), published::boolean("AutoSize", &C::autoSize, &C::setAutoSize, true),
             shared::biDiMode(), shared::caption(), shared::color(), shared::constraints(), shared::dragCursor(),
             shared::dragKind(), shared::dragMode(), shared::enabled(),
             published::reference("FocusControl", TWinControl::staticClassInfo(), &C::focusControl,
                                  &C::setFocusControl),
             shared::font(),
             published::enumeration("Layout", layoutNames, &C::layout, &C::setLayout,
                                    std::optional(TTextLayout::tlTop)),
             shared::parentBiDiMode(), shared::parentColor(), shared::parentFont(), shared::parentShowHint(),
             shared::popupMenu(),
             published::boolean("ShowAccelChar", &C::showAccelChar, &C::setShowAccelChar, true),
             shared::showHint(), published::boolean("Transparent", &C::transparent, &C::setTransparent, false),
             shared::visible(), published::boolean("WordWrap", &C::wordWrap, &C::setWordWrap, false)},
            shared::mouseEvents(),
            shared::dragEvents(),
        }),
        &createComponent<TLabel>};
    return info;
}

void TLabel::setFocusControl(TWinControl* control)
{
    focusControl_ = control;
    if (control) freeNotification(control);
}

void TLabel::componentRemoved(Component* component)
{
    if (component == focusControl_) focusControl_ = nullptr;
    TGraphicControl::componentRemoved(component);
}

}  // namespace trovelin
