// Whole panel files from arbitrary bytes made into thumbnails as `trovelin-cli thumbnail` makes
// them: read from a file, every control kept on the panel's face, the face painted whole at the
// size the file gives it, shrunk to the size file managers ask for and encoded as PNG, within the
// thumbnailer's own budget for decoded pictures.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include <QImage>

#include "FuzzApplication.h"

#include "cli/Thumbnail.h"
#include "framework/PngWriter.h"
#include "gallery/PanelRender.h"

namespace {

// The panel is loaded from a file, as the thumbnailer loads it; one file serves every input.
struct PanelFile {
    PanelFile()
    {
        char name[] = "/tmp/fuzz_thumbnail-XXXXXX";
        const int descriptor = ::mkstemp(name);
        if (descriptor < 0) std::abort();
        ::close(descriptor);
        path = name;
    }
    ~PanelFile() { ::unlink(path.c_str()); }
    std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace trovelin;
    fuzzing::ensureApplication();
    static const PanelFile file;
    std::ofstream(file.path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                       static_cast<std::streamsize>(size));
    const RenderedPanel panel = renderPanel(file.path, cli::defaultThumbnailPixelBudgetBytes);
    if (panel.image.isNull()) return 0;
    const QImage thumbnail = cli::thumbnailOf(panel.image, 256);
    if (thumbnail.isNull() || std::max(thumbnail.width(), thumbnail.height()) > 256) std::abort();
    if (encodePng(thumbnail).empty()) std::abort();
    return 0;
}

// fontconfig keeps its configuration and caches until the program ends without freeing them;
// sanitizer builds should report the project's leaks, not those.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
