// Bitmap data from arbitrary bytes: decoding either fails with one of the system's exceptions
// or yields an image whose every pixel can be read.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "streaming/Bitmap.h"
#include "streaming/Errors.h"
#include "streaming/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    trovelin::ByteViewStream stream({data, size});
    trovelin::TBitmap bitmap;
    try {
        bitmap.readData(stream);
    } catch (const trovelin::Exception&) {
        if (!bitmap.empty()) std::abort();  // a failed decode installs nothing
        return 0;
    }
    if (const trovelin::DibImage* image = bitmap.image()) {
        std::uint32_t sum = 0;
        for (int y = 0; y < image->height(); y += 1 + image->height() / 64)
            for (int x = 0; x < image->width(); x += 1 + image->width() / 64) sum += image->pixel(x, y);
        if (sum == 0xFFFFFFFFu) return 1;  // keeps the reads from being optimised away
    }
    return 0;
}
