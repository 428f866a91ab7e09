#include "panelfile/LoaderClasses.h"

#include "framework/GroupBox.h"
#include "framework/Label.h"
#include "framework/SpeedButton.h"

namespace trovelin {

namespace {

template <class Control> TControl* create(Component* owner) { return new Control(owner); }

TBitmap* speedButtonGlyph(TControl& control) { return &static_cast<TSpeedButton&>(control).glyph(); }

}  // namespace

void readControlRecord(Stream& stream, TControl& control, const ReaderEnvironment& environment)
{
    readComponentRecord(stream, control, environment);
}

LoaderClassTable frameworkLoaderClasses()
{
    return {
        {"TGroupBox", &create<TGroupBox>, &readControlRecord, nullptr},
        {"TSpeedButton", &create<TSpeedButton>, &readControlRecord, &speedButtonGlyph},
        {"TLabel", &create<TLabel>, &readControlRecord, nullptr},
    };
}

}  // namespace trovelin
