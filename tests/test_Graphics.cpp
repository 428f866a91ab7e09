// Pen and brush: the properties records reach them by, and their change reports.

#include <gtest/gtest.h>

#include <string>

#include "framework/Graphics.h"
#include "streaming/ClassInfo.h"

namespace trovelin {
namespace {

struct PropertyCase {
    std::string name;
    std::string identifier;  // a constant or element name, or empty for the plain number
    std::int64_t number;
};

// Sets each property as the reader does, by name through the class's table, and reads it back.
template <class T> void checkProperties(T& object, const std::vector<PropertyCase>& cases)
{
    int changes = 0;
    object.setOnChange([&changes] { ++changes; });
    for (const PropertyCase& c : cases) {
        const PropertyInfo* info = object.classInfo().findProperty(c.name);
        ASSERT_NE(info, nullptr) << c.name;
        std::int64_t value = c.number;
        if (!c.identifier.empty()) {
            if (info->elements) value = info->elements->ordinalOf(c.identifier).value();
            else value = info->constants->valueOf(c.identifier).value();
        }
        info->set(object, value);
        EXPECT_EQ(std::get<std::int64_t>(info->get(object)), value) << c.name;
    }
    EXPECT_EQ(changes, static_cast<int>(cases.size()));
    const PropertyInfo* first = object.classInfo().findProperty(cases[0].name);
    first->set(object, first->get(object));
    EXPECT_EQ(changes, static_cast<int>(cases.size())) << "setting the same value reports no change";
}

TEST(Graphics, PenPropertiesReadByNameAndReportChanges)
{
    TPen pen;
    EXPECT_EQ(pen.color(), clBlack);
    EXPECT_EQ(pen.width(), 1);
    EXPECT_EQ(pen.style(), TPenStyle::psSolid);
    checkProperties(pen, {{"Color", "clBtnShadow", 0}, {"Width", "", 3}, {"Style", "psDashDotDot", 0},
                          {"Style", "psInsideFrame", 0}, {"Mode", "pmNotXor", 0}});
    EXPECT_EQ(pen.color(), clBtnShadow);
    EXPECT_EQ(pen.width(), 3);
    EXPECT_EQ(pen.style(), TPenStyle::psInsideFrame);
    EXPECT_EQ(pen.mode(), TPenMode::pmNotXor);
}

TEST(Graphics, BrushPropertiesReadByNameAndReportChanges)
{
    TBrush brush;
    EXPECT_EQ(brush.color(), clWhite);
    EXPECT_EQ(brush.style(), TBrushStyle::bsSolid);
    checkProperties(brush, {{"Color", "clInfoBk", 0}, {"Style", "bsDiagCross", 0}, {"Style", "bsClear", 0}});
    EXPECT_EQ(brush.color(), clInfoBk);
    EXPECT_EQ(brush.style(), TBrushStyle::bsClear);
}

TEST(Graphics, AssignCopiesEverythingWithOneChange)
{
    TPen source;
    source.setColor(clRed);
    source.setWidth(5);
    source.setStyle(TPenStyle::psDot);
    TPen pen;
    int changes = 0;
    pen.setOnChange([&changes] { ++changes; });
    pen.assign(source);
    pen.assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pen.color(), clRed);
    EXPECT_EQ(pen.width(), 5);
    EXPECT_EQ(pen.style(), TPenStyle::psDot);

    TBrush brushSource;
    brushSource.setStyle(TBrushStyle::bsClear);
    TBrush brush;
    brush.setOnChange([&changes] { ++changes; });
    brush.assign(brushSource);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(brush.style(), TBrushStyle::bsClear);
}

}  // namespace
}  // namespace trovelin
