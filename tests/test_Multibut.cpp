// The multi-channel button: the two record forms of its channel list, reading and writing them
// back, its round painting with the caption and glyph stack, and its loading from a panel file.

#include <gtest/gtest.h>
#include <gmock/gmock.h>
#include <unistd.h>

#include <filesystem>

#include <QPainter>

#include "panelfile/RecordingLoaderHost.h"
#include "framework/Canvas.h"
#include "framework/PaintBuffer.h"
#include "framework/PaintTree.h"
#include "framework/SystemColors.h"
#include "framework/WinControl.h"
#include "panelctl/Multibut.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Loader.h"
#include "panelfile/PictureList.h"
#include "streaming/Errors.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"
#include "support/BmpWriter.h"
#include "support/FileWriter.h"
#include "support/GuiApplication.h"
#include "support/PanelFileWriter.h"
#include "support/PixelProbe.h"
#include "support/RecordWriter.h"
#include "support/TestControlHost.h"

namespace trovelin {
namespace {

using testing::colorAt;
using testing::RecordWriter;

// The items of the list that writeChannels writes.
std::vector<std::int32_t> writtenItems(const TMultiButton& button)
{
    RecordWriter writer;
    button.writeChannels(writer);
    ByteViewStream stream(writer.bytes());
    Reader reader(stream);
    std::vector<std::int32_t> items;
    reader.readListBegin();
    while (!reader.endOfList()) items.push_back(reader.readInteger());
    reader.readListEnd();
    EXPECT_EQ(stream.position(), static_cast<std::int64_t>(writer.bytes().size()));
    return items;
}

// A record that stores `items` as its "Channels" list and then a caption, read into `button`.
void readChannelList(TMultiButton& button, const std::vector<std::int32_t>& items)
{
    RecordWriter w;
    w.beginRecord("TMultiButton", "Button1").property("Channels").beginList();
    for (std::int32_t item : items) w.integer(item);
    w.end().property("Caption").string("after").end().end();
    ByteViewStream stream(w.bytes());
    readComponentRecord(stream, button);
}

std::string readFailure(const std::vector<std::int32_t>& items)
{
    TMultiButton button(nullptr);
    try {
        readChannelList(button, items);
    } catch (const Exception& error) {
        return error.message();
    }
    return "read";
}

std::vector<std::int32_t> shortForm(std::int32_t first)
{
    std::vector<std::int32_t> items(multiButtonShortChannels, -1);
    items[0] = first;
    return items;
}

TEST(MultibutChannels, AFreshButtonWritesTheShortFormOfUnusedChannels)
{
    TMultiButton button(nullptr);
    EXPECT_EQ(writtenItems(button), std::vector<std::int32_t>(32, -1));
}

TEST(MultibutChannels, ChannelsPast31SwitchTheWriterToTheLongForm)
{
    TMultiButton button(nullptr);
    button.setChannels(31, 7);
    auto items = writtenItems(button);
    ASSERT_EQ(items.size(), 32u);
    EXPECT_EQ(items[31], 7);

    button.setChannels(32, 300);
    items = writtenItems(button);
    ASSERT_EQ(items.size(), 257u);
    EXPECT_EQ(items[0], 256);
    EXPECT_EQ(items[32], 7);
    EXPECT_EQ(items[33], 300);
    EXPECT_EQ(items[256], -1);
}

TEST(MultibutChannels, AFirstChannelThatWouldReadAsACountIsWrittenInTheLongForm)
{
    TMultiButton button(nullptr);
    for (std::int16_t first : {std::int16_t{256}, std::int16_t{-2}}) {
        button.setChannels(0, first);
        const auto items = writtenItems(button);
        ASSERT_EQ(items.size(), 257u);
        EXPECT_EQ(items[1], first);
    }
}

// Writes the button's channels into a record, reads that into a fresh button and compares.
void expectRoundTrip(const TMultiButton& written)
{
    RecordWriter w;
    w.beginRecord("TMultiButton", "Button1").property("Channels");
    written.writeChannels(w);
    w.end().end();
    ByteViewStream stream(w.bytes());
    TMultiButton read(nullptr);
    readComponentRecord(stream, read);
    for (int i = 0; i < multiButtonChannelCount; ++i) ASSERT_EQ(read.channels(i), written.channels(i)) << i;
}

TEST(MultibutChannels, BothFormsSurviveAWriteAndARead)
{
    for (int highest : {5, 31, 32, 255}) {
        for (int first : {255, -1, 256, -300}) {
            TMultiButton written(nullptr);
            written.setChannels(0, static_cast<std::int16_t>(first));
            written.setChannels(highest, -32768);
            written.setChannels(highest / 2, 32767);
            SCOPED_TRACE(std::to_string(highest) + " " + std::to_string(first));
            expectRoundTrip(written);
        }
    }
}

TEST(MultibutChannels, TheFirstItemTellsTheForms)
{
    TMultiButton button(nullptr);
    button.setChannels(200, 9);  // the short form leaves channels past 31 alone
    auto items = shortForm(255);
    items[31] = 12;
    readChannelList(button, items);
    EXPECT_EQ(button.channels(0), 255);
    EXPECT_EQ(button.channels(31), 12);
    EXPECT_EQ(button.channels(200), 9);
    EXPECT_EQ(button.caption(), "after");

    // Only the low 16 bits count: 0x10005 is a first channel of 5.
    readChannelList(button, shortForm(0x10005));
    EXPECT_EQ(button.channels(0), 5);

    std::vector<std::int32_t> longForm{256};
    for (int i = 0; i < 256; ++i) longForm.push_back(i == 255 ? 70000 : i);
    readChannelList(button, longForm);
    EXPECT_EQ(button.channels(0), 0);
    EXPECT_EQ(button.channels(200), 200);
    EXPECT_EQ(button.channels(255), static_cast<std::int16_t>(70000 - 65536));
}

// The long form: a count item, then that many channels.
std::vector<std::int32_t> longForm(std::int32_t count, int items)
{
    std::vector<std::int32_t> list{count};
    for (int i = 0; i < items; ++i) list.push_back(i + 1000);
    return list;
}

TEST(MultibutChannels, TheLongFormReplacesTheWholeTable)
{
    // A count that is not positive (and not -1, the short form's unused first channel) reads
    // nothing and leaves every channel unused, also those that held values before.
    TMultiButton button(nullptr);
    button.setChannels(0, 4);
    button.setChannels(100, 5);
    readChannelList(button, {-2});
    for (int i = 0; i < multiButtonChannelCount; ++i) ASSERT_EQ(button.channels(i), -1) << i;
    EXPECT_EQ(button.caption(), "after");

    // A count past 256 reads its extra items and drops them.
    readChannelList(button, longForm(258, 258));
    EXPECT_EQ(button.channels(0), 1000);
    EXPECT_EQ(button.channels(255), 1255);
    EXPECT_EQ(button.caption(), "after");
}

TEST(MultibutChannels, WrongItemCountsFailTheRecord)
{
    const std::string invalid = "Invalid property value";
    auto shortByOne = shortForm(0);
    shortByOne.pop_back();
    auto oneTooMany = shortForm(0);
    oneTooMany.push_back(1);
    EXPECT_THAT(readFailure(shortByOne), ::testing::HasSubstr(invalid));
    EXPECT_THAT(readFailure(oneTooMany), ::testing::HasSubstr(invalid));
    EXPECT_THAT(readFailure(longForm(256, 255)), ::testing::HasSubstr(invalid));
    EXPECT_THAT(readFailure(longForm(256, 257)), ::testing::HasSubstr(invalid));
    EXPECT_THAT(readFailure(longForm(-2, 1)), ::testing::HasSubstr(invalid));
    EXPECT_THAT(readFailure({}), ::testing::HasSubstr(invalid));
    EXPECT_EQ(readFailure(longForm(256, 256)), "read");
}

TEST(MultibutChannels, IndexesOutsideTheTableReadUnusedAndIgnoreWrites)
{
    TMultiButton button(nullptr);
    button.setChannels(256, 4);
    button.setChannels(-1, 4);
    EXPECT_EQ(button.channels(256), -1);
    EXPECT_EQ(button.channels(-1), -1);
    EXPECT_EQ(writtenItems(button), std::vector<std::int32_t>(32, -1));
}

TEST(MultibutRecord, ColorAndTheSpeedButtonPropertiesRead)
{
    TMultiButton button(nullptr);
    EXPECT_EQ(button.color(), clBtnFace);
    EXPECT_TRUE(button.glyph().transparent());

    RecordWriter w;
    w.beginRecord("TMultiButton", "Button1").property("Color").ident("clRed");
    w.property("Flat").boolean(true).property("GroupIndex").integer(3).end().end();
    ByteViewStream stream(w.bytes());
    readComponentRecord(stream, button);
    EXPECT_EQ(button.color(), clRed);
    EXPECT_TRUE(button.flat());
    EXPECT_EQ(button.groupIndex(), 3);
}

TEST(MultibutContent, GlyphAndCaptionStackAroundTheCentre)
{
    struct Case {
        int w, h, tw, th, gw, gh, d;
        TPoint caption, glyph;
    };
    const Case cases[] = {
        {40, 40, 20, 10, 16, 16, 0, {10, 23}, {12, 7}},
        {40, 40, 20, 10, 16, 16, 1, {11, 24}, {13, 8}},
        {40, 40, 0, 0, 16, 16, 0, {20, 28}, {12, 12}},  // no caption: the glyph alone is centred
        {31, 31, 7, 13, 5, 9, 0, {12, 13}, {13, 5}},
        {40, 30, 20, 10, 0, 0, 0, {10, 10}, {20, 10}},  // no glyph
    };
    for (const Case& c : cases) {
        const MultiButtonContent content = multiButtonContent(c.w, c.h, c.tw, c.th, c.gw, c.gh, c.d);
        EXPECT_EQ(content.caption, c.caption) << c.w << "x" << c.h << " d " << c.d;
        EXPECT_EQ(content.glyph, c.glyph) << c.w << "x" << c.h << " d " << c.d;
    }
}

// Loads a glyph of solid navy, 8 x 6, with an olive bottom-left pixel, as a record does: into
// the button's own bitmap, which keeps its transparency.
void loadNavyGlyph(TBitmap& glyph)
{
    const auto bmp = testing::makeBmp24(8, 6, [](int x, int y) { return x == 0 && y == 5 ? 0x808000u : 0x000080u; });
    const auto payload = testing::bitmapPayload(bmp);
    ByteViewStream stream(payload);
    glyph.readData(stream);
}

class MultibutPaint : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureGuiApplication(); }

