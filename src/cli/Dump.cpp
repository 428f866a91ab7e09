#include "cli/Dump.h"

#include <cstring>
#include <ostream>

#include "cli/Json.h"
#include "panelfile/Loader.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/LoaderClasses.h"
#include "panelfile/PanelHeader.h"
#include "streaming/Errors.h"
#include "streaming/RecordText.h"
#include "streaming/Stream.h"
#include "streaming/ValueTag.h"

namespace trovelin::cli {

namespace {

struct DumpedRecord {
    std::int64_t offset = 0;
    std::string loader;  // "background", "read" or "skipped"
    RecordNode tree;
    std::string error;   // empty when the record was read whole
};

struct Dump {
    std::optional<PanelHeader> header;
    std::vector<DumpedRecord> records;
    std::string stop;  // the loader's message when it stops before the end, or the error
};

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

std::string chunkList(const PanelHeader& header)
{
    std::string list = header.hasBlco ? "BLCO" : "";
    if (header.hasSmth) list += list.empty() ? "SMTH" : " SMTH";
    return list.empty() ? "none" : list;
}

bool startsWithSignature(Stream& stream)
{
    char signature[4] = {};
    const std::int64_t start = stream.position();
    const std::size_t got = stream.read(signature, 4);
    stream.setPosition(start);
    return got == 4 && std::memcmp(signature, recordSignature, 4) == 0;
}

// What the loader does with a control record of this shape: its peek recognises exact names of
// its class table, up to 19 characters, and no entry that starts with a prefix byte.
std::string loaderVerdict(const RecordNode& tree, const LoaderClassTable& classes)
{
    if (tree.inherited || tree.position || tree.className.size() > longestLoaderClassName) return "skipped";
    return findLoaderClass(classes, tree.className) ? "read" : "skipped";
}

Dump readDump(Stream& stream)
{
    Dump dump;
    dump.header = readPanelHeader(stream);
    if (!dump.header) {
        dump.stop = notPanelFileText;
        return dump;
    }
    const LoaderClassTable classes = panelLoaderClasses();
    for (bool background = true; background || stream.position() < stream.size(); background = false) {
        if (!background && !startsWithSignature(stream)) {
            dump.stop = "Format ERROR!!!";
            return dump;
        }
        DumpedRecord& record = dump.records.emplace_back();
        record.offset = stream.position();
        try {
            readRecordTree(stream, record.tree);
        } catch (const Exception& error) {
            record.error = error.message();
        }
        record.loader = background ? "background" : loaderVerdict(record.tree, classes);
        if (!record.error.empty()) {
            dump.stop = record.error;
            return dump;
        }
    }
    return dump;
}

void writeText(const std::string& path, const Dump& dump, std::ostream& out)
{
    out << "Panel file: " << path << '\n';
    if (const auto& header = dump.header) {
        const bool small = header->variant == PanelVariant::Small;
        out << "Variant: " << (small ? "KVL0 (32-channel tables)" : "KVLP (256-channel tables)") << '\n'
            << "Channels: " << header->channelCount << '\n'
            << "Title: '" << header->title << "'\n"
            << "Chunks: " << chunkList(*header) << '\n'
            << "Channel bits: " << channelList(header->channelBits) << '\n'
            << "SMTH bits: " << channelList(header->smthBits) << '\n';
    }
    for (std::size_t i = 0; i < dump.records.size(); ++i) {
        const DumpedRecord& record = dump.records[i];
        out << '\n' << (i == 0 ? std::string("Background record") : "Record " + std::to_string(i)) << " at offset "
            << record.offset;
        if (record.loader == "skipped") out << " (skipped by the loader: class not in its table)";
        out << ":\n" << recordToText(record.tree);
        if (!record.error.empty()) out << "error: " << record.error << '\n';
    }
    if (!dump.stop.empty() && (dump.records.empty() || dump.records.back().error.empty()))
        out << '\n' << "stop: " << dump.stop << '\n';
}

void writeNodeJson(const RecordNode& node, std::ostream& out)
{
    out << "{\"class\":" << jsonString(node.className) << ",\"name\":" << jsonString(node.name)
        << ",\"inherited\":" << (node.inherited ? "true" : "false");
    if (node.position) out << ",\"position\":" << *node.position;
    out << ",\"properties\":[";
    for (std::size_t i = 0; i < node.properties.size(); ++i)
        out << (i ? "," : "") << "{\"name\":" << jsonString(node.properties[i].first)
            << ",\"value\":" << jsonString(node.properties[i].second) << "}";
    out << "],\"children\":[";
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        if (i) out << ',';
        writeNodeJson(node.children[i], out);
    }
    out << "]}";
}

void writeJson(const std::string& path, const Dump& dump, std::ostream& out)
{
    out << "{\"file\":" << jsonString(path);
    if (const auto& header = dump.header) {
        out << ",\"variant\":\"" << (header->variant == PanelVariant::Small ? "KVL0" : "KVLP")
            << "\",\"channels\":" << header->channelCount << ",\"title\":" << jsonString(header->title)
            << ",\"chunks\":[" << (header->hasBlco ? "\"BLCO\"" : "")
            << (header->hasBlco && header->hasSmth ? "," : "") << (header->hasSmth ? "\"SMTH\"" : "") << "]";
    }
    out << ",\"records\":[";
    for (std::size_t i = 0; i < dump.records.size(); ++i) {
        const DumpedRecord& record = dump.records[i];
        out << (i ? "," : "") << "{\"offset\":" << record.offset << ",\"loader\":\"" << record.loader
            << "\",\"record\":";
        writeNodeJson(record.tree, out);
        if (!record.error.empty()) out << ",\"error\":" << jsonString(record.error);
        out << "}";
    }
    out << "]";
    if (!dump.stop.empty()) out << ",\"stop\":" << jsonString(dump.stop);
    out << "}\n";
}

}  // namespace

int dumpPanelFile(const std::string& path, bool json, std::ostream& out, std::ostream& errors)
{
    Dump dump;
    try {
        FileStream stream(path);
        dump = readDump(stream);
    } catch (const Exception& error) {
        errors << path << ": " << error.message() << '\n';
        return 1;
    }
    if (json)
        writeJson(path, dump, out);
    else
        writeText(path, dump, out);
    return dump.stop.empty() ? 0 : 1;
}

}  // namespace trovelin::cli
