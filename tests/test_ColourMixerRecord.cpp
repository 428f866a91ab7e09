// The colour mixer's hand-walked records: what they apply and in which order, which entries they
// pass over, the four messages with the stream back at the record's start, and how the loader
// goes on after a refused record.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "panelfile/RecordingLoaderHost.h"
#include "framework/Control.h"
#include "framework/WinControl.h"
#include "panelfile/ColourMixerProperties.h"
#include "panelfile/ColourMixerRecord.h"
#include "panelfile/Loader.h"
#include "panelfile/PictureList.h"
#include "panelfile/ReportedRecordError.h"
#include "streaming/Errors.h"
#include "streaming/Stream.h"
#include "support/BmpWriter.h"
#include "support/PanelFileWriter.h"
#include "support/RecordWriter.h"

namespace trovelin {
namespace {

using namespace testing;

// A stand-in for the mixer control that notes every value it is given, in order.
class RecordingMixer : public TGraphicControl, public ColourMixerProperties {
public:
    explicit RecordingMixer(Component* owner = nullptr) : TGraphicControl(owner) {}

    void SetCyan(std::uint8_t value) override { calls.push_back("Cyan " + std::to_string(value)); }
    void SetMagenta(std::uint8_t value) override { calls.push_back("Magenta " + std::to_string(value)); }
    void SetYellow(std::uint8_t value) override { calls.push_back("Yellow " + std::to_string(value)); }
    void SetRGB(bool value) override { calls.push_back(value ? "RGB true" : "RGB false"); }

    std::vector<std::string> calls;
};

// Bytes that stand before and after the record in the stream, so that "back at the start" and
// "just after the record" are told apart from the stream's own ends.
constexpr std::uint8_t before[] = {'x', 'y', 'z'};
constexpr std::int64_t recordStart = sizeof before;
constexpr std::uint8_t trailer = 0xEE;

struct Outcome {
    std::string message;  // empty when the record was read
    std::int64_t position;
};

Outcome read(const std::vector<std::uint8_t>& record, RecordingMixer& mixer, bool withTrailer = true)
{
    std::vector<std::uint8_t> bytes(std::begin(before), std::end(before));
    append(bytes, record);
    if (withTrailer) bytes.push_back(trailer);
    MemoryStream stream(bytes);
    stream.setPosition(recordStart);
    std::string message;
    try {
        readColourMixerRecord(stream, mixer, mixer);
    } catch (const ReportedRecordError& report) {
        message = report.message();
    }
    return {message, stream.position()};
}

// A mixer record without component name, whose property list the caller fills and ends.
RecordWriter mixerRecord()
{
    RecordWriter w;
    w.beginRecord("TCMY", "");
    return w;
}

TEST(ColourMixerRecord, AnEmptyRecordChangesNothing)
{
    RecordingMixer mixer;
    mixer.setLeft(7);
    const auto record = mixerRecord().end().end().bytes();
    const Outcome outcome = read(record, mixer);
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(outcome.position, recordStart + static_cast<std::int64_t>(record.size()));
    EXPECT_TRUE(mixer.calls.empty());
    EXPECT_EQ(mixer.left(), 7);
}

TEST(ColourMixerRecord, ValuesAreAppliedInRecordOrderAndOtherEntriesPassedOver)
{
    RecordWriter w = mixerRecord();
    w.property("Left").tag(2).raw(std::vector<std::uint8_t>{0xFB});  // int8 -5
    w.property("Top").int16(-300).property("Width").int16(32767).property("Height").int8(40);
    w.property("Tag").int32(-100000);
    w.property("Color").ident("clBtnFace").property("Color").int32(0x00FF00);  // dropped
    w.property("Cyan").string("\xFF").property("RGBset").boolean(true);
    w.property("Visible").boolean(false);
    // Were these payloads not passed over, "Hint" would be read as the next entry and refused.
    w.property("Font.Name").string("Hint").property("OnChange").ident("Hint");
    w.property("Anchors").set({"akLeft", "akTop"}).property("ParentShowHint").tag(0);
    w.property("Magenta").string(std::string(1, '\0')).property("RGBset").boolean(false);
    w.property("Yellow").string("\x01").property("top").int8(99);  // letter case counts: "top" is unknown
    const auto record = w.end().end().bytes();

    RecordingMixer mixer;
    const Outcome outcome = read(record, mixer);
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(outcome.position, recordStart + static_cast<std::int64_t>(record.size()));
    EXPECT_EQ(mixer.left(), -5);
    EXPECT_EQ(mixer.top(), -300);
    EXPECT_EQ(mixer.width(), 32767);
    EXPECT_EQ(mixer.height(), 40);
    EXPECT_EQ(mixer.tag(), -100000);
    EXPECT_EQ(mixer.calls,
              (std::vector<std::string>{"Cyan 255", "RGB true", "Magenta 0", "RGB false", "Yellow 1"}));
}

TEST(ColourMixerRecord, EveryRefusalIsReportedWithTheStreamBackAtTheRecordStart)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> record;
        const char* message;
        std::vector<std::string> appliedBefore;
    };
    auto mixerWith = [](auto fill) {
        RecordWriter w = mixerRecord();
        fill(w);
        return w.end().end().bytes();
    };
    auto notSigned = mixerRecord().end().end().bytes();
    notSigned[3] = '1';
    RecordWriter withChild = mixerRecord();
    withChild.property("Cyan").string("\x05").end().beginChild("TLabel", "").end().end().end();
    RecordWriter named;
    named.beginRecord("TCMY", "CMY1").property("Cyan").string("\x05").end().end();
    RecordWriter slider;
    slider.beginRecord("TSlider", "").end().end();

