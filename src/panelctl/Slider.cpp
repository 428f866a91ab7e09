#include "panelctl/Slider.h"

namespace trovelin {

TSlider::TSlider(Component* owner) : TFader(owner, FaderAxis::Vertical) {}

const ClassInfo& TSlider::staticClassInfo()
{
    static const ClassInfo info{"TSlider", &TControl::staticClassInfo(), publishedProperties(),
                                &createComponent<TSlider>};
    return info;
}

}  // namespace trovelin
