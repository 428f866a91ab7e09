#pragma once
// `trovelin-cli render`: a panel file as its designer saw it. The loader reads the file as for a
// harvest, and each control, the background first, paints itself at its Left and Top onto one
// image before the loader lets it go. Records of classes the loader does not know show as an
// outline labelled with their class and name.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include <QImage>

#include "panelfile/PictureList.h"

namespace trovelin::cli {

// No side of a rendered panel is larger than this, nor its area larger than the pixel limit; a
// larger extent is cut to the limit keeping its proportions, and controls beyond it are cut off.
// Every control paints what the image shows of it, so the limit bounds a render's cost however
// large the controls of a file say they are.
inline constexpr int maxRenderedSide = 8192;
inline constexpr std::int64_t maxRenderedPixels = 2048 * 2048;

struct RenderedPanel {
    QImage image;  // null when the file is not a panel file
    std::vector<std::string> problems;  // what the loader showed or threw, in order
    bool failed = false;  // the load stopped on an error; the image shows what was read before it
};

// Decoded pictures may take `pixelBudgetBytes` at once, as in a harvest.
RenderedPanel renderPanel(const std::string& panelFile, std::uint64_t pixelBudgetBytes = defaultPixelBudgetBytes());

// Renders `panelFile` and writes the image as PNG to `outputFile`; returns the exit status: 0, or
// 1 when the load failed or the image could not be written.
int renderPanelToFile(const std::string& panelFile, const std::string& outputFile, std::ostream& errors,
                      std::uint64_t pixelBudgetBytes = defaultPixelBudgetBytes());

}  // namespace trovelin::cli
