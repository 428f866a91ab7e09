#include "panelctl/Sliderh.h"

namespace trovelin {

TSliderh::TSliderh(Component* owner) : TFader(owner, FaderAxis::Horizontal) {}

const ClassInfo& TSliderh::staticClassInfo()
{
    static const ClassInfo info{"TSliderh", &TControl::staticClassInfo(), publishedProperties(),
                                &createComponent<TSliderh>};
    return info;
}

}  // namespace trovelin
