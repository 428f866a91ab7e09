// Components: ownership and names; the ordered child lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "framework/Label.h"
#include "streaming/ChildList.h"
#include "streaming/Errors.h"
#include "streaming/TypeInfo.h"

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

// Creating, renaming and freeing in any mix, with names short and long in any letter case:
// a look-up finds what a scan of the owned components finds.
TEST(Component, NameLookUpsAgreeWithAScanThroughChurn)
{
    std::mt19937 random(11);
    Component owner(nullptr);
    std::vector<Component*> live;
    auto randomName = [&] {
        std::string name = (random() % 2 ? "n" : "A_longer_name_") + std::to_string(random() % 400);
        for (char& c : name)
            if (random() % 2) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return random() % 20 ? name : std::string();
    };
    auto scan = [&](std::string_view name) -> Component* {
        for (Component* component : owner.components())
            if (!name.empty() && sameText(component->name(), name)) return component;
        return nullptr;
    };
    for (int step = 0; step < 30000; ++step) {
        const std::string name = randomName();
        switch (random() % 8) {
        case 0:
        case 1: live.push_back(new Component(&owner)); break;
        case 2:
            if (!live.empty()) {
                auto at = live.begin() + static_cast<std::ptrdiff_t>(random() % live.size());
                delete *at;
                live.erase(at);
            }
            break;
        case 3:
        case 4:
            if (!live.empty()) {
                Component* renamed = live[random() % live.size()];
                Component* holder = scan(name);
                if (holder && holder != renamed)
                    EXPECT_THROW(renamed->setName(name), EComponentError);
                else
                    renamed->setName(name);
            }
            break;
        default: ASSERT_EQ(owner.findComponent(name), scan(name)) << "step " << step << ", " << name;
        }
    }
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
