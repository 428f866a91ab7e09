#pragma once
// Lossless PNG files of the program's pictures, made for speed: one fast deflate pass over rows
// with a fixed filter. Any picture the bitmap decoder accepts can be written, however tall;
// files are replaced whole, never left half-written.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "streaming/DibImage.h"

namespace trovelin {

// Encodes pictures one after another and keeps its working memory between them; one encoder
// serves one thread.
class PngEncoder {
public:
    PngEncoder();
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // As encodePng.
    std::vector<std::uint8_t> encode(const DibImage& image);
    std::vector<std::uint8_t> encode(const QImage& image);

private:
    struct Work;
    std::unique_ptr<Work> work_;
};

// A decoded bitmap at its own depth: 1-, 4- and 8-bit images keep their indices and colour table
// (padded with black, as drawing reads indices past the table); other depths become 8-bit RGB.
std::vector<std::uint8_t> encodePng(const DibImage& image);

// The colours of a non-null Qt image as opaque 8-bit RGB; an alpha channel is not kept.
std::vector<std::uint8_t> encodePng(const QImage& image);

// Encodes and writes through writeFileReplacing, whose "Cannot write %s: <reason>" it reports,
// as it reports running out of memory while encoding. The path "-" is standard output.
void writePng(const QImage& image, const std::string& path);

}  // namespace trovelin