    const Case cases[] = {
        {"no signature", notSigned, "Format CMY ERROR!!!", {}},
        {"a child", withChild.bytes(), "Incorrect end CMY!!!", {"Cyan 5"}},
        {"a component name", named.bytes(), "ValueType CMY ERROR!!!", {}},
        {"Color as int16", mixerWith([](RecordWriter& w) { w.property("Color").int16(5); }), "ValueType CMY ERROR!!!",
         {}},
        {"Width as int32", mixerWith([](RecordWriter& w) { w.property("Width").int32(5); }), "ValueType CMY ERROR!!!",
         {}},
        {"Left beyond 16 bits", mixerWith([](RecordWriter& w) { w.property("Left").integer(70000); }),
         "ValueType CMY ERROR!!!", {}},
        {"RGBset as identifier", mixerWith([](RecordWriter& w) { w.property("RGBset").ident("True"); }),
         "ValueType CMY ERROR!!!", {}},
        {"Cyan as integer", mixerWith([](RecordWriter& w) { w.property("Cyan").int8(5); }), "ValueType CMY ERROR!!!",
         {}},
        {"Hint", mixerWith([](RecordWriter& w) { w.property("Cyan").string("\x07").property("Hint").string("h"); }),
         "Property CMY ERROR!!!", {"Cyan 7"}},
        {"Colour", mixerWith([](RecordWriter& w) { w.property("Colour").ident("clRed"); }), "Property CMY ERROR!!!",
         {}},
        {"two-character Cyan", mixerWith([](RecordWriter& w) { w.property("Cyan").string("ab"); }),
         "Property CMY ERROR!!!", {}},
        {"empty Yellow", mixerWith([](RecordWriter& w) { w.property("Yellow").string(""); }), "Property CMY ERROR!!!",
         {}},
        {"another class", slider.bytes(), "Property CMY ERROR!!!", {}},
        {"unskippable tag", mixerWith([](RecordWriter& w) { w.property("Visible").tag(19); }), "Format CMY ERROR!!!",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingMixer mixer;
        const Outcome outcome = read(c.record, mixer);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.position, recordStart);
        EXPECT_EQ(mixer.calls, c.appliedBefore);
    }
}

TEST(ColourMixerRecord, TheEndOfTheFileAnywhereInsideARecordIsAFormatError)
{
    RecordWriter w = mixerRecord();
    w.property("Left").int16(300).property("Cyan").string("\x09").property("Color").ident("clBtnFace");
    w.property("Font.Name").string("Arial").property("RGBset").boolean(true).end().end();
    const auto& full = w.bytes();
    for (std::size_t size = 0; size < full.size(); ++size) {
        SCOPED_TRACE(size);
        RecordingMixer mixer;
        const Outcome outcome = read({full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size)}, mixer, false);
        EXPECT_EQ(outcome.message, "Format CMY ERROR!!!");
        EXPECT_EQ(outcome.position, recordStart);
    }
}

