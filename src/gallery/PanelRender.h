#pragma once
// A panel file as its designer saw it. The loader reads the file as for a harvest, and keeps each
// control, the background first, in record order on one panel face of the button-face colour;
// records of classes the loader does not know stay as an outline labelled with their class and
// name. `render` paints the face once; the panel window hosts it live. Both show the same pixels
// because both paint this tree.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "framework/PaintBuffer.h"
#include "framework/WinControl.h"
#include "panelfile/PanelFileLoad.h"
#include "panelfile/PictureList.h"

namespace trovelin {

// No side of a rendered panel is larger than this, nor its area larger than the pixel limit; a
// larger extent is cut to the limit keeping its proportions, and controls beyond it are cut off.
// Every control paints what the face shows of it, so the limit bounds a render's cost however
// large the controls of a file say they are.
inline constexpr int maxRenderedSide = 8192;
inline constexpr std::int64_t maxRenderedPixels = 2048 * 2048;

// The panel's own surface: the parent of every control a panel file places, filled with its colour.
class PanelFace : public TWinControl {
public:
    PanelFace();
    void paint(TCanvas& canvas) override;
    bool opaque() const override { return true; }
};

class LoadedPanel {
public:
    // Loads `panelFile` (this system's path); decoded pictures may take `pixelBudgetBytes` at
    // once, as in a harvest. Never throws for what the file holds: problems are kept.
    LoadedPanel(const std::string& panelFile, std::uint64_t pixelBudgetBytes = defaultPixelBudgetBytes());
    ~LoadedPanel();
    LoadedPanel(const LoadedPanel&) = delete;
    LoadedPanel& operator=(const LoadedPanel&) = delete;

    // False when the file is not a panel file (or could not be opened): no face then.
    bool isPanel() const { return load_.header.has_value(); }
    // The load stopped before the end of the file; the face holds what was read before it.
    bool failed() const { return !load_.readWhole(); }
    // What the loader showed or threw, in order.
    const std::vector<LoaderEvent>& problems() const { return load_.events; }
    // Sized to every control it holds, within the limits above.
    PanelFace& face() { return *face_; }
    // What the controls' buffers may hold while the face paints, by paint() or by a caller's tree.
    PaintBufferBudget& paintBudget() { return paintBudget_; }

    // The face at rest, as one image; null when the file is no panel file.
    QImage paint();

private:
    // What the controls' buffers may hold while the face paints.
    PaintBufferBudget paintBudget_;
    std::unique_ptr<PanelFace> face_;
    // Declared after the face: they go first, while it is still their parent.
    std::vector<std::unique_ptr<TControl>> controls_;
    PanelLoadResult load_;
};

struct RenderedPanel {
    QImage image;  // null when the file is not a panel file
    std::vector<LoaderEvent> problems;  // what the loader showed or threw, in order
    bool failed = false;  // the load stopped before the end; the image shows what was read before it
};

RenderedPanel renderPanel(const std::string& panelFile, std::uint64_t pixelBudgetBytes = defaultPixelBudgetBytes());

}  // namespace trovelin
