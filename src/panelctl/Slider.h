#pragma once
// The vertical fader: Max at the top unless Inverted.

#include "panelctl/Fader.h"

namespace trovelin {

class TSlider : public TFader {
public:
    explicit TSlider(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

}  // namespace trovelin
