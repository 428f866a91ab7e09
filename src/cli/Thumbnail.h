#pragma once
// `trovelin-cli thumbnail`: the small picture of a panel that file managers show in place of a
// generic icon, made through the freedesktop thumbnailer convention (share/thumbnailers). The
// panel is rendered as `render` paints it and scaled down to the size the file manager asks for.

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

#include <QImage>

#include "panelfile/PictureList.h"

namespace trovelin::cli {

// The file managers' "normal" size.
inline constexpr int defaultThumbnailSize = 128;
// File managers run the thumbnailer on every panel file a user merely browses past, so it keeps
// to limits of its own, whatever a file asks for: the decoded pixels of its pictures, and time.
inline constexpr std::uint64_t defaultThumbnailPixelBudgetBytes = std::uint64_t{256} << 20;
inline constexpr std::chrono::milliseconds defaultThumbnailTimeLimit{10'000};

// `panel` scaled smoothly so that its longer side is `longerSide`, keeping its proportions;
// a panel no larger than that keeps its own size, as a thumbnail never enlarges.
QImage thumbnailOf(const QImage& panel, int longerSide);

// Renders `panelFile` and writes its thumbnail as PNG to `outputFile`; returns the exit status:
// 0, or 1 when the panel did not load to its end or the image could not be written. A failure
// writes nothing, so that the file manager keeps its generic icon rather than show half a panel.
// An empty output file is the thumbnail service's own placeholder and is written into (emptied
// again if that fails); other outputs are replaced whole (see writeFileFillingPlaceholder).
// When loading, painting and encoding take longer than `timeLimit`, the process ends at once with
// exit status 1, having written nothing.
int writePanelThumbnail(const std::string& panelFile, const std::string& outputFile, int longerSide,
                        std::ostream& errors, std::uint64_t pixelBudgetBytes = defaultThumbnailPixelBudgetBytes,
                        std::chrono::milliseconds timeLimit = defaultThumbnailTimeLimit);

}  // namespace trovelin::cli
