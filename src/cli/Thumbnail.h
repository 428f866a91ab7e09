#pragma once
// `trovelin-cli thumbnail`: the small picture of a panel that file managers show in place of a
// generic icon, made through the freedesktop thumbnailer convention (share/thumbnailers). The
// panel is rendered as `render` paints it and scaled down to the size the file manager asks for.

#include <cstdint>
#include <iosfwd>
#include <string>

#include <QImage>

#include "panelfile/PictureList.h"

namespace trovelin::cli {

// The file managers' "normal" size.
inline constexpr int defaultThumbnailSize = 128;

// `panel` scaled smoothly so that its longer side is `longerSide`, keeping its proportions;
// a panel no larger than that keeps its own size, as a thumbnail never enlarges.
QImage thumbnailOf(const QImage& panel, int longerSide);

// Renders `panelFile` and writes its thumbnail as PNG to `outputFile`; returns the exit status:
// 0, or 1 when the panel did not load to its end or the image could not be written. A failure
// writes nothing, so that the file manager keeps its generic icon rather than show half a panel.
// An empty output file is the thumbnail service's own placeholder and is written into; other
// outputs are replaced whole, as `render` replaces them.
int writePanelThumbnail(const std::string& panelFile, const std::string& outputFile, int longerSide,
                        std::ostream& errors, std::uint64_t pixelBudgetBytes = defaultPixelBudgetBytes());

}  // namespace trovelin::cli