    MultibutPaint()
    {
        button.setParent(&panel);
        button.setWidth(40);
        button.setHeight(40);
        button.setColor(clYellow);
    }

    static constexpr QRgb background = 0xFF102030u;
    static constexpr std::uint32_t backgroundColor = 0x302010;
    TWinControl panel{nullptr};
    TMultiButton button{nullptr};
    testing::TestControlHost host{button};
};

TEST_F(MultibutPaint, TheRimIsShadedByState)
{
    const std::uint32_t highlight = colorToRgb(clBtnHighlight), dark = colorToRgb(clWindowText);
    QImage up = host.paint(background);
    EXPECT_EQ(colorAt(up, 20, 20), colorToRgb(clYellow));
    EXPECT_EQ(colorAt(up, 0, 19), highlight);  // light upper left
    EXPECT_EQ(colorAt(up, 39, 20), dark);      // drop shadow lower right

    button.setDown(true);
    QImage down = host.paint(background);
    EXPECT_EQ(colorAt(down, 20, 20), colorToRgb(clYellow));
    EXPECT_EQ(colorAt(down, 0, 19), dark);
    EXPECT_EQ(colorAt(down, 39, 20), highlight);
}

TEST_F(MultibutPaint, AFlatButtonOutsideTheMouseShowsOnlyItsGlyph)
{
    button.setFlat(true);
    loadNavyGlyph(button.glyph());
    const QImage image = host.paint(background);
    int navy = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inGlyph = x >= 16 && x < 24 && y >= 17 && y < 23 && !(x == 16 && y == 22);
            ASSERT_EQ(colorAt(image, x, y), inGlyph ? 0x800000u : backgroundColor) << x << "," << y;
            navy += inGlyph;
        }
    }
    EXPECT_EQ(navy, 47);

    button.mouseEnter();  // the disc comes back under the mouse
    EXPECT_EQ(colorAt(host.paint(background), 10, 20), colorToRgb(clYellow));
    button.mouseLeave();

    button.setDown(true);  // and when pressed, with the glyph one pixel down and right
    const QImage pressed = host.paint(background);
    EXPECT_EQ(colorAt(pressed, 10, 20), colorToRgb(clYellow));
    EXPECT_EQ(colorAt(pressed, 16, 17), colorToRgb(clYellow));
    EXPECT_EQ(colorAt(pressed, 17, 18), 0x800000u);
}

