#include "skin/Wsliderh.h"

namespace trovelin {

TWSliderh::TWSliderh(Component* owner) : TWFader(owner, FaderAxis::Horizontal) {}

const ClassInfo& TWSliderh::staticClassInfo()
{
    static const ClassInfo info{"TWSliderh", &TControl::staticClassInfo(), publishedProperties(), &createComponent<TWSliderh>};
    return info;
}

}  // namespace trovelin