// The loader with a mixer entry of its own, in the place the mixer has in the real table.
LoaderClassTable classesWithMixer()
{
    LoaderClassTable classes = frameworkLoaderClasses();
    const auto label =
        std::find_if(classes.begin(), classes.end(), [](const LoaderClass& c) { return c.name == "TLabel"; });
    auto create = [](Component* owner) -> TControl* { return new RecordingMixer(owner); };
    classes.insert(label + 1, LoaderClass{"TCMY", create, readColourMixerControl, nullptr});
    return classes;
}

std::vector<std::uint8_t> button(std::string_view name, int width)
{
    const auto bmp = makeBmp24(width, 2, [](int, int) { return 0x123456u; });
    RecordWriter w;
    w.beginRecord("TSpeedButton", name).property("Glyph.Data").binary(bitmapPayload(bmp)).end().end();
    return w.bytes();
}

std::vector<std::uint8_t> panel(std::vector<std::vector<std::uint8_t>> records)
{
    RecordWriter background;
    background.beginRecord("TImage", "Background").end().end();
    records.insert(records.begin(), background.bytes());
    PanelFileContent content;
    content.records = std::move(records);
    return writePanelFile(content);
}

class MixerLoading : public ::testing::Test {
protected:
    MixerLoading()
    {
        auto controlRead = [this](TControl& control) {
            if (auto* mixer = dynamic_cast<RecordingMixer*>(&control)) mixersRead.push_back(mixer->calls);
        };
        auto recordSkipped = [this](Stream&, std::int64_t start, std::int64_t end) { skipped.push_back(end - start); };
        loader.setObserver({controlRead, recordSkipped});
    }

    RecordingLoaderHost window;
    PictureList pictures;
    PanelLoader loader{window, pictures, classesWithMixer()};
    std::vector<std::vector<std::string>> mixersRead;
    std::vector<std::int64_t> skipped;
};

TEST_F(MixerLoading, ARefusedRecordIsShownSkippedWholeAndTheLoadGoesOn)
{
    RecordWriter refused = mixerRecord();
    refused.property("Cyan").string("\x01").property("Hint").string("mix").property("Magenta").string("\x02");
    refused.end().end();
    const auto good = mixerRecord().property("Yellow").string("\x03").end().end().bytes();
    MemoryStream stream(panel({button("B1", 3), refused.bytes(), button("B2", 4), good, button("B3", 5)}));

    loader.loadPanel(stream);
    const auto events = window.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, LoaderEvent::Kind::Message);
    EXPECT_EQ(events[0].text, "Property CMY ERROR!!!");
    ASSERT_EQ(pictures.count(), 3);
    EXPECT_EQ(pictures.at(2).width(), 5);
    EXPECT_EQ(skipped, (std::vector<std::int64_t>{static_cast<std::int64_t>(refused.bytes().size())}));
    EXPECT_EQ(mixersRead, (std::vector<std::vector<std::string>>{{"Yellow 3"}}));
    EXPECT_EQ(window.repaintRequests(), 1);
    EXPECT_TRUE(window.hostPanel().controls().empty());
    EXPECT_TRUE(loader.reachedEnd());
}

TEST_F(MixerLoading, ARecordCutByTheEndOfTheFileIsShownOnceAndEndsTheLoad)
{
    auto cut = mixerRecord().property("Left").int16(300).property("Cyan").string("\x01").end().end().bytes();
    cut.resize(cut.size() - 4);
    MemoryStream stream(panel({button("B1", 3), cut}));

    // The record cannot be skipped either; the load stops there without a second message.
    EXPECT_NO_THROW(loader.loadPanel(stream));
    EXPECT_EQ(stream.position(), stream.size());
    const auto events = window.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].text, "Format CMY ERROR!!!");
    EXPECT_EQ(pictures.count(), 1);
    EXPECT_TRUE(mixersRead.empty());
    EXPECT_FALSE(loader.reachedEnd());
}

}  // namespace
}  // namespace trovelin
