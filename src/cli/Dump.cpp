#include "cli/Dump.h"

#include <cstring>
#include <ostream>

#include "panelfile/PanelHeader.h"
#include "streaming/Errors.h"
#include "streaming/RecordText.h"
#include "streaming/Stream.h"
#include "streaming/ValueTag.h"

namespace trovelin::cli {

namespace {

std::string channelList(const ChannelBitSet& bits)
{
    std::string list;
    for (int channel = 0; channel < maxPanelChannels; ++channel)
        if (isChannelSet(bits, channel)) {
            if (!list.empty()) list += ' ';
            list += std::to_string(channel);
        }
    return list.empty() ? "none" : list;
}

void writeHeader(const PanelHeader& header, std::ostream& out)
{
    bool small = header.variant == PanelVariant::Small;
    out << "Variant: " << (small ? "KVL0 (32-channel tables)" : "KVLP (256-channel tables)") << '\n'
        << "Channels: " << header.channelCount << '\n'
        << "Title: '" << header.title << "'\n"
        << "Channel bits: " << channelList(header.channelBits) << '\n'
        << "SMTH bits: " << channelList(header.smthBits) << '\n';
}

bool startsWithSignature(Stream& stream)
{
    char signature[4] = {};
    std::int64_t start = stream.position();
    std::size_t got = stream.read(signature, 4);
    stream.setPosition(start);
    return got == 4 && std::memcmp(signature, recordSignature, 4) == 0;
}

}  // namespace

int dumpPanelFile(const std::string& path, std::ostream& out, std::ostream& errors)
{
    try {
        FileStream stream(path);
        std::optional<PanelHeader> header = readPanelHeader(stream);
        if (!header) {
            errors << path << ": Not KVR Format !!!\n";
            return 1;
        }
        out << "Panel file: " << path << '\n';
        writeHeader(*header, out);
        for (int index = 0; index == 0 || stream.position() < stream.size(); ++index) {
            out << '\n' << (index == 0 ? "Background record" : "Record " + std::to_string(index)) << " at offset "
                << stream.position() << ":\n";
            if (index > 0 && !startsWithSignature(stream)) {
                errors << path << ": Format ERROR!!!\n";
                return 1;
            }
            out << recordToText(stream);
        }
        return 0;
    } catch (const Exception& error) {
        errors << path << ": " << error.message() << '\n';
        return 1;
    }
}

}  // namespace trovelin::cli