TEST_F(MultibutPaint, ADisabledCaptionIsDrawnInTheShadowColour)
{
    button.setFlat(true);
    button.font().setSize(14);
    button.setCaption("HH");
    const auto count = [](const QImage& image, std::uint32_t color) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += colorAt(image, x, y) == color;
        return n;
    };
    const std::uint32_t text = colorToRgb(clWindowText), shadow = colorToRgb(clBtnShadow);
    const QImage enabled = host.paint(background);
    EXPECT_GT(count(enabled, text), 0);
    EXPECT_EQ(count(enabled, shadow), 0);
    EXPECT_EQ(count(enabled, text) + count(enabled, backgroundColor), 1600);  // no box behind the letters

    button.setEnabled(false);
    const QImage disabled = host.paint(background);
    EXPECT_EQ(count(disabled, text), 0);
    EXPECT_EQ(count(disabled, shadow), count(enabled, text));
}

TEST_F(MultibutPaint, DegenerateSizesPaintWithoutFault)
{
    loadNavyGlyph(button.glyph());
    button.setCaption("Go");
    for (int size : {2, 1, 0, -5, -100000}) {
        button.setWidth(size);
        button.setHeight(size);
        for (bool down : {false, true}) {
            button.setDown(down);
            QImage image = testing::filledImage(8, 8, backgroundColor);
            TCanvas canvas(image);
            button.paint(canvas);
        }
    }
}

