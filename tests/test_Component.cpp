// Components: ownership and names; the ordered child lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "framework/Label.h"
#include "streaming/ChildList.h"
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

namespace trovelin {
namespace {

// Appending, removing and moving in any mix, against moving each item at once in a vector.
TEST(ChildList, SettlesToTheOrderOfImmediateMoves)
{
    std::mt19937 random(7);
    std::vector<int> pool(400);
    ChildList<int> list;
    std::vector<int*> expected;
    auto move = [&](int* item, int order) {
        auto found = std::find(expected.begin(), expected.end(), item);
        if (found == expected.end()) return;
        expected.erase(found);
        auto place = std::clamp<std::ptrdiff_t>(order, 0, static_cast<std::ptrdiff_t>(expected.size()));
        expected.insert(expected.begin() + place, item);
    };
    for (int step = 0; step < 3000; ++step) {
        int* item = &pool[random() % pool.size()];
        int order = static_cast<int>(random() % 40) - 5;
        switch (random() % 8) {
        case 0: list.remove(item), std::erase(expected, item); break;
        case 1: list.moveToPlace(item, order), move(item, order); break;
        case 2: ASSERT_EQ(list.items(), expected) << "step " << step; break;
        default:
            if (list.contains(item)) break;
            list.append(item), expected.push_back(item);
            if (random() % 2) list.moveToPlace(item, order), move(item, order);
        }
    }
    EXPECT_EQ(list.items(), expected);
}

}  // namespace
}  // namespace trovelin
