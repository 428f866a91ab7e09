#include "cli/Dump.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <ostream>

#include "cli/HeadlessMainWindow.h"
#include "panelfile/Json.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Loader.h"
#include "panelfile/LoaderClasses.h"
#include "panelfile/PanelHeader.h"
#include "panelfile/PictureList.h"
#include "panelfile/PictureManifest.h"
#include "streaming/Errors.h"
#include "streaming/PixelBudget.h"
#include "streaming/PrintableText.h"
#include "streaming/RecordText.h"
#include "streaming/Stream.h"
#include "streaming/ValueTag.h"

namespace trovelin::cli {

namespace {

struct DumpedRecord {
    std::int64_t offset = 0;
    std::string loader;  // "background", "read", "skipped" or "refused"
    RecordNode tree;     // as far as the record could be read
    std::string message;  // why the loader refused the record; it then goes on after it
    std::string error;    // the loader's failure, which ends the load
};

struct Dump {
    std::optional<PanelHeader> header;
    std::vector<DumpedRecord> records;
    std::string stop;  // the loader's message when it stops before the end, or the error
    // What the load reported, as `harvest --json` lists it for the file ("file" left empty).
    std::vector<LoadEvent> events;
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

// Whether the loader reads a control record of this shape or passes over it: its peek recognises
// exact names of its class table, up to 19 characters, and no entry that starts with a prefix byte.
std::string loaderVerdict(const RecordNode& tree, const LoaderClassTable& classes)
{
    if (tree.inherited || tree.position || tree.className.size() > longestLoaderClassName) return "skipped";
    return findLoaderClass(classes, tree.className) ? "read" : "skipped";
}

std::string messagesOf(const std::vector<LoaderEvent>& events)
{
    std::string text;
    for (const LoaderEvent& event : events) text += (text.empty() ? "" : "; ") + event.text;
    return text;
}

// The loader's events of one step, kept for the events array and joined for the record's text.
std::string takeMessages(HeadlessMainWindow& window, Dump& dump)
{
    const std::vector<LoaderEvent> events = window.takeEvents();
    for (const LoaderEvent& event : events)
        dump.events.push_back({"", event.kind == LoaderEvent::Kind::Status ? "status" : "message", event.text});
    return messagesOf(events);
}

// Each record goes through the loader's own steps, with the readers it uses for each class, so
// that the dump tells what a load does; the generic record reader only shows what the record holds.
Dump readDump(Stream& stream, std::uint64_t pixelBudgetBytes)
{
    Dump dump;
    dump.header = readPanelHeader(stream);
    if (!dump.header) {
        dump.stop = notPanelFileText;
        dump.events.push_back({"", "status", notPanelFileText});
        return dump;
    }
    HeadlessMainWindow window;
    PictureList pictures(pixelBudgetBytes);
    const LoaderClassTable classes = panelLoaderClasses();
    PanelLoader loader(window, pictures, classes);
    const ReaderEnvironment environment = loader.readerEnvironment();
    for (bool background = true; background || stream.position() < stream.size(); background = false) {
        if (!background && !startsWithSignature(stream)) {
            loader.readRecord(stream, environment);
            dump.stop = takeMessages(window, dump);
            return dump;
        }
        DumpedRecord& record = dump.records.emplace_back();
        record.offset = stream.position();
        bool goesOn = true;
        try {
            if (background)
                loader.readBackground(stream);
            else
                goesOn = loader.readRecord(stream, environment);
        } catch (const Exception& error) {
            record.error = error.messageWithReason();
        } catch (const std::bad_alloc&) {
            // As a load reports it: what was read so far stays, and the dump ends here.
            record.error = EOutOfMemory().messageWithReason();
        }
        record.message = takeMessages(window, dump);
        // A failure ends the load, and the load's failure comes before what the loader said on
        // the way, as harvest and extract report a file.
        if (!record.error.empty()) dump.events.insert(dump.events.begin(), {"", "error", record.error});
        const std::int64_t end = stream.position();
        stream.setPosition(record.offset);
        try {
            readRecordTree(stream, record.tree);
        } catch (const Exception&) {
            // The tree shows how far the record could be read; the loader's verdict stands.
        } catch (const std::bad_alloc&) {
            // So does a tree that ran out of memory on the way.
        }
        stream.setPosition(end);
        record.loader = background                ? "background"
                        : !record.message.empty() ? "refused"
                                                  : loaderVerdict(record.tree, classes);
        if (!record.error.empty() || !goesOn) {
            dump.stop = record.error.empty() ? record.message : record.error;
            return dump;
        }
    }
    return dump;
}

void writeText(const std::string& path, const Dump& dump, std::ostream& out)
{
    out << "Panel file: " << printableText(path) << '\n';
    if (const auto& header = dump.header) {
        const bool small = header->variant == PanelVariant::Small;
        out << "Variant: " << (small ? "KVL0 (32-channel tables)" : "KVLP (256-channel tables)") << '\n'
            << "Channels: " << header->channelCount << '\n'
            << "Title: " << quotedText(header->title) << '\n'
            << "Chunks: " << chunkList(*header) << '\n'
            << "Channel bits: " << channelList(header->channelBits) << '\n'
            << "SMTH bits: " << channelList(header->smthBits) << '\n';
    }
    for (std::size_t i = 0; i < dump.records.size(); ++i) {
        const DumpedRecord& record = dump.records[i];
        out << '\n' << (i == 0 ? std::string("Background record") : "Record " + std::to_string(i)) << " at offset "
            << record.offset;
        if (record.loader == "skipped") out << " (skipped by the loader: class not in its table)";
        if (record.loader == "refused") out << " (refused by the loader: " << printableText(record.message) << ")";
        out << ":\n" << recordToText(record.tree);
        if (!record.error.empty()) out << "error: " << printableText(record.error) << '\n';
    }
    if (!dump.stop.empty() && (dump.records.empty() || dump.records.back().error.empty()))
        out << '\n' << "stop: " << printableText(dump.stop) << '\n';
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

void writeEventsJson(const std::string& path, const std::vector<LoadEvent>& events, std::ostream& out)
{
    out << ",\"events\":[";
    for (std::size_t i = 0; i < events.size(); ++i)
        out << (i ? "," : "") << "{" << jsonPathField("file", path) << ",\"kind\":\"" << events[i].kind
            << "\",\"text\":" << jsonString(events[i].text) << "}";
    out << "]";
}

void writeJson(const std::string& path, const Dump& dump, std::ostream& out)
{
    out << "{" << jsonPathField("file", path);
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
        if (!record.message.empty()) out << ",\"message\":" << jsonString(record.message);
        if (!record.error.empty()) out << ",\"error\":" << jsonString(record.error);
        out << "}";
    }
    out << "]";
    if (!dump.stop.empty()) out << ",\"stop\":" << jsonString(dump.stop);
    writeEventsJson(path, dump.events, out);
    out << "}\n";
}

}  // namespace

int dumpPanelFile(const std::string& path, bool json, std::ostream& out, std::ostream& errors,
                  std::uint64_t pixelBudgetBytes)
{
    Dump dump;
    std::string failure;
    try {
        // Each record's tree decodes its pictures once more to describe them, within a budget
        // of its own: the loader's holds what it read.
        PixelBudget treeBudget(pixelBudgetBytes);
        FileStream stream(path);
        stream.setPixelBudget(&treeBudget);
        dump = readDump(stream, pixelBudgetBytes);
    } catch (const Exception& error) {
        failure = error.messageWithReason();
    } catch (const std::bad_alloc&) {
        failure = EOutOfMemory().messageWithReason();
    }
    if (!failure.empty()) {
        errors << printableText(path) << ": " << printableText(failure) << '\n';
        // A script reading the object still gets one, with what went wrong.
        if (json) {
            out << "{" << jsonPathField("file", path) << ",\"records\":[]";
            writeEventsJson(path, {{"", "error", failure}}, out);
            out << "}\n";
        }
        return 1;
    }
    if (json)
        writeJson(path, dump, out);
    else
        writeText(path, dump, out);
    // A record refused with a message and passed over does not stop the load: as in every command,
    // only a load that does not get to the end fails.
    return dump.stop.empty() ? 0 : 1;
}

}  // namespace trovelin::cli
