#include "cli/Thumbnail.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <ostream>
#include <vector>

#include "framework/PngWriter.h"
#include "gallery/PanelRender.h"
#include "platform/ReplacingFile.h"
#include "streaming/Errors.h"
#include "streaming/PrintableText.h"

namespace trovelin::cli {

QImage thumbnailOf(const QImage& panel, int longerSide)
{
    const int longer = std::max(panel.width(), panel.height());
    if (longer <= longerSide) return panel;
    // Rounded, and never below one pixel: a strip of a panel stays a visible strip.
    const auto scaledSide = [&](int side) {
        return std::max(1, static_cast<int>((static_cast<std::int64_t>(side) * longerSide + longer / 2) / longer));
    };
    // Qt's smooth scaling averages every source pixel when it shrinks, so thin lines and text
    // of the panel fade instead of vanishing or flickering as sampled pixels would.
    return panel.scaled(scaledSide(panel.width()), scaledSide(panel.height()), Qt::IgnoreAspectRatio,
                        Qt::SmoothTransformation);
}

int writePanelThumbnail(const std::string& panelFile, const std::string& outputFile, int longerSide,
                        std::ostream& errors, std::uint64_t pixelBudgetBytes)
{
    const RenderedPanel panel = renderPanel(panelFile, pixelBudgetBytes);
    for (const std::string& problem : panel.problems)
        errors << printableText(panelFile) << ": " << printableText(problem) << '\n';
    if (panel.image.isNull() || panel.failed) return 1;
    try {
        const std::vector<std::uint8_t> png = encodePng(thumbnailOf(panel.image, longerSide));
        if (outputFile == "-")
            writeStandardOutput(png);
        else
            writeFileFillingPlaceholder(outputFile, png);
    } catch (const std::bad_alloc&) {
        errors << "Cannot write " << printableText(outputFile) << ": Out of memory\n";
        return 1;
    } catch (const Exception& error) {
        errors << printableText(error.message()) << '\n';
        return 1;
    }
    return 0;
}

}  // namespace trovelin::cli
