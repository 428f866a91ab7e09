// Picture payloads from arbitrary bytes: the holder ends with a graphic of a registered class or
// none, or the read fails with one of the system's exceptions.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "streaming/Bitmap.h"
#include "streaming/Errors.h"
#include "streaming/Picture.h"
#include "streaming/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    trovelin::ByteViewStream stream({data, size});
    trovelin::TPicture picture;
    try {
        picture.readData(stream);
    } catch (const trovelin::Exception&) {
        if (picture.graphic()) std::abort();  // a failed read keeps the previous state: none
        return 0;
    }
    if (picture.graphic() && !trovelin::findGraphicClass(picture.graphicClassName())) std::abort();
    auto copy = trovelin::copyIntoNewBitmap(picture.bitmap());
    if (copy->width() != picture.bitmap().width()) std::abort();
    return 0;
}
