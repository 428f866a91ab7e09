// Record reader throughput: a record of 1,000 mixed properties, and a record with one
// 4 MiB binary property measured against a plain memcpy of the same bytes.

#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <map>

#include "ProbeComponent.h"
#include "framework/Application.h"
#include "framework/GroupBox.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"
#include "support/RecordWriter.h"

namespace {

using namespace trovelin;
using testing::Probe;
using testing::RecordWriter;

constexpr std::size_t blobSize = 4u << 20;

// Takes a binary property without copying it again, so that only the reader is measured.
class BlobSink : public Component {
public:
    using Component::Component;
    static const ClassInfo& staticClassInfo()
    {
        static const ClassInfo info{"TBlobSink", &Component::staticClassInfo(), {}};
        return info;
    }
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    void defineProperties(Filer& filer) override
    {
        filer.defineBinaryProperty("Data", [this](Stream& data) { received = data.size(); });
    }
    std::int64_t received = 0;
};

std::vector<std::uint8_t> mixedRecord()
{
    RecordWriter w;
    w.beginRecord("TProbe", "Mixed");
    for (int i = 0; i < 1000; ++i) {
        switch (i % 8) {
        case 0: w.property("Number").integer(i * 37); break;
        case 1: w.property("Color").ident("clBlue"); break;
        case 2: w.property("Text").string("a short caption"); break;
        case 3: w.property("Mode").ident("pmAuto"); break;
        case 4: w.property("Ratio").extended(i / 7.0); break;
        case 5: w.property("Flags").set({"f1", "f5", "f9"}); break;
        case 6: w.property("Nested.Depth").int32(i); break;
        default: w.property("Value").longString("a long string value"); break;
        }
    }
    w.end().end();
    return w.bytes();
}

std::vector<std::uint8_t> blobRecord()
{
    RecordWriter w;
    std::vector<std::uint8_t> blob(blobSize);
    for (std::size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<std::uint8_t>(i * 31);
    w.beginRecord("TBlobSink", "Blob").property("Data").binary(blob).end().end();
    return w.bytes();
}

void ReadMixedRecord(benchmark::State& state)
{
    const auto bytes = mixedRecord();
    for (auto _ : state) {
        ByteViewStream stream(bytes);
        Probe probe(nullptr);
        readComponentRecord(stream, probe);
        benchmark::DoNotOptimize(probe.number);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ReadMixedRecord);

void ReadBinaryProperty4MiB(benchmark::State& state)
{
    const auto bytes = blobRecord();
    for (auto _ : state) {
        ByteViewStream stream(bytes);
        BlobSink sink(nullptr);
        readComponentRecord(stream, sink);
        benchmark::DoNotOptimize(sink.received);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ReadBinaryProperty4MiB);

// Many named children: name checks and owner bookkeeping must not grow with the square.
void ReadManyNamedChildren(benchmark::State& state)
{
    RecordWriter w;
    w.beginRecord("TProbe", "Root").end();
    for (int i = 0; i < state.range(0); ++i) w.beginChild("TProbe", "Child" + std::to_string(i)).end().end();
    w.end();
    const auto bytes = w.bytes();
    for (auto _ : state) {
        ByteViewStream stream(bytes);
        Probe root(nullptr);
        readComponentRecord(stream, root);
        benchmark::DoNotOptimize(root.components().size());
        Probe::loadedLog().clear();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ReadManyNamedChildren)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity();

// A hostile record: one menu item holding N items that each ask for the first place among
// their siblings, the worst case for the child-position bookkeeping. 75,000 items make 1.2 MB.
std::vector<std::uint8_t> hostileMenuRecord(std::int64_t itemCount)
{
    RecordWriter w;
    w.beginRecord("TGroupBox", "Box").end();
    w.beginChild("TMenuItem", "Menu").end();
    for (std::int64_t i = 0; i < itemCount; ++i) w.prefix(0x02, 0).names("TMenuItem", "").end().end();
    w.end().end();
    w.end();
    return w.bytes();
}

void ReadHostileMenuItems(benchmark::State& state)
{
    const auto bytes = hostileMenuRecord(state.range(0));
    TApplication application;
    for (auto _ : state) {
        ByteViewStream stream(bytes);
        TGroupBox box(nullptr);
        readComponentRecord(stream, box, application.readerEnvironment());
        benchmark::DoNotOptimize(box.components().size());
    }
    state.SetComplexityN(state.range(0));
    state.counters["record_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(ReadHostileMenuItems)->RangeMultiplier(4)->Range(1 << 10, 75000)->Complexity()->Unit(benchmark::kMillisecond);

// A collection filled twice, each item of the first filling waiting for a reference: the
// second filling must drop those waits without comparing every wait with every item.
void ReadRefilledCollection(benchmark::State& state)
{
    RecordWriter w;
    w.beginRecord("TProbe", "Root");
    for (int fill = 0; fill < 2; ++fill) {
        w.property("Items").beginCollection();
        for (int i = 0; i < state.range(0); ++i) w.collectionItem().property("Link").ident("Other").end();
        w.end();
    }
    w.end().end();
    const auto bytes = w.bytes();
    for (auto _ : state) {
        ByteViewStream stream(bytes);
        Probe root(nullptr);
        readComponentRecord(stream, root);
        benchmark::DoNotOptimize(root.items.count());
        Probe::loadedLog().clear();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ReadRefilledCollection)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity()->Unit(benchmark::kMillisecond);

void MemcpySameBytes4MiB(benchmark::State& state)
{
    const auto bytes = blobRecord();
    std::vector<std::uint8_t> destination(bytes.size());
    for (auto _ : state) {
        std::memcpy(destination.data(), bytes.data(), bytes.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(MemcpySameBytes4MiB);

// Prints the reader's speed on the 4 MiB record as a fraction of memcpy's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            auto rate = run.counters.find("bytes_per_second");
            if (rate != run.counters.end()) bytesPerSecond_[run.benchmark_name()] = rate->second.value;
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        auto reader = bytesPerSecond_.find("ReadBinaryProperty4MiB");
        auto copy = bytesPerSecond_.find("MemcpySameBytes4MiB");
        if (reader == bytesPerSecond_.end() || copy == bytesPerSecond_.end() || copy->second == 0) return;
        double ratio = reader->second / copy->second;
        std::cout << "4 MiB binary property: reader at " << ratio << " of memcpy speed (goal: at least 0.33)\n";
    }

private:
    std::map<std::string, double> bytesPerSecond_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
