// Components: ownership and names.

#include <gtest/gtest.h>

#include "framework/Label.h"
#include "streaming/Errors.h"

namespace trovelin {
namespace {

TEST(Component, OwnerFreesWhatItOwnsAndForgetsWhatGoesFirst)
{
    auto owner = std::make_unique<Component>(nullptr);
    auto* kept = new TLabel(owner.get());
    delete new TLabel(owner.get());
    EXPECT_EQ(owner->components(), std::vector<Component*>{kept});
    owner.reset();  // frees `kept`; the sanitizers catch a double free or a leak
}

TEST(Component, NamesAreValidatedAgainstTheOwner)
{
    Component owner(nullptr);
    TLabel first(&owner), second(&owner);
    first.setName("Label1");
    EXPECT_THROW(second.setName("LABEL1"), EComponentError);
    first.setName("label1");  // renaming itself in another letter case is no duplicate
    EXPECT_EQ(first.name(), "label1");
    second.setName("_x9");
    EXPECT_THROW(second.setName("9x"), EComponentError);
    EXPECT_EQ(owner.findComponent("LABEL1"), &first);
}

}  // namespace
}  // namespace trovelin
