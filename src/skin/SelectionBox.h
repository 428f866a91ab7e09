#pragma once
// What the skinned check box and radio button share: a box drawn from a four-frame glyph strip
// beside the caption, a hot frame while the mouse is over it, a dotted focus rectangle, an
// engraved caption while disabled, and a background that is the parent's (nothing of its own).

#include <array>
#include <cstdint>
#include <vector>

#include <QImage>

#include "framework/WinControl.h"
#include "streaming/Bitmap.h"

namespace trovelin {

class TWSelectionBox : public TCustomControl {
public:
    // `stripResource` names the strip the widget starts with and falls back to.
    TWSelectionBox(Component* owner, std::string_view stripResource);

    // Alignment, Caption, Checked, Tab and the framework's properties both widgets publish.
    static std::vector<PropertyInfo> sharedProperties();

    TAlignment alignment() const { return alignment_; }
    void setAlignment(TAlignment value);
    bool checked() const { return checked_; }
    virtual void setChecked(bool value) = 0;
    std::int8_t tab() const { return tab_; }
    void setTab(std::int8_t value);
    // A caption change shows at once.
    void setCaption(const std::string& value);

    const TBitmap& glyph() const { return strip_; }
    // Null reloads the widget's own strip. The strip must hold four frames side by side.
    void setGlyph(const TBitmap* strip);

    bool mouseOver() const { return mouseOver_; }
    bool mousePressed() const { return mousePressed_; }
    // Which of the strip's four frames the state shows.
    virtual int glyphFrame() const = 0;

    void paint(TCanvas& canvas) override;
    // Draws the box alone, on the widget as shown: check, state and hover changes leave the
    // caption and the focus rectangle as they are.
    void PaintGlyph();

    void mouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseMove(TShiftState shift, int x, int y) override;
    void mouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void mouseEnter() override;
    void mouseLeave() override;
    void keyUp(int& key, TShiftState shift) override;
    bool dialogChar(char key) override;

protected:
    void doEnter() override;
    void doExit() override;
    bool checked_ = false;

private:
    // The frames of the strip, transparent in their bottom-left colour, made once per strip.
    const QImage& frameImage(int frame);
    void drawBox(TCanvas& canvas);
    int boxLeft() const;

    std::string_view stripResource_;
    TBitmap strip_;
    std::array<QImage, 4> frames_;
    bool framesMade_ = false;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    std::int8_t tab_ = 2;
    bool mouseOver_ = false;
    bool mousePressed_ = false;
    bool hasFocus_ = false;
};

}  // namespace trovelin
