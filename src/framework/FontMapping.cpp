#include "framework/FontMapping.h"

#include <algorithm>

#include <QFontMetrics>
#include <QStringList>

#include "framework/Windows1252.h"

namespace trovelin {

namespace {

// Each original face with the installed faces to try, best first. fontconfig falls back to
// the default sans face when none of them is installed.
void installSubstitutions()
{
    static const bool installed = [] {
        const QStringList sans{"Liberation Sans", "Arimo", "DejaVu Sans"};
        // Measured unsmoothed with full hinting at 8 to 10 pixels: the condensed face stays
        // legible and narrow, where Liberation Sans runs its letters together at 8 pixels and
        // DejaVu Sans is a sixth wider.
        const QStringList small{"DejaVu Sans Condensed", "Liberation Sans", "DejaVu Sans"};
        const QStringList serif{"Liberation Serif", "Tinos", "DejaVu Serif"};
        const QStringList mono{"Liberation Mono", "Cousine", "DejaVu Sans Mono"};
        QFont::insertSubstitutions("MS Sans Serif", sans);
        QFont::insertSubstitutions("Arial", sans);
        QFont::insertSubstitutions("Small Fonts", small);
        QFont::insertSubstitutions("SmallFonts", small);
        QFont::insertSubstitutions("MS Serif", serif);
        QFont::insertSubstitutions("Times New Roman", serif);
        QFont::insertSubstitutions("Courier New", mono);
        return true;
    }();
    (void)installed;
}

// The largest character height in pixels whose ascent plus descent is at most `cellHeight`.
int pixelSizeForCellHeight(QFont font, int cellHeight)
{
    auto cellOf = [&font](int pixels) {
        font.setPixelSize(pixels);
        return QFontMetrics(font).height();
    };
    constexpr int reference = 256;
    font.setPixelSize(reference);
    const double cellPerPixel = std::max(QFontMetricsF(font).height() / reference, 0.5);
    int pixels = std::clamp(static_cast<int>(cellHeight / cellPerPixel + 0.5), 1, maxFontPixels);
    while (pixels > 1 && cellOf(pixels) > cellHeight) --pixels;
    while (pixels < maxFontPixels && cellOf(pixels + 1) <= cellHeight) ++pixels;
    return pixels;
}

}  // namespace

QFont toQFont(const TFont& font)
{
    installSubstitutions();
    QFont result(fromWindows1252(font.name()));
    result.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    result.setHintingPreference(QFont::PreferFullHinting);
    result.setBold((font.style() & fsBold) != 0);
    result.setItalic((font.style() & fsItalic) != 0);
    result.setUnderline((font.style() & fsUnderline) != 0);
    result.setStrikeOut((font.style() & fsStrikeOut) != 0);
    constexpr int defaultCharacterHeight = 11;  // what a new font has
    const std::int64_t height = font.height();
    if (height > 0)
        result.setPixelSize(pixelSizeForCellHeight(result, static_cast<int>(std::min<std::int64_t>(height, maxFontPixels))));
    else
        result.setPixelSize(height == 0 ? defaultCharacterHeight : static_cast<int>(std::min(-height, std::int64_t{maxFontPixels})));
    return result;
}

}  // namespace trovelin
