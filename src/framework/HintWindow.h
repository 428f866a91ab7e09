#pragma once
// The framework's hint window: a small box of text near the pointer. It measures its text with
// its canvas font; showing it is left to a HintDisplay that the control's host provides (a
// window of its own in the app, a record in tests).

#include <memory>
#include <string>

#include "framework/Font.h"
#include "framework/Geometry.h"

namespace trovelin {

class TControl;

class HintDisplay {
public:
    virtual ~HintDisplay() = default;
    // Shows `text` in `font` on `color` filling `screenRect`, or moves and redraws it there.
    virtual void show(const TRect& screenRect, const std::string& text, const TFont& font, TColor color) = 0;
    virtual void hide() = 0;
};

class THintWindow {
public:
    // The hint window of `owner`, shown through the owner's host.
    explicit THintWindow(TControl& owner);
    ~THintWindow();

    TFont& font() { return font_; }
    // The background, clInfoBk unless the owner chooses another.
    TColor color() const { return color_; }
    void setColor(TColor value) { color_ = value; }
    // The rectangle the text needs, from (0, 0): the text wrapped at `maxWidth` pixels, with
    // 6 pixels more width and 2 more height for the frame and margins.
    TRect calcHintRect(int maxWidth, const std::string& text) const;
    // Shows the text in a window covering `screenRect`.
    void activateHint(const TRect& screenRect, const std::string& text);
    // Hides the window (the original releases its window handle).
    void releaseHandle();

    bool showing() const { return showing_; }
    const std::string& text() const { return text_; }
    const TRect& rect() const { return rect_; }

private:
    TControl& owner_;
    TFont font_;
    TColor color_ = clInfoBk;
    std::unique_ptr<HintDisplay> display_;
    bool showing_ = false;
    std::string text_;
    TRect rect_;
};

}  // namespace trovelin
