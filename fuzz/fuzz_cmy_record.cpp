// Colour-mixer records from arbitrary bytes: the walk either reads the record or reports it with
// the stream back at the start; it never faults, hangs or throws anything else.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/Control.h"
#include "panelfile/ColourMixerProperties.h"
#include "panelfile/ColourMixerRecord.h"
#include "panelfile/ReportedRecordError.h"
#include "streaming/Stream.h"

namespace {

class Mixer : public trovelin::TGraphicControl, public trovelin::ColourMixerProperties {
public:
    Mixer() : TGraphicControl(nullptr) {}
    void SetCyan(std::uint8_t) override {}
    void SetMagenta(std::uint8_t) override {}
    void SetYellow(std::uint8_t) override {}
    void SetRGB(bool) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    trovelin::ByteViewStream stream({data, size});
    Mixer mixer;
    try {
        trovelin::readColourMixerRecord(stream, mixer, mixer);
        if (stream.position() <= 0 || stream.position() > stream.size()) std::abort();
    } catch (const trovelin::ReportedRecordError&) {
        if (stream.position() != 0) std::abort();
    }
    return 0;
}
