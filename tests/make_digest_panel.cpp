// Writes a panel file holding one picture of every stored bitmap form the decoder accepts, at an
// odd width so that packed rows end inside a byte, for the README digest's test to extract.
// Usage: make_digest_panel FILE.kvr

#include <cstdio>
#include <random>
#include <string>

#include "support/BmpForms.h"
#include "support/FileWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

int main(int argc, char** argv)
{
    using namespace trovelin::testing;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_digest_panel FILE.kvr\n");
        return 2;
    }
    std::mt19937 random(31);
    PanelFileContent content;
    RecordWriter background;
    background.beginRecord("TImage", "Background")
        .property("Picture.Data")
        .binary(picturePayload("TBitmap", bitmapPayload(makeBmp24(13, 5, [](int x, int y) {
                                   return static_cast<std::uint32_t>(x * 0x131313 + y * 0x010203);
                               }))))
        .end()
        .end();
    content.records.push_back(background.bytes());
    int button = 0;
    for (const BmpForm& form : acceptedBmpForms()) {
        RecordWriter glyph;
        glyph.beginRecord("TSpeedButton", "Button" + std::to_string(++button))
            .property("Glyph.Data")
            .binary(bitmapPayload(makeBmp(randomBmpContent(form, 13, 5, random))))
            .end()
            .end();
        content.records.push_back(glyph.bytes());
    }
    return writeFile(argv[1], writePanelFile(content)) ? 0 : 1;
}