TEST_F(MultibutPaint, NothingIsPaintedWithoutAParent)
{
    button.setParent(nullptr);
    const QImage image = host.paint(background);
    EXPECT_EQ(colorAt(image, 20, 20), backgroundColor);
    EXPECT_EQ(colorAt(image, 0, 19), backgroundColor);
}

// A button's disc hides what lies below it, so buttons under it are painted only around its
// middle; the picture must be the one that painting each button whole, bottom first, gives.
TEST(MultibutStack, StackedButtonsShowWhatPaintingEachWholeShows)
{
    testing::ensureGuiApplication();
    TWinControl face(nullptr);
    face.setWidth(130);
    face.setHeight(130);
    TMultiButton bottom(nullptr), pressed(nullptr), flatAtRest(nullptr), top(nullptr);
    struct Placed {
        TMultiButton& button;
        int left, top, width, height;
    };
    const Placed buttons[] = {
        {bottom, 0, 0, 120, 110}, {pressed, 10, 5, 100, 90}, {flatAtRest, 20, 20, 60, 60}, {top, 30, 25, 50, 70}};
    for (const Placed& p : buttons) {
        p.button.setParent(&face);
        p.button.setLeft(p.left);
        p.button.setTop(p.top);
        p.button.setWidth(p.width);
        p.button.setHeight(p.height);
        p.button.setColor(p.width > 80 ? clYellow : clLime);
    }
    pressed.setDown(true);
    flatAtRest.setFlat(true);
    top.setCaption("Go");
    EXPECT_FALSE(pressed.opaqueArea().isEmpty());
    EXPECT_TRUE(flatAtRest.opaqueArea().isEmpty());

    EXPECT_EQ(testing::paintedAsTree(face, 130, 130), testing::paintedEachWhole(face, 130, 130));
}

TEST(MultibutLoader, APanelFileGivesTheButtonsStoredGlyph)
{
    const auto folder =
        std::filesystem::temp_directory_path() / ("trovelin-multibut-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);

    RecordWriter background;
    background.beginRecord("TImage", "Background").end().end();
    RecordWriter plain;
    plain.beginRecord("TMultiButton", "Plain").property("Channels").beginList().integer(1).integer(65);
    for (int i = 2; i < multiButtonShortChannels; ++i) plain.integer(-1);
    plain.end().end().end();
    RecordWriter withGlyph;
    withGlyph.beginRecord("TMultiButton", "Strip").property("Color").ident("clLime");
    withGlyph.property("Glyph.Data").binary(testing::bitmapPayload(testing::makeBmp24(48, 16, [](int x, int) {
        return static_cast<std::uint32_t>(x);
    })));
    withGlyph.property("Channels");
    TMultiButton source(nullptr);
    source.setChannels(40, 1);
    source.writeChannels(withGlyph);
    withGlyph.end().end();

    testing::PanelFileContent content;
    content.records = {background.bytes(), plain.bytes(), withGlyph.bytes()};
    const std::string path = (folder / "multi.kvr").string();
    ASSERT_TRUE(testing::writeFile(path, testing::writePanelFile(content)));

    RecordingLoaderHost window;
    PictureList pictures;
    PanelLoader loader{window, pictures, panelLoaderClasses()};
    EXPECT_TRUE(loader.LoadForm(path, true));
    ASSERT_EQ(pictures.count(), 1);
    EXPECT_EQ(pictures.at(0).width(), 48);
    EXPECT_EQ(pictures.at(0).height(), 16);
    EXPECT_TRUE(window.takeEvents().empty());
    EXPECT_TRUE(window.hostPanel().controls().empty());
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace trovelin
