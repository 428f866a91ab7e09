// Input routing within a tree of controls: the pointer to the topmost control under it with
// enter and leave, capture while a button is held, keyboard focus with Tab order, keys for the
// focused control and accelerators.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ControlInput.h"
#include "framework/Keys.h"
#include "framework/WinControl.h"

namespace trovelin {
namespace {

std::vector<std::string> journal;

// Writes every event it gets into the journal, prefixed with its name.
template <class Base> class Probe : public Base {
public:
    Probe(TWinControl* parent, std::string name, TRect bounds) : Base(nullptr), name_(std::move(name))
    {
        this->setParent(parent);
        this->setLeft(bounds.left);
        this->setTop(bounds.top);
        this->setWidth(bounds.width());
        this->setHeight(bounds.height());
    }
    void mouseDown(TMouseButton, TShiftState, int x, int y) override { log("down", x, y); }
    void mouseMove(TShiftState, int x, int y) override { log("move", x, y); }
    void mouseUp(TMouseButton, TShiftState, int x, int y) override { log("up", x, y); }
    void mouseEnter() override { journal.push_back(name_ + " enter"); }
    void mouseLeave() override { journal.push_back(name_ + " leave"); }

private:
    void log(const char* event, int x, int y)
    {
        journal.push_back(name_ + " " + event + " " + std::to_string(x) + "," + std::to_string(y));
    }
    std::string name_;
};

class KeyProbe : public Probe<TWinControl> {
public:
    KeyProbe(TWinControl* parent, std::string name, TRect bounds, char accelerator = 0)
        : Probe(parent, name, bounds), name_(std::move(name)), accelerator_(accelerator)
    {
        setTabStop(true);
    }
    void keyDown(int& key, TShiftState) override { journal.push_back(name_ + " key " + std::to_string(key)); }
    void keyPress(char& key) override
    {
        journal.push_back(name_ + " char " + key);
        if (key == 'x') key = 0;  // uses x itself
    }
    bool dialogChar(char key) override
    {
        if (key != accelerator_) return false;
        journal.push_back(name_ + " accelerator");
        return true;
    }

protected:
    void doEnter() override { journal.push_back(name_ + " focus"); }
    void doExit() override { journal.push_back(name_ + " blur"); }

private:
    std::string name_;
    char accelerator_;
};

class ControlInputTest : public ::testing::Test {
protected:
    void SetUp() override { journal.clear(); }
};

TEST_F(ControlInputTest, ThePointerGoesToTheTopmostControlWithEnterAndLeave)
{
    Probe<TWinControl> form(nullptr, "form", {0, 0, 100, 100});
    Probe<TGraphicControl> below(&form, "below", {10, 10, 40, 40});
    Probe<TGraphicControl> above(&form, "above", {30, 30, 60, 60});
    Probe<TGraphicControl> hidden(&form, "hidden", {0, 0, 100, 100});
    hidden.setVisible(false);
    ControlInput input(form);

    input.mouseMove(0, {15, 15});
    input.mouseMove(0, {35, 35});  // both cover it; the later one is on top
    input.mouseMove(0, {80, 80});
    input.mouseExit();
    EXPECT_EQ(journal, (std::vector<std::string>{"below enter", "below move 5,5", "below leave", "above enter",
                                                 "above move 5,5", "above leave", "form enter", "form move 80,80",
                                                 "form leave"}));
}

TEST_F(ControlInputTest, AHeldButtonKeepsThePointerOnThePressedControl)
{
    Probe<TWinControl> form(nullptr, "form", {0, 0, 100, 100});
    Probe<TGraphicControl> knob(&form, "knob", {10, 10, 20, 20});
    ControlInput input(form);

    input.mouseDown(TMouseButton::mbLeft, ssLeft, {12, 12});
    journal.clear();
    input.mouseMove(ssLeft, {90, -5});
    input.mouseUp(TMouseButton::mbLeft, 0, {90, 50});
    EXPECT_EQ(journal, (std::vector<std::string>{"knob move 80,-15", "knob up 80,40", "knob leave", "form enter"}));

    // A disabled control gets enter and leave but no buttons or moves.
    knob.setEnabled(false);
    journal.clear();
    input.mouseDown(TMouseButton::mbLeft, ssLeft, {12, 12});
    input.mouseMove(ssLeft, {13, 13});
    input.mouseUp(TMouseButton::mbLeft, 0, {60, 60});
    EXPECT_EQ(journal, (std::vector<std::string>{"form leave", "knob enter", "knob leave", "form enter"}));
}

TEST_F(ControlInputTest, TabMovesTheFocusInTabOrderAndKeysGoToTheFocusedControl)
{
    KeyProbe form(nullptr, "form", {0, 0, 100, 100});
    form.setTabStop(false);
    KeyProbe second(&form, "second", {0, 0, 10, 10});
    KeyProbe first(&form, "first", {0, 20, 10, 30}, 'f');
    KeyProbe unordered(&form, "unordered", {0, 40, 10, 50});
    KeyProbe disabled(&form, "disabled", {0, 60, 10, 70});
    second.setTabOrder(1);
    first.setTabOrder(0);
    disabled.setEnabled(false);
    ControlInput input(form);

    input.keyDown(VK_TAB, 0);
    input.keyDown(VK_TAB, 0);
    input.keyDown(VK_TAB, 0);
    input.keyDown(VK_TAB, ssShift);
    EXPECT_EQ(journal, (std::vector<std::string>{"first focus", "first blur", "second focus", "second blur",
                                                 "unordered focus", "unordered blur", "second focus"}));
    EXPECT_TRUE(second.focused());

    journal.clear();
    input.keyDown(VK_SPACE, 0);
    input.keyPress('x', false);  // used by the focused control
    input.keyPress('f', false);  // not used: the accelerator of "first"
    input.keyPress('f', true);   // with Alt straight to the accelerators
    input.keyPress('q', false);  // nobody's
    EXPECT_EQ(journal, (std::vector<std::string>{"second key 32", "second char x", "second char f",
                                                 "first accelerator", "first accelerator", "second char q"}));
}

TEST_F(ControlInputTest, AControlThatIsDisabledOrHiddenPassesTheFocusOnAndTakesNoKeys)
{
    KeyProbe form(nullptr, "form", {0, 0, 100, 100});
    form.setTabStop(false);
    KeyProbe first(&form, "first", {0, 0, 10, 10});
    KeyProbe group(&form, "group", {0, 20, 50, 50});
    group.setTabStop(false);
    KeyProbe inner(&group, "inner", {0, 0, 10, 10});
    KeyProbe last(&form, "last", {0, 60, 10, 70});
    ControlInput input(form);

    first.setFocus();
    first.setEnabled(false);  // on as Tab would go: into the group
    group.setEnabled(false);  // and out of it again
    input.keyDown(VK_SPACE, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"first focus", "first blur", "inner focus", "inner blur",
                                                 "last focus", "last key 32"}));

