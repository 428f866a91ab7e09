#pragma once
// The group box: a windowed frame with a caption.

#include "framework/WinControl.h"

namespace trovelin {

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

}  // namespace trovelin
