#include "skin/Wgroupbox.h"

#include "framework/ControlProperties.h"
#include "skin/PanelFace.h"

namespace trovelin {

TWGroupBox::TWGroupBox(Component* owner) : TCustomPanel(owner) {}

const ClassInfo& TWGroupBox::staticClassInfo()
{
    using C = TCustomPanel;
    namespace shared = controlProperties;
    static const ClassInfo info{
        "TWGroupBox", &TCustomControl::staticClassInfo(),
        shared::table({
            {shared::caption(), shared::color(), shared::font(), shared::align(),
             published::integer("BevelWidth", &C::bevelWidth, &C::setBevelWidth, 1),
             published::boolean("FullRepaint", &C::fullRepaint, &C::setFullRepaint, true), shared::parentColor(),
             shared::parentFont(), shared::enabled(), shared::visible(), shared::tabOrder()},
            C::bevelProperties(),
            shared::mouseEvents(),
        }),
        &createComponent<TWGroupBox>};
    return info;
}

void TWGroupBox::paint(TCanvas& canvas)
{
    if (parent() == nullptr) return;
    paintGroupFace(canvas, *this, NegativeBevel::topLine);
}

}  // namespace trovelin
