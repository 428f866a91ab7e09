// Whole panel files from arbitrary bytes through the loader, each control painted as `render`
// paints it, onto a fixed surface: every class of the loader's table, at whatever sizes, positions
// and ranges its record gives. A control's paint must cost what the surface shows of it, not what
// it declares, so a record of 2^31 - 1 pixels paints as fast as one of 100.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QImage>

#include "FuzzApplication.h"

#include "cli/HeadlessMainWindow.h"
#include "framework/PaintTree.h"
#include "framework/WinControl.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Loader.h"
#include "panelfile/PictureList.h"
#include "streaming/Errors.h"
#include "streaming/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace trovelin;
    fuzzing::ensureApplication();
    static cli::HeadlessMainWindow window;
    static PictureList pictures;
    // A window's worth of pixels: what a record places beyond it is clipped, not allocated.
    static QImage surface(800, 600, QImage::Format_RGB32);
    PanelLoader loader(window, pictures, panelLoaderClasses());
    loader.setObserver({[](TControl& control) { paintControlTree(surface, control, {control.left(), control.top()}); },
                        nullptr});
    pictures.clear();
    ByteViewStream stream({data, size});
    try {
        loader.loadPanel(stream);
    } catch (const Exception&) {
    }
    window.takeEvents();
    if (!window.hostPanel().controls().empty()) std::abort();
    return 0;
}

// fontconfig keeps its configuration and caches until the program ends without freeing them;
// sanitizer builds should report the project's leaks, not those.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
