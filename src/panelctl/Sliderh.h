#pragma once
// The horizontal fader: the vertical one with its axes exchanged, Min at the left unless Inverted.

#include "panelctl/Fader.h"

namespace trovelin {

class TSliderh : public TFader {
public:
    explicit TSliderh(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

}  // namespace trovelin
