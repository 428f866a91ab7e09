#pragma once
// The colour mixer's ("TCMY") record reader. These records are not read by the component record
// reader but walked by hand, entry by entry, under narrower rules: the record must carry an empty
// component name and no children, and only the mixer's few values are accepted.

#include "streaming/Reader.h"

namespace trovelin {

class ColourMixerProperties;
class Stream;
class TControl;

namespace colourMixerMessages {
inline constexpr const char* format = "Format CMY ERROR!!!";
inline constexpr const char* incorrectEnd = "Incorrect end CMY!!!";
inline constexpr const char* valueType = "ValueType CMY ERROR!!!";
inline constexpr const char* property = "Property CMY ERROR!!!";
}  // namespace colourMixerMessages

// Reads the record at the stream's position, applying its values in record order through the
// control's and the mixer's setters. On success the stream stands after the record; a refused
// record throws ReportedRecordError with one of the messages above and the stream back at the
// record's start, keeping the values applied before the fault.
void readColourMixerRecord(Stream& stream, TControl& control, ColourMixerProperties& mixer);

// The same, shaped as a loader class table reader, for a control that is also the mixer.
void readColourMixerControl(Stream& stream, TControl& control, const ReaderEnvironment& environment);

}  // namespace trovelin
