#include "support/ShadedPanel.h"

#include "support/BmpWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

namespace trovelin::testing {

std::vector<std::uint8_t> shadedBackgroundPanel(int seed)
{
    RecordWriter w;
    w.beginRecord("TImage", "Background");
    w.property("Picture.Data").binary(picturePayload("TBitmap", bitmapPayload(makeBmp24(1024, 768, [seed](int x, int y) {
        const std::uint32_t grain = (static_cast<std::uint32_t>(x * 7919 + y * 104729 + seed) * 2654435761u) >> 29;
        return ((x / 4 + grain) << 16) | ((y / 3 + grain) << 8) | ((x + y) / 8 + grain);
    }))));
    w.end().end();
    PanelFileContent content;
    content.records = {w.bytes()};
    return writePanelFile(content);
}

}  // namespace trovelin::testing
