#pragma once
// The font a control draws its text with, reached in records as "Font.Height" and the like.

#include <cstdint>
#include <functional>
#include <string>

#include "framework/NamedConstants.h"
#include "streaming/Persistent.h"

namespace trovelin {

enum class TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontStyle : std::uint32_t { fsBold = 1u << 0, fsItalic = 1u << 1, fsUnderline = 1u << 2, fsStrikeOut = 1u << 3 };

class TFont : public Persistent {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Copies every attribute of `other` and reports one change.
    void assign(const TFont& other);

    TFontCharset charset() const { return charset_; }
    void setCharset(TFontCharset charset) { change(charset_, charset); }
    TColor color() const { return color_; }
    void setColor(TColor color) { change(color_, color); }
    // Negative heights are character heights in pixels, positive ones cell heights.
    std::int32_t height() const { return height_; }
    void setHeight(std::int32_t height) { change(height_, height); }
    const std::string& name() const { return name_; }
    void setName(const std::string& name) { change(name_, name); }
    TFontPitch pitch() const { return pitch_; }
    void setPitch(TFontPitch pitch) { change(pitch_, pitch); }
    // Points at 96 pixels per inch, derived from the height.
    std::int32_t size() const;
    void setSize(std::int32_t points);
    std::uint32_t style() const { return style_; }
    void setStyle(std::uint32_t style) { change(style_, style & 0x0F); }

    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    template <class T> void change(T& field, const T& value)
    {
        if (field == value) return;
        field = value;
        if (onChange_) onChange_();
    }

    TFontCharset charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    std::int32_t height_ = -11;
    std::string name_ = "MS Sans Serif";
    TFontPitch pitch_ = TFontPitch::fpDefault;
    std::uint32_t style_ = 0;
    std::function<void()> onChange_;
};

}  // namespace trovelin
