#pragma once
// The image control: the background record of a panel file is read into one.

#include "framework/Control.h"
#include "streaming/Picture.h"

namespace trovelin {

class TImage : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool value) { autoSize_ = value; }
    bool center() const { return center_; }
    void setCenter(bool value) { center_ = value; }
    bool incrementalDisplay() const { return incrementalDisplay_; }
    void setIncrementalDisplay(bool value) { incrementalDisplay_ = value; }
    TPicture& picture() { return picture_; }
    void assignPicture(const Persistent* other);
    bool stretch() const { return stretch_; }
    void setStretch(bool value) { stretch_ = value; }
    bool transparent() const { return transparent_; }
    void setTransparent(bool value) { transparent_ = value; }
    MethodRef onProgress;

    // A bitmap at the top left, centred or stretched over the control; icons and metafiles are
    // kept but not drawn.
    void paint(TCanvas& canvas) override;

private:
    bool autoSize_ = false;
    bool center_ = false;
    bool incrementalDisplay_ = false;
    TPicture picture_;
    bool stretch_ = false;
    bool transparent_ = false;
};

}  // namespace trovelin
