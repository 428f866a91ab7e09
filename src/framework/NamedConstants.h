#pragma once
// Colour, cursor and character-set values, and the tables of names that colour, cursor
// and character-set properties accept in a record.

#include <cstdint>

#include "streaming/TypeInfo.h"

namespace trovelin {

// A colour with high byte 0 holds red, green, blue from the low byte up; 0x80000000 + n
// names system colour n.
using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clMaroon = 0x00000080;
inline constexpr TColor clGreen = 0x00008000;
inline constexpr TColor clOlive = 0x00008080;
inline constexpr TColor clNavy = 0x00800000;
inline constexpr TColor clPurple = 0x00800080;
inline constexpr TColor clTeal = 0x00808000;
inline constexpr TColor clGray = 0x00808080;
inline constexpr TColor clSilver = 0x00C0C0C0;
inline constexpr TColor clRed = 0x000000FF;
inline constexpr TColor clLime = 0x0000FF00;
inline constexpr TColor clYellow = 0x0000FFFF;
inline constexpr TColor clBlue = 0x00FF0000;
inline constexpr TColor clFuchsia = 0x00FF00FF;
inline constexpr TColor clAqua = 0x00FFFF00;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
// Stands for "the default of whoever draws with it" and has no colour of its own.
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor systemColor(int index) { return static_cast<TColor>(0x80000000u + static_cast<unsigned>(index)); }
inline constexpr TColor clScrollBar = systemColor(0x00);
inline constexpr TColor clBackground = systemColor(0x01);
inline constexpr TColor clActiveCaption = systemColor(0x02);
inline constexpr TColor clInactiveCaption = systemColor(0x03);
inline constexpr TColor clMenu = systemColor(0x04);
inline constexpr TColor clWindow = systemColor(0x05);
inline constexpr TColor clWindowFrame = systemColor(0x06);
inline constexpr TColor clMenuText = systemColor(0x07);
inline constexpr TColor clWindowText = systemColor(0x08);
inline constexpr TColor clCaptionText = systemColor(0x09);
inline constexpr TColor clActiveBorder = systemColor(0x0A);
inline constexpr TColor clInactiveBorder = systemColor(0x0B);
inline constexpr TColor clAppWorkSpace = systemColor(0x0C);
inline constexpr TColor clHighlight = systemColor(0x0D);
inline constexpr TColor clHighlightText = systemColor(0x0E);
inline constexpr TColor clBtnFace = systemColor(0x0F);
inline constexpr TColor clBtnShadow = systemColor(0x10);
inline constexpr TColor clGrayText = systemColor(0x11);
inline constexpr TColor clBtnText = systemColor(0x12);
inline constexpr TColor clInactiveCaptionText = systemColor(0x13);
inline constexpr TColor clBtnHighlight = systemColor(0x14);
inline constexpr TColor cl3DDkShadow = systemColor(0x15);
inline constexpr TColor cl3DLight = systemColor(0x16);
inline constexpr TColor clInfoText = systemColor(0x17);
inline constexpr TColor clInfoBk = systemColor(0x18);

using TCursor = std::int32_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crDrag = -12;

using TFontCharset = std::int32_t;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;

const ConstantTable& colorConstants();    // 42 names
const ConstantTable& cursorConstants();   // 22 names
const ConstantTable& charsetConstants();  // 18 names

}  // namespace trovelin
