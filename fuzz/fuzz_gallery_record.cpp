// Component records from arbitrary bytes, read with the widget gallery's classes (every skinned
// widget and panel control) into its form and then painted: no record may fault, hang, divide by
// zero or allocate without bound, whatever sizes, ranges and positions it gives.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QImage>

#include "FuzzApplication.h"

#include "framework/PaintBuffer.h"
#include "framework/PaintTree.h"
#include "gallery/GalleryClasses.h"
#include "streaming/Errors.h"
#include "streaming/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace trovelin;
    fuzzing::ensureApplication();
    TGalleryForm form(nullptr);
    ByteViewStream stream({data, size});
    ReaderEnvironment environment;
    environment.registry = &galleryClasses();
    try {
        readComponentRecord(stream, form, environment);
    } catch (const Exception&) {
        // What was read before the failure still paints.
    }
    if (stream.position() < 0 || stream.position() > stream.size()) std::abort();
    // A fixed surface: what a record places beyond it is clipped, not allocated.
    QImage surface(320, 240, QImage::Format_RGB32);
    PaintBufferBudget budget;
    paintControlTree(surface, form, budget);
    return 0;
}

// fontconfig keeps its configuration and caches until the program ends without freeing them;
// sanitizer builds should report the project's leaks, not those.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
