#pragma once
// The skinned vertical fader: Max at the top unless Inverted.

#include "skin/SkinnedFader.h"

namespace trovelin {

class TWSlider : public TWFader {
public:
    explicit TWSlider(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

}  // namespace trovelin
