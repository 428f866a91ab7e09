// Panel headers from arbitrary bytes: reading must never fault, throw or leave the stream
// outside the input, and what it yields must stay within the header's own bounds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "panelfile/PanelHeader.h"
#include "streaming/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    trovelin::ByteViewStream stream({data, size});
    std::optional<trovelin::PanelHeader> header = trovelin::readPanelHeader(stream);
    const std::int64_t position = stream.position();
    if (position < 0 || position > static_cast<std::int64_t>(size)) std::abort();
    if (header && (header->channelCount > trovelin::maxPanelChannels || header->title.size() > 255)) std::abort();
    return 0;
}
