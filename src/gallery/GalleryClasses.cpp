#include "gallery/GalleryClasses.h"

#include "framework/Canvas.h"
#include "framework/ControlProperties.h"
#include "framework/GroupBox.h"
#include "framework/Label.h"
#include "panelctl/Cbtc.h"
#include "panelctl/Cmy.h"
#include "panelctl/Fieldxym.h"
#include "panelctl/Knob.h"
#include "panelctl/Knobl.h"
#include "panelctl/Multibut.h"
#include "panelctl/Slider.h"
#include "panelctl/Sliderh.h"
#include "skin/Wblinkbutton.h"
#include "skin/Wcbtc.h"
#include "skin/Wcheckbox.h"
#include "skin/Wgroupbox.h"
#include "skin/Wpanel.h"
#include "skin/Wradiobutton.h"
#include "skin/Wradiogroup.h"
#include "skin/Wscrollbar.h"
#include "skin/Wslider.h"
#include "skin/Wsliderh.h"
#include "skin/Wspeedbutton.h"
#include "skin/Wtracker.h"

namespace trovelin {

TGalleryForm::TGalleryForm(Component* owner) : TWinControl(owner)
{
    setColor(clBtnFace);
}

const ClassInfo& TGalleryForm::staticClassInfo()
{
    namespace shared = controlProperties;
    static const ClassInfo info{"TGalleryForm", &TWinControl::staticClassInfo(),
                                {shared::caption(), shared::color(), shared::font()},
                                &createComponent<TGalleryForm>};
    return info;
}

void TGalleryForm::paint(TCanvas& canvas)
{
    canvas.brush().setColor(color());
    canvas.fillRect({0, 0, width(), height()});
}

namespace {

// The one list of the gallery's classes: the registry and the names come from it.
#define TROVELIN_GALLERY_CLASSES                                                                              \
    &TGalleryForm::staticClassInfo(), &TLabel::staticClassInfo(), &TGroupBox::staticClassInfo(),              \
        &TWSpeedButton::staticClassInfo(), &TWSlider::staticClassInfo(), &TWSliderh::staticClassInfo(),     \
        &TWTracker::staticClassInfo(), &TWCheckBox::staticClassInfo(), &TWRadioButton::staticClassInfo(),   \
        &TWRadioGroup::staticClassInfo(), &TMultiButton::staticClassInfo(), &TCBTC::staticClassInfo(),      \
        &TSlider::staticClassInfo(), &TSliderh::staticClassInfo(), &TKnob::staticClassInfo(),               \
        &TKnobL::staticClassInfo(), &TFieldXY::staticClassInfo(), &TCMY::staticClassInfo(),                 \
        &TWPanel::staticClassInfo(), &TWGroupBox::staticClassInfo(), &TWBlinkButton::staticClassInfo(),     \
        &TWCBTC::staticClassInfo(), &TWScrollBar::staticClassInfo()

}  // namespace

const ClassRegistry& galleryClasses()
{
    static const ClassRegistry registry{TROVELIN_GALLERY_CLASSES};
    return registry;
}

std::vector<std::string> galleryClassNames()
{
    std::vector<std::string> names;
    for (const ClassInfo* info : {TROVELIN_GALLERY_CLASSES}) names.emplace_back(info->name());
    return names;
}

}  // namespace trovelin
