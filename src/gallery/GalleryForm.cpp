#include "gallery/GalleryForm.h"

#include <initializer_list>
#include <utility>

#include "framework/PaintBuffer.h"
#include "framework/PaintTree.h"
#include "panelctl/Cbtc.h"
#include "panelctl/Cmy.h"
#include "panelctl/Fader.h"
#include "panelctl/Fieldxym.h"
#include "panelctl/KnobControl.h"
#include "panelctl/Multibut.h"
#include "skin/Wblinkbutton.h"
#include "skin/Wcheckbox.h"
#include "skin/Wradiobutton.h"
#include "skin/Wradiogroup.h"
#include "skin/Wscrollbar.h"
#include "skin/Wtracker.h"
#include "streaming/Stream.h"
#include "streaming/TextRecord.h"

namespace trovelin {
namespace {

using Properties = std::vector<std::pair<std::string, std::string>>;

RecordNode entry(std::string className, std::string name, int left, int top, Properties more = {})
{
    RecordNode node;
    node.className = std::move(className);
    node.name = std::move(name);
    node.properties = {{"Left", std::to_string(left)}, {"Top", std::to_string(top)}};
    node.properties.insert(node.properties.end(), more.begin(), more.end());
    return node;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

RecordNode caption(const std::string& name, int left, int top, const std::string& text)
{
    return entry("TLabel", name, left, top,
                 {{"AutoSize", "False"}, {"Transparent", "True"}, {"Width", "460"}, {"Height", "14"}, {"Caption", quoted(text)}});
}

std::string checkValue(TWCheckBox& box)
{
    switch (box.state()) {
    case TCheckBoxState::cbUnchecked: return "cbUnchecked";
    case TCheckBoxState::cbChecked: return "cbChecked";
    case TCheckBoxState::cbGrayed: return "cbGrayed";
    }
    return {};
}

}  // namespace

std::string controlValueText(TControl& control)
{
    if (auto* box = dynamic_cast<TWCheckBox*>(&control)) return checkValue(*box);
    if (auto* radio = dynamic_cast<TWRadioButton*>(&control)) return radio->checked() ? "checked" : "unchecked";
    if (auto* group = dynamic_cast<TWRadioGroup*>(&control)) return "ItemIndex " + std::to_string(group->itemIndex());
    if (auto* fader = dynamic_cast<TFader*>(&control)) {
        std::string value = std::to_string(fader->position());
        return fader->m16bit() ? value + "." + std::to_string(fader->finePosition()) : value;
    }
    if (auto* tracker = dynamic_cast<TWTracker*>(&control)) return std::to_string(tracker->position());
    if (auto* bar = dynamic_cast<TWScrollBar*>(&control)) return std::to_string(bar->position());
    if (auto* blink = dynamic_cast<TWBlinkButton*>(&control)) return blink->down() ? "down" : "up";
    if (auto* knob = dynamic_cast<KnobControl*>(&control)) return std::to_string(knob->position());
    if (auto* field = dynamic_cast<TFieldXY*>(&control))
        return std::to_string(field->getX()) + ", " + std::to_string(field->getY());
    if (auto* mixer = dynamic_cast<TCMY*>(&control))
        return std::to_string(mixer->cyan()) + ", " + std::to_string(mixer->magenta()) + ", " +
               std::to_string(mixer->yellow());
    if (auto* multi = dynamic_cast<TMultiButton*>(&control)) return multi->down() ? "down" : "up";
    if (auto* toggle = dynamic_cast<TCBTC*>(&control)) return toggle->down() ? "down" : "up";
    return {};
}

namespace {

void reportControl(TControl& control, const std::function<void(const std::string&)>& report)
{
    auto line = [report](TControl& sender, const char* event) {
        const std::string value = controlValueText(sender);
        report(sender.name() + ", " + event + (value.empty() ? "" : ", " + value));
    };
    control.onClickHandler = [line](TControl& sender) { line(sender, "Click"); };
    TNotifyEvent changed = [line](TControl& sender) { line(sender, "Change"); };
    if (auto* fader = dynamic_cast<TFader*>(&control)) fader->onChangeHandler = changed;
    if (auto* tracker = dynamic_cast<TWTracker*>(&control)) tracker->onChangeHandler = changed;
    if (auto* bar = dynamic_cast<TWScrollBar*>(&control)) bar->onChangeHandler = changed;
    if (auto* knob = dynamic_cast<KnobControl*>(&control)) knob->onChangeHandler = changed;
    if (auto* field = dynamic_cast<TFieldXY*>(&control)) field->onChangeHandler = changed;
    if (auto* mixer = dynamic_cast<TCMY*>(&control)) mixer->onChangeHandler = changed;
    if (auto* windowed = dynamic_cast<TWinControl*>(&control)) {
        windowed->onEnterHandler = [line](TControl& sender) { line(sender, "Enter"); };
        windowed->onExitHandler = [line](TControl& sender) { line(sender, "Exit"); };
        // The radio group's buttons report through the group, whose handler they carry.
        if (dynamic_cast<TWRadioGroup*>(&control) != nullptr) return;
        for (TControl* child : windowed->controls()) reportControl(*child, report);
    }
}

// States only the pointer makes: widgets held down, or with the pointer over them, as the
// gallery opens. The pointer itself is elsewhere, so the first move or click ends them.
void showPointerStates(TGalleryForm& form)
{
    const std::pair<const char*, TPoint> held[] = {
        {"HeldLamp", {15, 15}},     {"HScrollFirst", {5, 8}},   {"HScrollLast", {115, 8}},
        {"HScrollBefore", {30, 8}}, {"HScrollAfter", {100, 8}}, {"HScrollThumb", {60, 8}},
        {"VScrollFirst", {8, 5}},   {"VScrollLast", {8, 115}},  {"VScrollBefore", {8, 30}},
        {"VScrollAfter", {8, 100}}, {"VScrollThumb", {8, 60}},
    };
    for (const auto& [name, at] : held)
        if (auto* control = dynamic_cast<TControl*>(form.findComponent(name)))
            control->mouseDown(TMouseButton::mbLeft, ssLeft, at.x, at.y);
    for (const char* name : {"HScrollHot", "VScrollHot"})
        if (auto* control = dynamic_cast<TControl*>(form.findComponent(name))) control->mouseEnter();
}

}  // namespace

RecordNode galleryLayout()
{
    RecordNode form;
    form.className = "TGalleryForm";
    form.name = "Gallery";
    form.properties = {{"Width", "960"}, {"Height", "640"}, {"Caption", "'Trovelin widget gallery'"}};
    auto add = [&form](RecordNode node) { form.children.push_back(std::move(node)); };
    const Properties size24{{"Width", "72"}, {"Height", "24"}};

    add(caption("SpeedButtons", 8, 4, "TWSpeedButton: flat, raised, down, disabled"));
    add(entry("TWSpeedButton", "FlatButton", 8, 20, {{"Width", "72"}, {"Height", "24"}, {"Flat", "True"}, {"Caption", "'Flat'"}}));
    add(entry("TWSpeedButton", "RaisedButton", 88, 20, {{"Width", "72"}, {"Height", "24"}, {"Caption", "'Raised'"}}));
    add(entry("TWSpeedButton", "DownButton", 168, 20,
              {{"Width", "72"}, {"Height", "24"}, {"GroupIndex", "1"}, {"AllowAllUp", "True"}, {"Down", "True"},
               {"Caption", "'Down'"}}));
    add(entry("TWSpeedButton", "DisabledButton", 248, 20,
              {{"Width", "72"}, {"Height", "24"}, {"Enabled", "False"}, {"Caption", "'Disabled'"}}));

    add(caption("CheckBoxes", 8, 56, "TWCheckBox and TWRadioButton"));
    add(entry("TWCheckBox", "PlainBox", 8, 72, {{"Caption", "'Unchecked'"}}));
    add(entry("TWCheckBox", "CheckedBox", 8, 92, {{"Caption", "'Checked'"}, {"Checked", "True"}}));
    add(entry("TWCheckBox", "GrayedBox", 8, 112,
              {{"Caption", "'Grayed'"}, {"AllowGrayed", "True"}, {"State", "cbGrayed"}}));
    add(entry("TWCheckBox", "FocusedBox", 8, 132, {{"Caption", "'Focused'"}}));
    add(entry("TWCheckBox", "DisabledBox", 8, 152,
              {{"Caption", "'Disabled'"}, {"Checked", "True"}, {"Enabled", "False"}}));
    add(entry("TWCheckBox", "RightBox", 8, 172, {{"Caption", "'Right'"}, {"Alignment", "taRightJustify"}}));
    add(entry("TWRadioButton", "RadioOne", 120, 72, {{"Caption", "'One'"}, {"Checked", "True"}}));
    add(entry("TWRadioButton", "RadioTwo", 120, 92, {{"Caption", "'Two'"}}));
    add(entry("TWRadioButton", "RadioDisabled", 120, 112,
              {{"Caption", "'Disabled'"}, {"Checked", "True"}, {"Enabled", "False"}}));
    add(entry("TWRadioGroup", "RadioGroup", 224, 64,
              {{"Caption", "'TWRadioGroup'"}, {"Items.Strings", "('Red' 'Green' 'Blue')"}, {"ItemIndex", "1"},
               {"Height", "80"}, {"Width", "160"}}));
    add(entry("TWRadioGroup", "FramelessGroup", 224, 150,
              {{"BevelWidth", "-2"}, {"Items.Strings", "('Left' 'Right')"}, {"Height", "44"}, {"Width", "160"}}));

    add(caption("Faders", 8, 204, "TWSlider: normal, disabled, 16-bit, inverted; TWSliderh; TWTracker"));
    add(entry("TWSlider", "Slider", 8, 220, {{"Position", "200"}}));
    add(entry("TWSlider", "DisabledSlider", 56, 220, {{"Position", "100"}, {"Enabled", "False"}}));
    add(entry("TWSlider", "FineSlider", 104, 220, {{"M16bit", "True"}, {"Position", "128"}, {"FinePosition", "64"}}));
    add(entry("TWSlider", "InvertedSlider", 152, 220, {{"Inverted", "True"}, {"Position", "60"}}));
    add(entry("TWSliderh", "SliderH", 200, 220, {{"Position", "80"}}));
    add(entry("TWSliderh", "FineSliderH", 200, 268, {{"M16bit", "True"}, {"Position", "180"}, {"FinePosition", "200"}}));
    add(entry("TWTracker", "Tracker", 360, 220, {{"Position", "160"}}));
    add(entry("TWTracker", "DisabledTracker", 408, 220, {{"Position", "40"}, {"Enabled", "False"}}));

    add(caption("PanelControls", 472, 4, "Panel controls: faders, knobs, XY field, colour mixer, buttons"));
    add(entry("TSlider", "PanelSlider", 472, 20, {{"Position", "90"}}));
    add(entry("TSlider", "PanelFineSlider", 520, 20, {{"M16bit", "True"}, {"Position", "30"}, {"FinePosition", "200"}}));
    add(entry("TSliderh", "PanelSliderH", 568, 20, {{"Inverted", "True"}, {"Position", "40"}}));
    add(entry("TKnob", "Knob", 568, 72));
    add(entry("TKnobL", "KnobL", 640, 72));
    add(entry("TFieldXY", "FieldXY", 472, 184));
    add(entry("TCMY", "ColourMixer", 776, 184));
    add(entry("TMultiButton", "MultiButton", 728, 20, size24));
    add(entry("TCBTC", "ColourToggle", 728, 52, size24));

    add(caption("Panels", 8, 424, "TWPanel: captions left, centred, right; TWGroupBox: BevelWidth 2 and -1"));
    add(entry("TWPanel", "LeftPanel", 8, 440,
              {{"Width", "120"}, {"Height", "40"}, {"Alignment", "taLeftJustify"}, {"BevelWidth", "3"},
               {"Caption", "'Left, bevel 3'"}}));
    add(entry("TWPanel", "CentrePanel", 136, 440, {{"Width", "120"}, {"Height", "40"}, {"Caption", "'Centre, bevel 1'"}}));
    add(entry("TWPanel", "RightPanel", 264, 440,
              {{"Width", "120"}, {"Height", "40"}, {"Alignment", "taRightJustify"}, {"BevelWidth", "0"},
               {"Caption", "'Right, bevel 0'"}}));
    add(entry("TWGroupBox", "GroupBox", 8, 488,
              {{"Width", "184"}, {"Height", "60"}, {"BevelWidth", "2"}, {"Caption", "'BevelWidth 2'"}}));
    add(entry("TWGroupBox", "TopLineGroupBox", 200, 488,
              {{"Width", "184"}, {"Height", "60"}, {"BevelWidth", "-1"}, {"Caption", "'BevelWidth -1'"}}));

    add(caption("Buttons", 8, 556, "TWBlinkButton: blinking, resting; TWCBTC: held, released"));
    add(entry("TWBlinkButton", "BlinkingButton", 8, 572,
              {{"Width", "72"}, {"Color", "clLime"}, {"AlterColor", "clGreen"}, {"Down", "True"}, {"Caption", "'Blinking'"}}));
    add(entry("TWBlinkButton", "RestingButton", 88, 572, {{"Width", "72"}, {"Caption", "'Resting'"}}));
    add(entry("TWCBTC", "HeldLamp", 168, 572));
    add(entry("TWCBTC", "Lamp", 208, 572, {{"Color", "clLime"}}));

    add(caption("ScrollBars", 472, 470,
                "TWScrollBar: at rest, first and last arrow, track before and after the thumb, thumb, hot"));
    const char* zones[] = {"", "First", "Last", "Before", "After", "Thumb", "Hot"};
    for (int i = 0; i < 7; ++i) {
        const std::string zone = zones[i];
        add(entry("TWScrollBar", "HScroll" + zone, 472, 488 + 20 * i,
                  {{"Width", "120"}, {"Height", "16"}, {"Position", "50"}, {"LargeChange", "10"}}));
        add(entry("TWScrollBar", "VScroll" + zone, 608 + 24 * i, 488,
                  {{"Kind", "sbVertical"}, {"Width", "16"}, {"Height", "120"}, {"Position", "50"}, {"LargeChange", "10"}}));
    }
    return form;
}

std::unique_ptr<TGalleryForm> buildGalleryForm(const RecordNode& layout)
{
    auto form = std::make_unique<TGalleryForm>(nullptr);
    const std::vector<std::uint8_t> record = recordFromText(layout);
    ByteViewStream stream(record);
    ReaderEnvironment environment;
    environment.registry = &galleryClasses();
    readComponentRecord(stream, *form, environment);
    showPointerStates(*form);
    if (auto* focused = dynamic_cast<TWinControl*>(form->findComponent("FocusedBox"))) focused->setFocus();
    return form;
}

void reportGalleryEvents(TGalleryForm& form, std::function<void(const std::string&)> report)
{
    reportControlEvents(form, std::move(report));
}

void reportControlEvents(TWinControl& container, std::function<void(const std::string&)> report)
{
    for (TControl* child : container.controls()) reportControl(*child, report);
}

QImage paintGalleryForm(TGalleryForm& form)
{
    QImage image(std::max(form.width(), 1), std::max(form.height(), 1), QImage::Format_RGB32);
    image.fill(Qt::black);
    // The form's controls keep nothing from this one paint.
    PaintBufferBudget budget;
    paintControlTree(image, form, budget);
    return image;
}

}  // namespace trovelin
