#pragma once
// The label: a caption drawn on its parent.

#include "framework/Control.h"

namespace trovelin {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(Component* owner);

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    TAlignment alignment() const { return alignment_; }
    void setAlignment(TAlignment value) { alignment_ = value; }
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool value) { autoSize_ = value; }
    TWinControl* focusControl() const { return focusControl_; }
    void setFocusControl(TWinControl* control);
    TTextLayout layout() const { return layout_; }
    void setLayout(TTextLayout value) { layout_ = value; }
    bool showAccelChar() const { return showAccelChar_; }
    void setShowAccelChar(bool value) { showAccelChar_ = value; }
    bool transparent() const { return transparent_; }
    void setTransparent(bool value) { transparent_ = value; }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool value) { wordWrap_ = value; }

    // The background unless transparent, then the caption on one line, placed by Alignment and
    // Layout; with ShowAccelChar an "&" marks the next character and is not drawn ("&&" draws one).
    void paint(TCanvas& canvas) override;
    // A label that is not transparent fills its bounds before its caption.
    bool opaque() const override { return !transparent_; }
    // With AutoSize, the label takes the size of its caption as `canvas` measures it in the
    // label's font; what shows a label calls this, since measuring text needs the screen's fonts.
    void adjustBounds(TCanvas& canvas);

protected:
    void componentRemoved(Component* component) override;

private:
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool autoSize_ = true;
    TWinControl* focusControl_ = nullptr;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool showAccelChar_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
};

}  // namespace trovelin
