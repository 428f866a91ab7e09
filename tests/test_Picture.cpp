// Picture payloads: the class name registry, the holder's graphic replacement rules, icons and
// metafiles with their header checks.

#include <gtest/gtest.h>

#include "streaming/Bitmap.h"
#include "streaming/Errors.h"
#include "streaming/Icon.h"
#include "streaming/Metafile.h"
#include "streaming/PixelBudget.h"
#include "streaming/Picture.h"
#include "streaming/Stream.h"
#include "support/BmpWriter.h"
#include "support/MetafileWriter.h"

namespace trovelin {
namespace {

using namespace testing;

void read(TPicture& picture, const std::vector<std::uint8_t>& payload)
{
    ByteViewStream stream(payload);
    picture.readData(stream);
}

std::string failure(const std::vector<std::uint8_t>& payload)
{
    TPicture picture;
    try {
        read(picture, payload);
    } catch (const Exception& error) {
        return error.message();
    }
    return "read";
}

const std::vector<std::uint8_t> smallBitmap = bitmapPayload(makeBmp24(2, 3, [](int, int) { return 0x102030u; }));

std::vector<std::uint8_t> wmf(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom,
                              std::uint16_t unitsPerInch)
{
    return placeableMetafileData(left, top, right, bottom, unitsPerInch, {1, 2, 3, 4});
}

std::vector<std::uint8_t> emf(std::uint32_t byteCount, std::array<std::int32_t, 4> frame, std::uint32_t storedBytes)
{
    return enhancedMetafileData(byteCount, frame, storedBytes);
}

TEST(Picture, ClassNamesAreLookedUpExactly)
{
    TPicture picture;
    int changes = 0;
    picture.onChange = [&] { ++changes; };
    read(picture, picturePayload("TBitmap", smallBitmap));
    EXPECT_EQ(picture.graphicClassName(), "TBitmap");
    EXPECT_EQ(picture.graphic()->height(), 3);
    EXPECT_EQ(changes, 1);

    // Not a registered class: no graphic and no error, the rest left unread.
    for (std::string_view name : {"tbitmap", "", "TJPEGImage", "TBitmap "}) {
        read(picture, picturePayload(name, smallBitmap));
        EXPECT_EQ(picture.graphic(), nullptr) << name;
    }
    read(picture, {});
    EXPECT_EQ(picture.graphic(), nullptr);
    // A name longer than any class name can be is not a class name either.
    auto longName = picturePayload(std::string(64, 'T'), smallBitmap);
    read(picture, longName);
    EXPECT_EQ(picture.graphic(), nullptr);
    EXPECT_EQ(picture.graphicClassName(), "");

    EXPECT_EQ(findGraphicClass("TMetafile")->extensions, "wmf;emf");
    EXPECT_EQ(findGraphicClass("TGraphic"), nullptr);
}

TEST(Picture, AFailingGraphicLeavesThePreviousOneInPlace)
{
    TPicture picture;
    read(picture, picturePayload("TBitmap", smallBitmap));
    TGraphic* before = picture.graphic();
    auto bad = smallBitmap;
    bad[4] = 'X';
    EXPECT_THROW(read(picture, picturePayload("TBitmap", bad)), EInvalidGraphic);
    EXPECT_EQ(picture.graphic(), before);
    EXPECT_EQ(failure(picturePayload("TIcon", {0, 0, 2, 0, 1, 0})), "Icon image is not valid");
}

TEST(Picture, TheBitmapAccessorForcesABitmap)
{
    TPicture picture;
    EXPECT_TRUE(picture.bitmap().empty());
    EXPECT_EQ(picture.graphicClassName(), "TBitmap");

    read(picture, picturePayload("TMetafile", wmf(0, 0, 96, 48, 96)));
    EXPECT_EQ(picture.graphicClassName(), "TMetafile");
    TBitmap& forced = picture.bitmap();
    EXPECT_TRUE(forced.empty());
    EXPECT_TRUE(copyIntoNewBitmap(forced)->empty());
    EXPECT_EQ(picture.graphicClassName(), "TBitmap");

    TPicture copy;
    read(picture, picturePayload("TBitmap", smallBitmap));
    copy.assign(&picture);
    EXPECT_EQ(static_cast<TBitmap*>(copy.graphic())->image(), picture.bitmap().image());
    copy.assign(nullptr);
    EXPECT_EQ(copy.graphic(), nullptr);
}

TEST(Picture, IconsKeepTheirBytesAndCheckTheDirectoryType)
{
    TPicture picture;
    const std::vector<std::uint8_t> icon{0, 0, 1, 0, 1, 0, 16, 16, 0, 0};
    read(picture, picturePayload("TIcon", icon));
    auto* stored = dynamic_cast<TIcon*>(picture.graphic());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->bytes(), icon);
    EXPECT_EQ(stored->width(), standardIconSize);
    read(picture, picturePayload("TIcon", {0, 0, 0, 0, 0, 0}));  // the stock application icon
    EXPECT_EQ(picture.graphicClassName(), "TIcon");

