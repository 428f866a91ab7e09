#pragma once
// The skinned group box: a shaded face with a frame inset by BevelWidth that leaves room for the
// caption at the top, or a single top line for a negative BevelWidth.

#include "framework/CustomPanel.h"

namespace trovelin {

class TWGroupBox : public TCustomPanel {
public:
    explicit TWGroupBox(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    void paint(TCanvas& canvas) override;
};

}  // namespace trovelin