    // With no other stop left the focus goes to none, and keys to nobody.
    journal.clear();
    last.setVisible(false);
    input.keyDown(VK_SPACE, 0);
    input.keyPress('x', false);
    EXPECT_EQ(form.focusedControl(), nullptr);
    EXPECT_EQ(journal, (std::vector<std::string>{"last blur"}));
}

TEST_F(ControlInputTest, ADestroyedControlGivesUpFocusHoverAndCapture)
{
    KeyProbe form(nullptr, "form", {0, 0, 100, 100});
    auto* child = new KeyProbe(&form, "child", {0, 0, 50, 50});
    ControlInput input(form);
    child->setFocus();
    input.mouseDown(TMouseButton::mbLeft, ssLeft, {5, 5});
    delete child;
    EXPECT_EQ(form.focusedControl(), nullptr);
    journal.clear();
    input.mouseUp(TMouseButton::mbLeft, 0, {5, 5});
    input.keyDown(VK_SPACE, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"form enter"}));
}

TEST(Keys, TheAcceleratorIsTheCharacterAfterASingleAmpersand)
{
    EXPECT_TRUE(isAccel('s', "&Save"));
    EXPECT_TRUE(isAccel('A', "Save &as"));
    EXPECT_FALSE(isAccel('s', "Save"));
    EXPECT_FALSE(isAccel('b', "R&&b"));
    EXPECT_TRUE(isAccel('b', "R&&&b"));
    EXPECT_FALSE(isAccel('x', "trailing&"));
}

}  // namespace
}  // namespace trovelin
