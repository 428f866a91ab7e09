#include "support/PanelFileWriter.h"

#include <stdexcept>

namespace trovelin::testing {

namespace {

class ByteSink {
public:
    explicit ByteSink(std::vector<std::uint8_t>& out) : out_(out) {}

    void text(std::string_view s) { out_.insert(out_.end(), s.begin(), s.end()); }
    void littleEndian(std::uint64_t value, int byteCount)
    {
        for (int i = 0; i < byteCount; ++i) out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    // `values` padded with zeros to `count` little-endian entries.
    template <class T> void table(const std::vector<T>& values, std::size_t count, const char* what)
    {
        if (values.size() > count)
            throw std::invalid_argument(std::string(what) + " is longer than the variant's table");
        for (std::size_t i = 0; i < count; ++i)
            littleEndian(i < values.size() ? values[i] : 0, static_cast<int>(sizeof(T)));
    }

private:
    std::vector<std::uint8_t>& out_;
};

}  // namespace

std::vector<std::uint8_t> writePanelFile(const PanelFileContent& content)
{
    const auto channels = static_cast<std::size_t>(panelTableChannels(content.large));
    const std::size_t bitSetWords = channels / 32;

    std::vector<std::uint8_t> out;
    ByteSink sink(out);
    sink.text(content.magic.value_or(content.large ? "KVLP" : "KVL0"));
    if (!content.large && content.channelCount > 255)
        throw std::invalid_argument("a small file stores its count in one byte");
    sink.littleEndian(content.channelCount, content.large ? 2 : 1);
    sink.table(content.channelBits, bitSetWords, "channelBits");
    sink.table(content.channelBytes, channels, "channelBytes");
    sink.table(content.channelWords, channels, "channelWords");

    auto writeBlco = [&] {
        if (!content.blco) return;
        sink.text("BLCO");
        sink.table(*content.blco, channels, "blco");
    };
    auto writeSmth = [&] {
        if (!content.smth) return;
        sink.text("SMTH");
        sink.table(*content.smth, bitSetWords, "smth");
    };
    if (content.smthBeforeBlco) {
        writeSmth();
        writeBlco();
    } else {
        writeBlco();
        writeSmth();
    }

    if (content.title.size() > 255) throw std::invalid_argument("a title holds at most 255 characters");
    sink.littleEndian(content.title.size(), 1);
    sink.text(content.title);
    for (const auto& record : content.records) out.insert(out.end(), record.begin(), record.end());
    return out;
}

}  // namespace trovelin::testing
