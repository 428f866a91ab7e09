#pragma once
// The loader's class table: for each control class a panel file may hold, how to create the
// control, how its record is read and which picture it gives. Names are compared exactly,
// letter case included. Classes outside the framework add their entries where they are built.

#include <cstddef>
#include <string_view>
#include <vector>

#include "streaming/Reader.h"

namespace trovelin {

class Component;
class Stream;
class TBitmap;
class TControl;

struct LoaderClass {
    std::string_view name;
    TControl* (*create)(Component* owner);
    // Reads the record at the stream's position into the control.
    void (*read)(Stream& stream, TControl& control, const ReaderEnvironment& environment);
    // The glyph that is cleared before the read and harvested after it; null for none.
    TBitmap* (*glyph)(TControl& control);
};

using LoaderClassTable = std::vector<LoaderClass>;

// The loader peeks at a record's class name in a fixed window: its length byte and at most this
// many characters. Longer names match no class.
inline constexpr std::size_t longestLoaderClassName = 19;

// The entry of exactly this name, or null.
const LoaderClass* findLoaderClass(const LoaderClassTable& classes, std::string_view name);

// Reads a record with the component record reader.
void readControlRecord(Stream& stream, TControl& control, const ReaderEnvironment& environment);

// The entries of the framework classes: "TGroupBox", "TSpeedButton" (harvests its glyph), "TLabel".
LoaderClassTable frameworkLoaderClasses();

}  // namespace trovelin
