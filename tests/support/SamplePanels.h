#pragma once
// The sample panel files that ship next to the programs, with what the loader must harvest
// from each. tools/make_sample_panels writes them; a test keeps the committed copies current.

#include <string>
#include <string_view>
#include <vector>

namespace trovelin::testing {

struct SamplePicture {
    int width;
    int height;
    int bitsPerPixel;
    std::string record;  // the record's name and class, and the property holding the picture
    std::string recordClass;
    std::string property;
};

struct SamplePanel {
    std::string fileName;
    std::vector<std::uint8_t> bytes;
    std::vector<SamplePicture> pictures;  // in harvest order
};

std::vector<SamplePanel> samplePanels();

// A background image control's record: `width` x `height`, holding a red 4 x 3 bitmap at its top
// left, so that where the control paints its picture shows.
std::vector<std::uint8_t> redCornerBackgroundRecord(int width, int height);

// A panel file holding only a background of `width` x 4 pixels, all grey.
std::vector<std::uint8_t> greyBackgroundPanel(int width);

// A hostile panel: a background without picture, then `buttonCount` speed buttons whose 54-byte glyphs each declare 8000 x 8000
// pixels at 32 bits (256,000,000 bytes) and hold no pixel bytes at all.
std::vector<std::uint8_t> declaredOnlyGlyphsPanel(int buttonCount);

// A hostile panel (12 KB for 200 controls): faders (every tenth with a fine slot), knobs, XY
// fields, buttons, labels and group boxes in turn, placed 40 pixels apart in rows of 20 and each
// declared 2^31 - 1 pixels wide and high.
std::vector<std::uint8_t> hugeControlsPanel(int controlCount);

// A hostile panel of `controlCount` controls of `classes` in turn (class names of the loader's
// table), placed 40 pixels apart in rows of 20 (20 rows, then over the first again), or all at
// the top left when `stacked`, and each declared `side` pixels wide and high; faders and XY
// fields take the fine slot every other time, labels and group boxes a caption.
std::vector<std::uint8_t> sizedControlsPanel(const std::vector<std::string_view>& classes, int controlCount,
                                             std::int32_t side, bool stacked = false);

// sizedControlsPanel() with as many controls as fit in `maxBytes` (a panel file's largest size).
std::vector<std::uint8_t> largestSizedControlsPanel(const std::vector<std::string_view>& classes, std::int32_t side,
                                                    bool stacked = false, std::size_t maxBytes = 64 * 1024);

// The class names of the loader's table, in its order.
std::vector<std::string_view> loaderClassNames();

}  // namespace trovelin::testing
