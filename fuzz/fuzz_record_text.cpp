// Property values in the text form, as `trovelin-cli widget` and the gallery's record take them,
// from arbitrary text: no input may fault, hang or allocate without bound, and a value that
// reads, printed as the dump prints it, reads again to the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "streaming/Errors.h"
#include "streaming/RecordText.h"
#include "streaming/Stream.h"
#include "streaming/TextRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace trovelin;
    RecordNode node{"TLabel", "Label1", false, std::nullopt, {{"Value", std::string(data, data + size)}}, {}};
    std::vector<std::uint8_t> record;
    try {
        record = recordFromText(node);
    } catch (const Exception&) {
        return 0;
    }
    ByteViewStream stream(record);
    RecordNode printed;
    readRecordTree(stream, printed);  // what the text reader writes, the record reader reads
    node.properties[0].second = printed.properties.at(0).second;
    if (recordFromText(node) != record) std::abort();
    return 0;
}
