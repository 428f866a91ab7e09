// Whole panel files from arbitrary bytes through the path the panel window takes: the loader
// keeps every control on the panel's face, and the face is painted at its own size (what the
// window's surface, `render` and `thumbnail` paint) and shrunk to the thumbnail's 256 pixels; then
// a press and a drag on the first control that takes it, and the face painted again, as the
// window repaints during a drag. Every class of the loader's table comes at whatever sizes,
// positions and ranges its record gives, so painting must cost what the face shows, not what a
// record declares: run with -rss_limit_mb=256 -malloc_limit_mb=128 -timeout=2.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <QImage>

#include "FuzzApplication.h"

#include "framework/ControlInput.h"
#include "framework/PaintBuffer.h"
#include "framework/PaintTree.h"
#include "gallery/PanelRender.h"

namespace {

// The file the inputs are written to, gone with the process.
struct InputFile {
    std::string path = (std::filesystem::temp_directory_path() /
                        ("fuzz-panel-paint-" + std::to_string(::getpid()) + ".kvr")).string();
    ~InputFile() { std::filesystem::remove(path); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace trovelin;
    fuzzing::ensureApplication();
    // The panel window and the thumbnailer read a file; one per process, written anew each time.
    static const InputFile input;
    const std::string& file = input.path;
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    LoadedPanel panel(file);
    if (!panel.isPanel()) return 0;
    QImage image = panel.paint();
    const QImage thumbnail = image.scaled(256, 256, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    static_cast<void>(thumbnail);

    PanelFace& face = panel.face();
    ControlInput pointer(face);
    for (const TControl* control : face.controls()) {
        if (!control->visible() || control->width() <= 0 || control->height() <= 0) continue;
        const TPoint at{control->left() + 1, control->top() + 1};
        if (at.x < 0 || at.y < 0 || at.x >= face.width() || at.y >= face.height()) continue;
        pointer.mouseDown(TMouseButton::mbLeft, ssLeft, at);
        for (int step = 1; step <= 3; ++step) pointer.mouseMove(ssLeft, {at.x, at.y + 7 * step});
        pointer.mouseUp(TMouseButton::mbLeft, 0, {at.x, at.y + 21});
        break;
    }
    paintControlTree(image, face, panel.paintBudget());
    return 0;
}

// fontconfig keeps its configuration and caches until the program ends without freeing them;
// sanitizer builds should report the project's leaks, not those.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