    EXPECT_EQ(failure(picturePayload("TIcon", {0, 0, 2, 0, 1, 0})), "Icon image is not valid");
    EXPECT_EQ(failure(picturePayload("TIcon", {0, 0, 1, 0, 1})), "Stream read error");
}

TEST(Picture, PlaceableMetafilesAreSizedInHundredthsOfAMillimetre)
{
    struct Case {
        std::int16_t left, top, right, bottom;
        std::uint16_t unitsPerInch;
        int mmWidth, mmHeight;
    };
    for (Case c : {Case{0, 0, 1440, 720, 1440, 2540, 1270}, Case{0, 0, 100, 1, 1440, 176, 2},
                   Case{10, 10, 106, 58, 0, 2540, 1270}, Case{100, 0, 0, -7, 1440, -176, -12}}) {
        TPicture picture;
        read(picture, picturePayload("TMetafile", wmf(c.left, c.top, c.right, c.bottom, c.unitsPerInch)));
        auto* metafile = dynamic_cast<TMetafile*>(picture.graphic());
        ASSERT_NE(metafile, nullptr);
        EXPECT_FALSE(metafile->enhanced());
        EXPECT_EQ(metafile->mmWidth(), c.mmWidth);
        EXPECT_EQ(metafile->mmHeight(), c.mmHeight);
        EXPECT_EQ(metafile->records(), (std::vector<std::uint8_t>{1, 2, 3, 4}));
    }
    TPicture picture;
    read(picture, picturePayload("TMetafile", wmf(0, 0, 2540, 2540, 2540)));
    EXPECT_EQ(picture.graphic()->width(), 96);

    auto badKey = wmf(0, 0, 10, 10, 96);
    badKey[4] ^= 1;
    EXPECT_EQ(failure(picturePayload("TMetafile", badKey)), "Metafile is not valid");
    auto badChecksum = wmf(0, 0, 10, 10, 96);
    badChecksum[4 + 20] ^= 1;
    EXPECT_EQ(failure(picturePayload("TMetafile", badChecksum)), "Metafile is not valid");
    auto shortLength = wmf(0, 0, 10, 10, 96);
    patchU32(shortLength, 0, 25);
    EXPECT_EQ(failure(picturePayload("TMetafile", shortLength)), "Metafile is not valid");
    // A length beyond the data takes the records that are there.
    auto longLength = wmf(0, 0, 10, 10, 96);
    patchU32(longLength, 0, 0x7FFFFFFF);
    EXPECT_EQ(failure(picturePayload("TMetafile", longLength)), "read");
}

TEST(Picture, EnhancedMetafilesAreValidatedByTheirHeader)
{
    TPicture picture;
    read(picture, picturePayload("TMetafile", emf(140, {100, 200, 2100, 1200}, 140)));
    auto* metafile = dynamic_cast<TMetafile*>(picture.graphic());
    ASSERT_NE(metafile, nullptr);
    EXPECT_TRUE(metafile->enhanced());
    EXPECT_EQ(metafile->records().size(), 140u);
    EXPECT_EQ(metafile->mmWidth(), 2000);
    EXPECT_EQ(metafile->mmHeight(), 1000);

    EXPECT_EQ(failure(picturePayload("TMetafile", emf(99, {0, 0, 1, 1}, 140))), "Metafile is not valid");
    EXPECT_EQ(failure(picturePayload("TMetafile", emf(400, {0, 0, 1, 1}, 399))), "Stream read error");
}

// Files loading side by side share one budget: a picture that does not fit says what is left
// and what the other files hold, so that it does not read as a picture larger than the budget.
TEST(PixelBudget, APictureOverWhatIsLeftNamesWhatTheOtherFilesHold)
{
    constexpr std::uint64_t KiB = 1024;
    PixelBudget budget(1800 * KiB);
    std::vector<PixelCharge> held;
    held.push_back(budget.charge(1 * KiB));
    std::vector<PixelBudget> others;
    for (int i = 0; i < 7; ++i) {
        others.push_back(budget.forAnotherHolder());
        held.push_back(others.back().charge(i == 0 ? 137 * KiB : 127 * KiB));
    }
    try {
        budget.charge(901 * KiB);
        ADD_FAILURE() << "charged past the budget";
    } catch (const EOutOfMemory& error) {
        EXPECT_EQ(error.messageWithReason(), "Out of memory: the picture needs 901 KiB, over the 900 KiB left of the "
                                             "--max-memory budget (899 KiB held by 7 other files)");
    }
    // Alone, the budget is all there is to name.
    held.resize(1);
    try {
        budget.charge(1800 * KiB);
        ADD_FAILURE() << "charged past the budget";
    } catch (const EOutOfMemory& error) {
        EXPECT_EQ(error.messageWithReason(), "Out of memory: the picture needs 2 MiB, over the --max-memory budget of 2 MiB");
    }
}

}  // namespace
}  // namespace trovelin
