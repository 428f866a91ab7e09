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

const LoaderClass* findLoaderClass(const LoaderClassTable& classes, std::string_view name)
{
    for (const LoaderClass& entry : classes)
        if (entry.name == name) return &entry;
    return nullptr;
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
