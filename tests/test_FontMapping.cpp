// Fonts: the original platform's faces on installed ones, heights, and the text encoding.

#include <gtest/gtest.h>

#include <string>

#include <QFontInfo>

#include "framework/FontMapping.h"
#include "framework/Windows1252.h"
#include "support/GuiApplication.h"

namespace trovelin {
namespace {

struct FaceCase {
    std::string name;
    QString installed;
};

TEST(FontMapping, OriginalFacesMapToInstalledFaces)
{
    testing::ensureGuiApplication();
    const FaceCase cases[] = {
        {"MS Sans Serif", "Liberation Sans"},
        {"Arial", "Liberation Sans"},
        {"Small Fonts", "DejaVu Sans Condensed"},
        {"SmallFonts", "DejaVu Sans Condensed"},
        {"Times New Roman", "Liberation Serif"},
        {"No Such Face", QFontInfo(QFont("sans-serif")).family()},
    };
    for (const FaceCase& c : cases) {
        TFont font;
        font.setName(c.name);
        EXPECT_EQ(QFontInfo(toQFont(font)).family(), c.installed) << c.name;
    }
}

TEST(FontMapping, HeightsAndStylesCarryOver)
{
    testing::ensureGuiApplication();
    TFont font;
    font.setHeight(-13);
    font.setStyle(fsBold | fsItalic);
    const QFont mapped = toQFont(font);
    EXPECT_EQ(mapped.pixelSize(), 13);
    EXPECT_TRUE(mapped.bold());
    EXPECT_TRUE(mapped.italic());
    EXPECT_FALSE(mapped.underline());
    EXPECT_EQ(mapped.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
    font.setHeight(0);
    EXPECT_EQ(toQFont(font).pixelSize(), 11);
    font.setHeight(-2000000000);
    EXPECT_EQ(toQFont(font).pixelSize(), maxFontPixels);
}

TEST(Windows1252, TheHighControlRangeHasItsWindowsMeaning)
{
    EXPECT_EQ(fromWindows1252("A\x80\x93\x9F\xE9\x81"), QString::fromUtf8("A\u20AC\u201C\u0178\u00E9\u0081"));
}

}  // namespace
}  // namespace trovelin
