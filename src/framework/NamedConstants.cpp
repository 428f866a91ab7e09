#include "framework/NamedConstants.h"

namespace trovelin {

const ConstantTable& colorConstants()
{
    static const ConstantTable table{
        {"clBlack", clBlack},
        {"clMaroon", clMaroon},
        {"clGreen", clGreen},
        {"clOlive", clOlive},
        {"clNavy", clNavy},
        {"clPurple", clPurple},
        {"clTeal", clTeal},
        {"clGray", clGray},
        {"clSilver", clSilver},
        {"clRed", clRed},
        {"clLime", clLime},
        {"clYellow", clYellow},
        {"clBlue", clBlue},
        {"clFuchsia", clFuchsia},
        {"clAqua", clAqua},
        {"clWhite", clWhite},
        {"clNone", clNone},
        {"clScrollBar", clScrollBar},
        {"clBackground", clBackground},
        {"clActiveCaption", clActiveCaption},
        {"clInactiveCaption", clInactiveCaption},
        {"clMenu", clMenu},
        {"clWindow", clWindow},
        {"clWindowFrame", clWindowFrame},
        {"clMenuText", clMenuText},
        {"clWindowText", clWindowText},
        {"clCaptionText", clCaptionText},
        {"clActiveBorder", clActiveBorder},
        {"clInactiveBorder", clInactiveBorder},
        {"clAppWorkSpace", clAppWorkSpace},
        {"clHighlight", clHighlight},
        {"clHighlightText", clHighlightText},
        {"clBtnFace", clBtnFace},
        {"clBtnShadow", clBtnShadow},
        {"clGrayText", clGrayText},
        {"clBtnText", clBtnText},
        {"clInactiveCaptionText", clInactiveCaptionText},
        {"clBtnHighlight", clBtnHighlight},
        {"cl3DDkShadow", cl3DDkShadow},
        {"cl3DLight", cl3DLight},
        {"clInfoText", clInfoText},
        {"clInfoBk", clInfoBk},
    };
    return table;
}

const ConstantTable& cursorConstants()
{
    static const ConstantTable table{
        {"crDefault", 0},      {"crArrow", -2},      {"crCross", -3},    {"crIBeam", -4},
        {"crSizeNESW", -6},    {"crSizeNS", -7},     {"crSizeNWSE", -8}, {"crSizeWE", -9},
        {"crUpArrow", -10},    {"crHourGlass", -11}, {"crDrag", -12},    {"crNoDrop", -13},
        {"crHSplit", -14},     {"crVSplit", -15},    {"crMultiDrag", -16}, {"crSQLWait", -17},
        {"crNo", -18},         {"crAppStart", -19},  {"crHelp", -20},    {"crHandPoint", -21},
        {"crSizeAll", -22},    {"crSize", -22},
    };
    return table;
}

const ConstantTable& charsetConstants()
{
    static const ConstantTable table{
        {"ANSI_CHARSET", 0},          {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
        {"MAC_CHARSET", 77},          {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
        {"JOHAB_CHARSET", 130},       {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
        {"GREEK_CHARSET", 161},       {"TURKISH_CHARSET", 162},  {"HEBREW_CHARSET", 177},
        {"ARABIC_CHARSET", 178},      {"BALTIC_CHARSET", 186},   {"RUSSIAN_CHARSET", 204},
        {"THAI_CHARSET", 222},        {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
    };
    return table;
}

}  // namespace trovelin
