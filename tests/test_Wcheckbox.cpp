// The skinned check box, radio button and radio group: the glyph strips against their pixel
// maps, frames by state, the three-state cycle, sibling unchecking, painting by pixels, records,
// the group's button layout and ItemIndex.

#include <gtest/gtest.h>

#include <array>
#include <string_view>

#include "framework/WinControl.h"
#include "skin/SelectionGlyphs.h"
#include "skin/Wcheckbox.h"
#include "skin/Wradiobutton.h"
#include "skin/Wradiogroup.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"
#include "support/RecordWriter.h"
#include "support/TestControlHost.h"

namespace trovelin {
namespace {

using testing::colorAt;

const std::array<std::string_view, 16> checkMap{
    "................................................................",
    "................................................................",
    "...ggggggggggg.....ggggggggggg.....ggggggggggg.....ggggggggggg..",
    "..ggdddddddddd....ggdddddddddd....ggdddddddddd....ggdddddddddd..",
    ".ggddwwwwwwwgd...ggddmmmmmmmgd...ggddbbbbbbbgd...ggddwwwwwwwgd..",
    ".gddwwwwwwwwgd...gddmmmmmmmmgd...gddbbbbbbgbgd...gddwwwwwwgwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbbbbbbgkbgd...gdwwwwwwgkwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbgbbbgkkbgd...gdwgwwwgkkwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbkgbgkksbgd...gdwkgwgkkswgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbkkgkksbbgd...gdwkkgkkswwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbbkkksbbbgd...gdwwkkkswwwgd..",
    ".gdwwwwwwwwggd...gdmmmmmmmmggd...gdbbbksbbbggd...gdwwwkswwwggd..",
    ".gdwwwwwwwggdd...gdmmmmmmmggdd...gdbbbbbbbggdd...gdwwwwwwwggdd..",
    ".ggggggggggdd....ggggggggggdd....ggggggggggdd....ggggggggggdd...",
    ".ddddddddddd.....ddddddddddd.....ddddddddddd.....ddddddddddd....",
    "................................................................",
};
const std::array<std::string_view, 16> radioMap{
    "................................................................",
    "................................................................",
    "....gggggggggg......gggggggggg......gggggggggg......gggggggggg..",
    "...gddddddddgg.....gddddddddgg.....gddddddddgg.....gddddddddgg..",
    "..gddwwwwwdddg....gddmmmmmdddg....gddbbbbbdddg....gddwwwwwdddg..",
    ".gddwwwwwwwgdd...gddmmmmmmmgdd...gddbbbbbbbgdd...gddwwwwwwwgdd..",
    ".gdswwwwwwwsgd...gdsmmmmmmmsgd...gdobbdkdbbogd...gdswwdkdwwsgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbbdkkkdbbgd...gdwwdkkkdwwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbbkkkkkbbgd...gdwwkkkkkwwgd..",
    ".gdwwwwwwwwwgd...gdmmmmmmmmmgd...gdbbdkkkdbbgd...gdwwdkkkdwwgd..",
    ".gdswwwwwwwsgd...gdsmmmmmmmsgd...gdobbdkdbbogd...gdswwdkdwwsgd..",
    ".ggdwwwwwwwggd...ggdmmmmmmmggd...ggdbbbbbbbggd...ggdwwwwwwwggd..",
    ".dgggwwwwwggd....dgggmmmmmggd....dgggbbbbbggd....dgggwwwwwggd...",
    ".ddggggggggd.....ddggggggggd.....ddggggggggd.....ddggggggggd....",
    ".gddddddddd......gddddddddd......gddddddddd......gddddddddd.....",
    "................................................................",
};

// The map's letter as a colour value (red in the low byte); '.' is the strip's own background.
std::uint32_t mapColour(char letter, std::uint32_t background)
{
    switch (letter) {
    case 'g': return 0x808080;
    case 'd': return 0x404040;
    case 'w': return 0xFFFFFF;
    case 'm': return 0xC0DCC0;
    case 'b': return 0xF0CAA6;
    case 'k': return 0x000000;
    case 's': return 0xC0C0C0;
    case 'o': return 0xC0A060;
    default: return background;
    }
}

TEST(SelectionGlyphs, BothStripsHoldExactlyTheirPixelMaps)
{
    struct Case {
        const char* resource;
        const std::array<std::string_view, 16>& map;
        std::uint32_t background;
    };
    for (const Case& c : {Case{"WCHECKBMP", checkMap, 0x008080}, Case{"wradiobmp", radioMap, 0x0000FF}}) {
        const TBitmap strip = selectionStripResource(c.resource);
        ASSERT_EQ(strip.width(), 64);
        ASSERT_EQ(strip.height(), 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(strip.image()->pixel(x, y), mapColour(c.map[y][x], c.background))
                    << c.resource << " at " << x << "," << y;
    }
    EXPECT_TRUE(selectionStripResource("WOTHERBMP").empty());
}

class SelectionWidgets : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }
};

TEST_F(SelectionWidgets, ACheckBoxWithAllowGrayedCyclesThroughGrayed)
{
    TWCheckBox box(nullptr);
    box.setAllowGrayed(true);
    std::vector<TCheckBoxState> seen;
    box.onClickHandler = [&](TControl&) { seen.push_back(box.state()); };
    for (int i = 0; i < 3; ++i) box.click();
    EXPECT_EQ(seen, (std::vector{TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked, TCheckBoxState::cbUnchecked}));
    box.click();
    EXPECT_FALSE(box.checked());
    box.click();
    EXPECT_TRUE(box.checked());

    // Without AllowGrayed the grayed state is refused, and dropping AllowGrayed unchecks.
    TWCheckBox plain(nullptr);
    plain.setState(TCheckBoxState::cbGrayed);
    EXPECT_EQ(plain.state(), TCheckBoxState::cbUnchecked);
    box.setState(TCheckBoxState::cbGrayed);
    box.setAllowGrayed(false);
    EXPECT_EQ(box.state(), TCheckBoxState::cbUnchecked);
}

TEST_F(SelectionWidgets, FramesFollowTheStateAndDisabledWidgetsKeepTheirMark)
{
    TWCheckBox box(nullptr);
    TWRadioButton radio(nullptr);
    EXPECT_EQ(box.glyphFrame(), 0);
    box.setChecked(true);
    radio.setChecked(true);
    EXPECT_EQ(box.glyphFrame(), 3);
    box.mouseEnter();
    EXPECT_EQ(box.glyphFrame(), 2);
    box.setEnabled(false);
    radio.setEnabled(false);
    EXPECT_EQ(box.glyphFrame(), 2);  // disabled and checked: the light blue frame
    EXPECT_EQ(radio.glyphFrame(), 1);
    box.setChecked(false);
    radio.setChecked(false);
    EXPECT_TRUE(box.checked());
    EXPECT_TRUE(radio.checked());
    box.setState(TCheckBoxState::cbUnchecked);
    EXPECT_TRUE(box.checked());
}

class DerivedRadioButton : public TWRadioButton {
public:
    using TWRadioButton::TWRadioButton;
    static const ClassInfo& staticClassInfo()
    {
        static const ClassInfo info{"TDerivedRadioButton", &TWRadioButton::staticClassInfo(), {}};
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

TEST_F(SelectionWidgets, CheckingARadioButtonUnchecksOnlyEnabledRadioButtonSiblings)
{
    TWinControl form(nullptr);
    TWRadioButton first(nullptr), second(nullptr), disabled(nullptr);
    DerivedRadioButton derived(nullptr);
    TWCheckBox box(nullptr);
    for (TControl* c : std::initializer_list<TControl*>{&first, &second, &disabled, &derived, &box}) c->setParent(&form);
    second.setChecked(true);
    disabled.setChecked(true);
    disabled.setEnabled(false);
    derived.setChecked(true);
    box.setChecked(true);

    first.click();
    EXPECT_TRUE(first.checked());
    EXPECT_FALSE(second.checked());
    EXPECT_TRUE(disabled.checked());
    EXPECT_TRUE(derived.checked());
    EXPECT_TRUE(box.checked());
}

TEST_F(SelectionWidgets, PaintShowsTheBoxOverTheParentCaptionAndFocusRectangle)
{
    TWinControl form(nullptr);
    form.setColor(0x00FF00);
    TWCheckBox box(nullptr);
    box.setParent(&form);
    box.setChecked(true);
    testing::TestControlHost host(box);
    const std::uint32_t background = 0x123456;
    const QImage& checked = host.paint(qRgb(0x56, 0x34, 0x12));
    EXPECT_EQ(colorAt(checked, 0, 0), background);      // the olive border is see-through
    EXPECT_EQ(colorAt(checked, 5, 5), 0xFFFFFFu);       // frame 3: white box
    EXPECT_EQ(colorAt(checked, 4, 8), 0x000000u);       // with its black check mark
    EXPECT_EQ(colorAt(checked, 3, 2), 0x808080u);

    // Hovering redraws the box alone, in the light blue frame.
    box.mouseEnter();
    EXPECT_EQ(colorAt(host.surface(), 5, 5), 0xF0CAA6u);

    box.setAlignment(TAlignment::taRightJustify);
    const QImage& right = host.paint(qRgb(0x56, 0x34, 0x12));
    EXPECT_EQ(colorAt(right, 97 - 16 + 3, 2), 0x808080u);
    EXPECT_EQ(colorAt(right, 3, 2), background);

    // Centred: nothing but the focus rectangle, dotted.
    box.setAlignment(TAlignment::taCenter);
    box.setFocus();
    const QImage& centred = host.paint(qRgb(0x56, 0x34, 0x12));
    EXPECT_EQ(colorAt(centred, 5, 5), background);
    int dots = 0;
    for (int x = 0; x < 96; ++x) dots += colorAt(centred, x, 0) != background;
    EXPECT_GT(dots, 10);
    EXPECT_LT(dots, 86);
}

TEST_F(SelectionWidgets, CaptionsDrawnEngravedWhileDisabled)
{
    TWinControl form(nullptr);
    TWRadioButton radio(nullptr);
    radio.setParent(&form);
    radio.setCaption("Mmmm");
    testing::TestControlHost host(radio);
    const QImage enabled = host.paint(qRgb(255, 255, 255));
    radio.setEnabled(false);
    const QImage disabled = host.paint(qRgb(255, 255, 255));
    bool shadow = false, enabledText = false;
    for (int y = 0; y < 17; ++y)
        for (int x = 18; x < 60; ++x) {
            shadow = shadow || colorAt(disabled, x, y) == 0x808080;  // clBtnShadow on this platform
            enabledText = enabledText || colorAt(enabled, x, y) == 0x000000;
        }
    EXPECT_TRUE(shadow);
    EXPECT_TRUE(enabledText);
}

TEST_F(SelectionWidgets, ARadioGroupPlacesOneButtonPerItem)
{
    TWinControl form(nullptr);
    TWRadioGroup group(nullptr);
    group.setParent(&form);
    group.setItems({"Red", "Green", "Blue"});
    ASSERT_EQ(group.buttons().size(), 3u);
    std::vector<int> tops;
    for (const TWRadioButton* button : group.buttons()) {
        tops.push_back(button->top());
        EXPECT_EQ(button->left(), 12);
        EXPECT_EQ(button->width(), 184);
    }
    EXPECT_EQ(tops, (std::vector{16, 36, 56}));
    EXPECT_EQ(group.buttons()[1]->caption(), "Green");

    // Tighter without a frame, after the next paint notices the change.
    group.setBevelWidth(-2);
    group.setHeight(81);
    testing::TestControlHost host(group);
    host.paint();
    tops.clear();
    for (const TWRadioButton* button : group.buttons()) tops.push_back(button->top());
    EXPECT_EQ(tops, (std::vector{2, 27, 52}));

    // The same number of items keeps the buttons and shows the new captions.
    const TWRadioButton* kept = group.buttons()[0];
    group.setItems({"Cyan", "Magenta", "Yellow"});
    EXPECT_EQ(group.buttons()[0], kept);
    EXPECT_EQ(kept->caption(), "Cyan");

    // Another number of lines asks for a paint of the whole group, without which the new
    // buttons would not show.
    for (const std::vector<std::string>& lines :
         {std::vector<std::string>{"Cyan", "Magenta"}, std::vector<std::string>{}}) {
        const int asked = host.invalidated;
        group.setItems(lines);
        EXPECT_GT(host.invalidated, asked);
    }
}

TEST_F(SelectionWidgets, ARadioGroupsItemIndexIsLimitedKeptAndFollowsClicks)
{
    TWRadioGroup group(nullptr);
    group.setItemIndex(5);  // kept until the buttons exist
    EXPECT_EQ(group.itemIndex(), 5);
    group.setItems({"a", "b", "c"});
    EXPECT_EQ(group.itemIndex(), 2);
    EXPECT_TRUE(group.buttons()[2]->checked());
    group.setItemIndex(-1);
    EXPECT_FALSE(group.buttons()[2]->checked());

    int seenIndex = -2;
    group.onClickHandler = [&](TControl&) { seenIndex = group.itemIndex(); };
    group.buttons()[1]->click();
    EXPECT_EQ(seenIndex, 1);
    group.setItems({});
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_TRUE(group.buttons().empty());
}

// A check box as the root of its record, publishing the handlers the record names.
class KeyedCheckBox : public TWCheckBox {
public:
    using TWCheckBox::TWCheckBox;
    static const ClassInfo& staticClassInfo()
    {
        static ClassInfo info{"TKeyedCheckBox", &TWCheckBox::staticClassInfo(), {}};
        static const bool withMethods = [] {
            info.withMethods({"Box1KeyDown", "Box1KeyPress", "Box1KeyUp"});
            return true;
        }();
        (void)withMethods;
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

TEST_F(SelectionWidgets, RecordsSetItemsStatesAndCaptions)
{
    testing::RecordWriter record;
    record.beginRecord("TWRadioGroup", "Group")
        .property("Items.Strings").beginList().string("One").string("Two").end()
        .property("ItemIndex").integer(1)
        .property("BevelWidth").integer(-1)
        .end().end();
    TWRadioGroup group(nullptr);
    ByteViewStream stream(record.bytes());
    readComponentRecord(stream, group);
    ASSERT_EQ(group.buttons().size(), 2u);
    EXPECT_TRUE(group.buttons()[1]->checked());
    EXPECT_EQ(group.bevelWidth(), -1);

    testing::RecordWriter boxRecord;
    boxRecord.beginRecord("TKeyedCheckBox", "Box")
        .property("AllowGrayed").boolean(true)
        .property("State").ident("cbGrayed")
        .property("Caption").string("&Mute")
        .property("Tab").tag(6).raw(std::vector<std::uint8_t>{1, 'x'})
        .property("OnKeyDown").ident("Box1KeyDown")
        .property("OnKeyPress").ident("Box1KeyPress")
        .property("OnKeyUp").ident("Box1KeyUp")
        .end().end();
    KeyedCheckBox box(nullptr);
    ByteViewStream boxStream(boxRecord.bytes());
    readComponentRecord(boxStream, box);
    EXPECT_EQ(box.state(), TCheckBoxState::cbGrayed);
    EXPECT_EQ(box.caption(), "&Mute");
    EXPECT_EQ(box.tab(), 'x');
    EXPECT_TRUE(box.tabStop());
    EXPECT_EQ(box.onKeyDown.name, "Box1KeyDown");
    EXPECT_EQ(box.onKeyPress.name, "Box1KeyPress");
    EXPECT_EQ(box.onKeyUp.name, "Box1KeyUp");

    testing::RecordWriter radioRecord;
    radioRecord.beginRecord("TWRadioButton", "Radio").property("OnKeyUp").nil().end().end();
    TWRadioButton radio(nullptr);
    ByteViewStream radioStream(radioRecord.bytes());
    EXPECT_NO_THROW(readComponentRecord(radioStream, radio));
}

}  // namespace
}  // namespace trovelin
