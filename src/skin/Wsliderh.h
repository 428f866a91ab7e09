#pragma once
// The skinned horizontal fader: Min at the left unless Inverted.

#include "skin/SkinnedFader.h"

namespace trovelin {

class TWSliderh : public TWFader {
public:
    explicit TWSliderh(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

}  // namespace trovelin
