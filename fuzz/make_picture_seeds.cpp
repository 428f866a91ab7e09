// Writes the seed corpora of fuzz_bitmap and fuzz_picture: usage
// make_picture_seeds <bitmap directory> <picture directory>.
// Bitmap seeds are small images of every accepted form; picture seeds wrap some of them and add
// icons and both metafile forms.

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "support/BmpForms.h"
#include "support/FileWriter.h"
#include "support/MetafileWriter.h"

using namespace trovelin::testing;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_picture_seeds <bitmap directory> <picture directory>\n");
        return 2;
    }
    const std::string bitmaps = argv[1];
    const std::string pictures = argv[2];
    std::mt19937 random(7);
    bool ok = true;
    int n = 0;
    for (const BmpForm& form : acceptedBmpForms()) {
        const auto payload = bitmapPayload(makeBmp(randomBmpContent(form, 5, 3, random)));
        ok &= writeFile(bitmaps + "/form-" + std::to_string(n) + ".bin", payload);
        ok &= writeFile(pictures + "/bitmap-" + std::to_string(n++) + ".bin", picturePayload("TBitmap", payload));
    }
    ok &= writeFile(bitmaps + "/empty.bin", {0, 0, 0, 0});
    ok &= writeFile(pictures + "/icon.bin", picturePayload("TIcon", {0, 0, 1, 0, 1, 0, 16, 16, 0, 0}));
    ok &= writeFile(pictures + "/wmf.bin", picturePayload("TMetafile", placeableMetafileData(0, 0, 100, 50, 1440, {3, 0, 0, 0, 0, 0})));
    ok &= writeFile(pictures + "/emf.bin", picturePayload("TMetafile", enhancedMetafileData(108, {0, 0, 2000, 1000}, 108)));
    ok &= writeFile(pictures + "/unknown.bin", picturePayload("TJPEGImage", {1, 2, 3}));
    return ok ? 0 : 1;
}
