#include "skin/Wslider.h"

namespace trovelin {

TWSlider::TWSlider(Component* owner) : TWFader(owner, FaderAxis::Vertical) {}

const ClassInfo& TWSlider::staticClassInfo()
{
    static const ClassInfo info{"TWSlider", &TControl::staticClassInfo(), publishedProperties(), &createComponent<TWSlider>};
    return info;
}

}  // namespace trovelin
