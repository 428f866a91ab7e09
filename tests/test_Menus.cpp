// Menu items: the one class a record's child entries can create without the root's help.

#include <gtest/gtest.h>

#include "framework/Application.h"
#include "framework/GroupBox.h"
#include "framework/Menus.h"
#include "streaming/Stream.h"
#include "support/RecordWriter.h"

namespace trovelin {
namespace {

using testing::RecordWriter;

TEST(Menus, NestedChildEntriesBuildAnItemTree)
{
    RecordWriter w;
    w.beginRecord("TGroupBox", "Box").end();
    w.beginChild("TMenuItem", "File").end();
    w.beginChild("TMenuItem", "Open").end().end();
    w.prefix(0x02, 0).names("TMenuItem", "New").end().end();
    w.end();
    w.end();
    auto bytes = w.bytes();
    ByteViewStream stream(bytes);
    TApplication application;
    TGroupBox box(nullptr);
    readComponentRecord(stream, box, application.readerEnvironment());

    auto* file = dynamic_cast<TMenuItem*>(box.findComponent("File"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->parentItem(), nullptr);  // a group box holds no menu items
    ASSERT_EQ(file->items().size(), 2u);
    EXPECT_EQ(file->items()[0]->name(), "New");  // moved to its stored place
    EXPECT_EQ(file->items()[1]->name(), "Open");
}

TEST(Menus, AnItemNeverHoldsItsOwnAncestor)
{
    TMenuItem top(nullptr), middle(nullptr), bottom(nullptr);
    top.add(&middle);
    middle.add(&bottom);
    bottom.add(&top);
    middle.add(&middle);
    EXPECT_TRUE(bottom.items().empty());
    EXPECT_EQ(top.parentItem(), nullptr);
    EXPECT_EQ(middle.items().size(), 1u);
}

TEST(Menus, ADestroyedItemLeavesItsParentAndFreesItsEntries)
{
    TMenuItem top(nullptr);
    auto child = std::make_unique<TMenuItem>(nullptr);
    TMenuItem grandchild(nullptr);
    top.add(child.get());
    child->add(&grandchild);
    child.reset();
    EXPECT_TRUE(top.items().empty());
    EXPECT_EQ(grandchild.parentItem(), nullptr);
}

}  // namespace
}  // namespace trovelin
