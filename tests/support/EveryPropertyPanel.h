#pragma once
// A panel file that holds every class a loader reads, each with every property its class
// publishes set to a value other than its stream default, in the published order (ancestors
// first), as the designer writes them: loading it runs every setter a record can reach.

#include <cstdint>
#include <string_view>
#include <vector>

#include "support/RecordWriter.h"

namespace trovelin {
class ClassInfo;
}

namespace trovelin::testing {

// The property entries of such a record (no header, no end). Nested objects follow by dotted
// names; pictures and bitmaps get a small bitmap as their "Data". Not written: "Name" (the
// record's header carries it), events (they name a method of the record's root, and a control
// read on its own publishes none) and the names in `leaveOut`.
void writeEveryProperty(RecordWriter& writer, const ClassInfo& classInfo,
                        const std::vector<std::string_view>& leaveOut = {});

// A background record ("TImage") and one record for each class, in the order given. The colour
// mixer ("TCMY") has its own narrow form: an empty component name and only the entries its
// reader accepts. A multi-channel button carries a "Channels" list in the long form.
std::vector<std::uint8_t> everyPropertyPanel(const std::vector<const ClassInfo*>& classes);

// Such a panel with every class of the loader's table, in the table's order.
std::vector<std::uint8_t> everyLoaderClassPanel();

}  // namespace trovelin::testing
