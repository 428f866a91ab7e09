// Controls: parents, child order, references, and the values a control follows from its parent.

#include <gtest/gtest.h>

#include "framework/GroupBox.h"
#include "framework/Label.h"
#include "framework/Menus.h"
#include "streaming/Errors.h"

namespace trovelin {
namespace {

TEST(Control, CaptionFollowsTheNameWhileTheyAreEqual)
{
    TLabel label(nullptr);
    label.setName("Label1");
    EXPECT_EQ(label.caption(), "Label1");
    label.setName("Label2");
    EXPECT_EQ(label.caption(), "Label2");
    label.setCaption("Title");
    label.setName("Label3");
    EXPECT_EQ(label.caption(), "Title");
}

TEST(Control, FollowsTheParentsValuesUntilGivenItsOwn)
{
    TGroupBox host(nullptr);
    host.setColor(clRed);
    host.font().setHeight(-20);
    host.setShowHint(true);
    host.setBiDiMode(TBiDiMode::bdRightToLeft);
    host.setCtl3D(false);

    TGroupBox box(nullptr);
    TLabel label(nullptr);
    box.setParent(&host);
    label.setParent(&box);
    EXPECT_EQ(label.color(), clRed);
    EXPECT_EQ(label.font().height(), -20);
    EXPECT_TRUE(label.showHint());
    EXPECT_EQ(label.biDiMode(), TBiDiMode::bdRightToLeft);
    EXPECT_FALSE(box.ctl3D());

    // Changes pass down through a following parent.
    host.setColor(clBlue);
    host.font().setName("Arial");
    EXPECT_EQ(label.color(), clBlue);
    EXPECT_EQ(label.font().name(), "Arial");
    EXPECT_TRUE(label.parentFont());

    // A value of its own ends the following, and ParentX = true takes the parent's again.
    label.setColor(clLime);
    label.font().setHeight(-9);
    EXPECT_FALSE(label.parentColor());
    EXPECT_FALSE(label.parentFont());
    host.setColor(clYellow);
    host.font().setHeight(-30);
    EXPECT_EQ(label.color(), clLime);
    EXPECT_EQ(label.font().height(), -9);
    label.setParentColor(true);
    label.setParentFont(true);
    EXPECT_EQ(label.color(), clYellow);
    EXPECT_EQ(label.font().height(), -30);
}

TEST(Control, ParentsForgetDestroyedChildrenAndChildrenTheirParent)
{
    TGroupBox host(nullptr);
    auto label = std::make_unique<TLabel>(nullptr);
    label->setParent(&host);
    EXPECT_EQ(host.controls().size(), 1u);
    label.reset();
    EXPECT_TRUE(host.controls().empty());

    auto box = std::make_unique<TGroupBox>(nullptr);
    TLabel orphan(nullptr);
    orphan.setParent(box.get());
    box.reset();
    EXPECT_EQ(orphan.parent(), nullptr);
}

TEST(Control, ChildOrderMovesAControlAmongItsSiblings)
{
    TGroupBox host(nullptr);
    TLabel a(nullptr), b(nullptr), c(nullptr);
    for (TLabel* label : {&a, &b, &c}) label->setParent(&host);
    host.setChildOrder(&c, 0);
    EXPECT_EQ(host.controls(), (std::vector<TControl*>{&c, &a, &b}));
    host.setChildOrder(&c, 99);  // past the end: last
    EXPECT_EQ(host.controls(), (std::vector<TControl*>{&a, &b, &c}));
}

TEST(Control, ReferencesAreClearedWhenTheReferencedComponentGoes)
{
    TLabel label(nullptr);
    auto menu = std::make_unique<TPopupMenu>(nullptr);
    auto focus = std::make_unique<TGroupBox>(nullptr);
    label.setPopupMenu(menu.get());
    label.setFocusControl(focus.get());
    menu.reset();
    focus.reset();
    EXPECT_EQ(label.popupMenu(), nullptr);
    EXPECT_EQ(label.focusControl(), nullptr);
}

TEST(Font, SizeAndHeightConvertAtNinetySixPixelsPerInch)
{
    TFont font;
    font.setHeight(-11);
    EXPECT_EQ(font.size(), 8);
    font.setSize(12);
    EXPECT_EQ(font.height(), -16);
}

}  // namespace
}  // namespace trovelin
