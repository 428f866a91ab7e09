// How the panel's controls offer themselves to the keyboard and to screen readers, short of any
// window: the order Tab takes, who is left out, the names read, and keys that work a value as a
// drag would, change event and limits included.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/GroupBox.h"
#include "framework/Keys.h"
#include "framework/SpeedButton.h"
#include "gallery/PanelControlAccess.h"
#include "panelctl/Fieldxym.h"
#include "panelctl/Slider.h"

namespace trovelin {
namespace {

template <class T> T& placed(TWinControl& parent, std::vector<std::unique_ptr<TControl>>& keep, const std::string& name)
{
    auto control = std::make_unique<T>(nullptr);
    T& made = *control;
    made.setName(name);
    made.setParent(&parent);
    made.setWidth(40);
    made.setHeight(40);
    keep.push_back(std::move(control));
    return made;
}

std::vector<std::string> stopNames(TControl& root)
{
    std::vector<std::string> names;
    for (const ControlStop& stop : controlStops(root, &describePanelControl))
        names.push_back(stop.control->name() + (stop.value >= 0 ? "." + std::to_string(stop.value) : ""));
    return names;
}

TEST(ControlAccess, TabTakesWindowedControlsByTabOrderThenTheOthersAsTheyCameSkippingWhatCannotBeWorked)
{
    TGroupBox root(nullptr);
    root.setWidth(400);
    root.setHeight(300);
    std::vector<std::unique_ptr<TControl>> keep;
    placed<TSlider>(root, keep, "Fader");
    placed<TFieldXY>(root, keep, "Field");
    TGroupBox& second = placed<TGroupBox>(root, keep, "Second");
    second.setTabStop(true);
    second.setTabOrder(1);
    TGroupBox& first = placed<TGroupBox>(root, keep, "First");
    first.setTabStop(true);
    first.setTabOrder(0);
    placed<TSpeedButton>(first, keep, "Inside");
    placed<TGroupBox>(root, keep, "NoTabStop");
    placed<TSlider>(root, keep, "Hidden").setVisible(false);
    placed<TSlider>(root, keep, "Disabled").setEnabled(false);
    EXPECT_EQ(stopNames(root),
              (std::vector<std::string>{"First", "Inside", "Second", "Fader", "Field.0", "Field.1"}));
    // Each stop is one on its own, and nothing else is.
    for (const ControlStop& stop : controlStops(root, &describePanelControl))
        EXPECT_TRUE(isControlStop(root, stop, &describePanelControl)) << stop.control->name();
    for (const char* name : {"Field", "NoTabStop", "Hidden", "Disabled"}) {
        TControl* control = nullptr;
        for (const auto& kept : keep)
            if (kept->name() == name) control = kept.get();
        EXPECT_FALSE(isControlStop(root, {control, -1}, &describePanelControl)) << name;
    }
}

TEST(ControlAccess, NamesComeFromTheCaptionThenTheHintThenTheNameThenTheKind)
{
    TGroupBox root(nullptr);
    std::vector<std::unique_ptr<TControl>> keep;
    TSlider& fader = placed<TSlider>(root, keep, "Master");
    EXPECT_EQ(describePanelControl(fader).name, "Master");
    fader.setHint("All lamps");
    EXPECT_EQ(describePanelControl(fader).name, "All lamps");
    TSlider& unnamed = placed<TSlider>(root, keep, "");
    EXPECT_EQ(describePanelControl(unnamed).name, "Fader");

    // A button's caption, which shows its name until it is given one of its own.
    TSpeedButton& button = placed<TSpeedButton>(root, keep, "Blackout");
    button.setHint("All lamps off");
    EXPECT_EQ(describePanelControl(button).name, "Blackout");
    button.setCaption("&Black && out");
    EXPECT_EQ(describePanelControl(button).name, "Black & out");
    EXPECT_EQ(describePanelControl(button).role, ControlRole::PushButton);
    button.setGroupIndex(1);
    EXPECT_EQ(describePanelControl(button).role, ControlRole::ToggleButton);
}

TEST(ControlAccess, KeysStepPageAndJumpWithinTheRangeAndRaiseTheChangeOnlyWhenTheValueMoves)
{
    TGroupBox root(nullptr);
    std::vector<std::unique_ptr<TControl>> keep;
    TSlider& fader = placed<TSlider>(root, keep, "Fader");
    fader.setPosition(250);
    std::vector<int> changes;
    fader.onChangeHandler = [&](TControl&) { changes.push_back(fader.position()); };
    const ControlAccess access = describePanelControl(fader);
    ASSERT_EQ(access.role, ControlRole::Slider);
    for (int key : {VK_UP, VK_PRIOR, VK_UP, VK_DOWN, VK_NEXT, VK_HOME, VK_LEFT, VK_END})
        EXPECT_TRUE(operateStop(access, -1, key));
    EXPECT_EQ(changes, (std::vector<int>{251, 255, 254, 239, 0, 255}));
    EXPECT_FALSE(operateStop(access, -1, VK_SPACE));  // a fader is no button

    TFieldXY& field = placed<TFieldXY>(root, keep, "Field");
    const ControlAccess values = describePanelControl(field);
    ASSERT_EQ(values.values.size(), 2u);
    operateStop(values, 1, VK_END);
    EXPECT_EQ(field.getX(), 0);
    EXPECT_EQ(field.getY(), 255);
}

}  // namespace
}  // namespace trovelin
