// Bitmap decoding of 1024 x 768 images in every accepted stored form, against Qt's BMP reader on
// the same bytes and against a memcpy of the pixel bytes; and the harvest copy, which shares
// storage and so costs the same at every size.

#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>

#include "streaming/Bitmap.h"
#include "streaming/Stream.h"
#include "support/BmpForms.h"

namespace {

using namespace trovelin;
using namespace trovelin::testing;

constexpr int benchWidth = 1024;
constexpr int benchHeight = 768;

struct Sample {
    std::vector<std::uint8_t> bmp;
    std::vector<std::uint8_t> payload;
    std::size_t pixelBytes;
};

Sample makeSample(const BmpForm& form)
{
    std::mt19937 random(1024);
    Sample sample;
    sample.bmp = makeBmp(randomBmpContent(form, benchWidth, benchHeight, random));
    sample.payload = bitmapPayload(sample.bmp);
    std::uint32_t offset = 0;
    std::memcpy(&offset, sample.bmp.data() + 10, 4);
    sample.pixelBytes = sample.bmp.size() - offset;
    return sample;
}

void decode(benchmark::State& state, const Sample& sample)
{
    for (auto _ : state) {
        ByteViewStream stream(sample.payload);
        TBitmap bitmap;
        bitmap.readData(stream);
        benchmark::DoNotOptimize(bitmap.image()->bits());
    }
}

void qtReader(benchmark::State& state, const Sample& sample)
{
    for (auto _ : state) {
        QImage image;
        image.loadFromData(sample.bmp.data(), static_cast<int>(sample.bmp.size()), "BMP");
        benchmark::DoNotOptimize(image.constBits());
    }
}

void copyPixels(benchmark::State& state, const Sample& sample)
{
    std::vector<std::uint8_t> destination(sample.pixelBytes);
    const std::uint8_t* source = sample.bmp.data() + (sample.bmp.size() - sample.pixelBytes);
    for (auto _ : state) {
        std::memcpy(destination.data(), source, sample.pixelBytes);
        benchmark::ClobberMemory();
    }
}

void HarvestCopy32Bit(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    TBitmap source;
    source.setImage(std::make_shared<DibImage>(side, side, 32));
    for (auto _ : state) {
        auto copy = copyIntoNewBitmap(source);
        benchmark::DoNotOptimize(copy->image());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(HarvestCopy32Bit)->Arg(64)->Arg(1024)->Arg(4096)->Complexity(benchmark::o1);

const std::map<std::string, Sample>& samples()
{
    static const std::map<std::string, Sample> all = [] {
        std::map<std::string, Sample> made;
        for (const BmpForm& form : acceptedBmpForms()) made.emplace(std::string(form.name), makeSample(form));
        return made;
    }();
    return all;
}

// Prints, per form, the decoder's time against Qt's reader and against memcpy of the pixel bytes.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) seconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-34s %10s %10s %10s %12s %12s\n", "form (1024 x 768)", "decode us", "Qt us", "memcpy us",
                    "Qt / decode", "decode / cpy");
        for (const BmpForm& form : acceptedBmpForms()) {
            const std::string name(form.name);
            const double ours = seconds_["Decode/" + name];
            const double qt = seconds_["QtReader/" + name];
            const double copy = seconds_["Memcpy/" + name];
            if (ours <= 0 || copy <= 0) continue;
            std::printf("%-34s %10.0f %10.0f %10.0f %11.1fx %11.2fx\n", name.c_str(), ours, qt,
                        copy, qt / ours, ours / copy);
        }
    }

private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv)
{
    for (const auto& [name, sample] : samples()) {
        benchmark::RegisterBenchmark(("Decode/" + name).c_str(), decode, sample)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("QtReader/" + name).c_str(), qtReader, sample)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Memcpy/" + name).c_str(), copyPixels, sample)->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
