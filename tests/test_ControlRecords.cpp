// Records of the image, group box, label and speed button classes: their published
// property sets, named constants, defaults and parent-following.

#include <gtest/gtest.h>

#include "framework/Application.h"
#include "framework/GroupBox.h"
#include "framework/Image.h"
#include "framework/Label.h"
#include "framework/Menus.h"
#include "framework/NamedConstants.h"
#include "framework/SpeedButton.h"
#include "streaming/Bitmap.h"
#include "streaming/Errors.h"
#include "streaming/Stream.h"
#include "support/BmpWriter.h"
#include "support/RecordWriter.h"

namespace trovelin {
namespace {

using testing::bitmapPayload;
using testing::makeBmp24;
using testing::picturePayload;
using testing::RecordWriter;

// A main window that owns a hidden host panel, as the loader reads records.
class ControlRecords : public ::testing::Test {
protected:
    ControlRecords()
    {
        window.setName("Trovelin");
        host = new TGroupBox(&window);
        host->setName("PanelPapa");
        host->setColor(clBtnFace);
        host->font().setName("Host Font");
        application.addTopLevelWindow(&window);
    }

    template <class T> std::unique_ptr<T> read(const RecordWriter& writer)
    {
        auto control = std::make_unique<T>(&window);
        control->setParent(host);
        bytes = writer.bytes();
        ByteViewStream stream(bytes);
        readComponentRecord(stream, *control, application.readerEnvironment());
        return control;
    }

    template <class T> std::string failure(const RecordWriter& writer)
    {
        try {
            read<T>(writer);
        } catch (const Exception& error) {
            return error.message();
        }
        return "no failure";
    }

    TApplication application;
    Component window{nullptr};
    TGroupBox* host;
    std::vector<std::uint8_t> bytes;
};

template <class F> RecordWriter record(std::string_view className, std::string_view name, F&& properties)
{
    RecordWriter w;
    w.beginRecord(className, name);
    properties(w);
    w.end().end();
    return w;
}

TEST_F(ControlRecords, NamedConstantsIgnoreLetterCase)
{
    auto label = read<TLabel>(record("TLabel", "Label1", [](RecordWriter& w) {
        w.property("Color").ident("clBtnFace");
        w.property("Cursor").ident("CRHSPLIT");
        w.property("Font.Charset").ident("default_charset");
        w.property("Font.Color").ident("clRed");
    }));
    EXPECT_EQ(static_cast<std::uint32_t>(label->color()), 0x8000000Fu);
    EXPECT_EQ(label->cursor(), -14);
    EXPECT_EQ(label->font().charset(), 1);
    EXPECT_EQ(label->font().color(), clRed);

    auto numeric = read<TLabel>(record("TLabel", "Label2", [](RecordWriter& w) { w.property("Cursor").int8(-14); }));
    EXPECT_EQ(numeric->cursor(), -14);

    EXPECT_EQ(failure<TLabel>(record("TLabel", "Label3", [](RecordWriter& w) { w.property("Color").ident("clPink"); })),
              "Error reading Label3.Color: Invalid property value");
    // A plain int property accepts no names.
    EXPECT_EQ(failure<TLabel>(record("TLabel", "Label4", [](RecordWriter& w) { w.property("Tag").ident("clRed"); })),
              "Error reading Label4.Tag: Invalid property value");
}

TEST_F(ControlRecords, ConstantTablesAreComplete)
{
    EXPECT_EQ(colorConstants().entries().size(), 42u);
    EXPECT_EQ(cursorConstants().entries().size(), 22u);
    EXPECT_EQ(charsetConstants().entries().size(), 18u);
    EXPECT_EQ(colorConstants().valueOf("clInfoBk"), systemColor(0x18));
    EXPECT_EQ(colorConstants().valueOf("clNone"), 0x1FFFFFFF);
    EXPECT_EQ(cursorConstants().valueOf("crSize"), -22);
    EXPECT_FALSE(cursorConstants().valueOf("crNone").has_value());
    EXPECT_EQ(charsetConstants().valueOf("OEM_CHARSET"), 255);
}

TEST_F(ControlRecords, AnEmptyStoredSetClearsTheDefaultAnchors)
{
    auto image = read<TImage>(record("TImage", "Image1", [](RecordWriter& w) { w.property("Anchors").set({}); }));
    EXPECT_EQ(image->anchors(), 0u);
    auto other = read<TImage>(record("TImage", "Image2", [](RecordWriter& w) {
        w.property("Anchors").set({"akRight", "akBottom"});
    }));
    EXPECT_EQ(other->anchors(), akRight | akBottom);
}

TEST_F(ControlRecords, EachClassPublishesItsOwnSet)
{
    auto box = read<TGroupBox>(record("TGroupBox", "GroupBox1", [](RecordWriter& w) {
        w.property("TabOrder").integer(3);
        w.property("HelpContext").integer(12);
        w.property("Ctl3D").boolean(false);
    }));
    EXPECT_EQ(box->tabOrder(), 3);
    EXPECT_EQ(box->helpContext(), 12);
    EXPECT_FALSE(box->ctl3D());

    const std::vector<std::tuple<std::string, std::string, std::string>> refused = {
        {"TSpeedButton", "TabOrder", "Error reading SpeedButton1.TabOrder: Property does not exist"},
        {"TLabel", "Picture.Data", "Error reading SpeedButton1.Picture.Data: Property does not exist"},
        {"TSpeedButton", "Align", "Error reading SpeedButton1.Align: Property does not exist"},
        {"TImage", "Color", "Error reading SpeedButton1.Color: Property does not exist"},
        {"TLabel", "HelpContext", "Error reading SpeedButton1.HelpContext: Property does not exist"},
    };
    for (const auto& [className, property, message] : refused) {
        auto w = record(className, "SpeedButton1", [&](RecordWriter& r) { r.property(property).integer(1); });
        std::string got = className == "TSpeedButton" ? failure<TSpeedButton>(w)
                          : className == "TLabel"     ? failure<TLabel>(w)
                                                      : failure<TImage>(w);
        EXPECT_EQ(got, message) << className;
    }
}

TEST_F(ControlRecords, FontSizeIsAcceptedThoughWritersStoreHeight)
{
    auto label = read<TLabel>(record("TLabel", "Label1", [](RecordWriter& w) { w.property("Font.Size").integer(12); }));
    EXPECT_EQ(label->font().height(), -16);
    EXPECT_FALSE(label->parentFont());
}

TEST_F(ControlRecords, RecordsWhoseRootPublishesNoMethodsCannotNameHandlers)
{
    EXPECT_EQ(failure<TLabel>(record("TLabel", "Label1",
                                     [](RecordWriter& w) { w.property("OnClick").ident("Label1Click"); })),
              "Error reading Label1.OnClick: Invalid property value");
    auto label = read<TLabel>(record("TLabel", "Label2", [](RecordWriter& w) { w.property("OnClick").nil(); }));
    EXPECT_FALSE(label->onClick.assigned());
}

TEST_F(ControlRecords, AbsentPropertiesFollowTheHostPanel)
{
    auto label = read<TLabel>(record("TLabel", "Label1", [](RecordWriter& w) { w.property("Left").integer(5); }));
    EXPECT_EQ(label->color(), clBtnFace);
    EXPECT_EQ(label->font().name(), "Host Font");
    EXPECT_EQ(label->caption(), "Label1");  // named while its caption equalled its empty name

    auto own = read<TLabel>(record("TLabel", "Label2", [](RecordWriter& w) {
        w.property("Caption").string("Volume");
        w.property("Color").ident("clWhite");
        w.property("Font.Height").integer(-20);
    }));
    EXPECT_EQ(own->caption(), "Volume");
    EXPECT_FALSE(own->parentColor());
    EXPECT_EQ(own->color(), clWhite);
    EXPECT_FALSE(own->parentFont());
    EXPECT_EQ(own->font().name(), "Host Font");
}

TEST_F(ControlRecords, PictureAndGlyphDataGoToTheirDefinedProperties)
{
    const auto bmp = makeBmp24(3, 2, [](int x, int y) { return static_cast<std::uint32_t>(0x102030 * (x + y)); });
    auto image = read<TImage>(record("TImage", "Image1", [&](RecordWriter& w) {
        w.property("Picture.Data").binary(picturePayload("TBitmap", bitmapPayload(bmp)));
        w.property("Left").integer(7);
    }));
    EXPECT_EQ(image->picture().graphicClassName(), "TBitmap");
    EXPECT_EQ(image->picture().bitmap().width(), 3);
    EXPECT_EQ(image->picture().bitmap().image()->pixel(2, 1), 0x906030u);
    EXPECT_EQ(image->left(), 7);  // the record goes on after the payload

    auto button = read<TSpeedButton>(record("TSpeedButton", "SpeedButton1", [&](RecordWriter& w) {
        w.property("Glyph.Data").binary(bitmapPayload(bmp));
        w.property("NumGlyphs").integer(9);
    }));
    EXPECT_EQ(button->glyph().height(), 2);
    EXPECT_EQ(button->numGlyphs(), 4);

    EXPECT_EQ(failure<TSpeedButton>(record("TSpeedButton", "SpeedButton2",
                                           [](RecordWriter& w) { w.property("Glyph.Data").string("bits"); })),
              "Error reading SpeedButton2.Glyph.Data: Invalid property value");
}

TEST_F(ControlRecords, NamesClashWithTheMainWindowAndItsComponents)
{
    EXPECT_EQ(failure<TLabel>(record("TLabel", "PANELPAPA", [](RecordWriter&) {})),
              "A component named PANELPAPA already exists");
    // The main window's own name is taken by a top-level window: the record's control gets a counter.
    EXPECT_EQ(read<TLabel>(record("TLabel", "Trovelin", [](RecordWriter&) {}))->name(), "Trovelin_1");
}

TEST_F(ControlRecords, OnlyMenuItemsCanBeCreatedAsChildren)
{
    RecordWriter menu;
    menu.beginRecord("TGroupBox", "GroupBox1").end();
    menu.beginChild("TMenuItem", "Item1").property("Caption").string("Open").end().end();
    menu.end();
    auto box = read<TGroupBox>(menu);
    auto* item = dynamic_cast<TMenuItem*>(box->findComponent("Item1"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->caption(), "Open");

    RecordWriter label;
    label.beginRecord("TGroupBox", "GroupBox2").end();
    label.beginChild("TLabel", "Inner").end().end();
    label.end();
    EXPECT_EQ(failure<TGroupBox>(label), "Class TLabel not found");
}

// Every stream default in the tables is what a new control (without a parent to follow)
// holds, so that a writer leaving a default out loses nothing.
TEST_F(ControlRecords, StreamDefaultsMatchNewControls)
{
    const std::vector<std::pair<const ClassInfo*, std::function<std::unique_ptr<Persistent>()>>> classes = {
        {&TImage::staticClassInfo(), [] { return std::make_unique<TImage>(nullptr); }},
        {&TGroupBox::staticClassInfo(), [] { return std::make_unique<TGroupBox>(nullptr); }},
        {&TLabel::staticClassInfo(), [] { return std::make_unique<TLabel>(nullptr); }},
        {&TSpeedButton::staticClassInfo(), [] { return std::make_unique<TSpeedButton>(nullptr); }},
        {&TMenuItem::staticClassInfo(), [] { return std::make_unique<TMenuItem>(nullptr); }},
    };
    for (const auto& [info, create] : classes) {
        auto object = create();
        int checked = 0;
        for (const ClassInfo* c = info; c; c = c->parent())
            for (const PropertyInfo& property : c->ownProperties()) {
                if (!property.streamDefault) continue;
                EXPECT_EQ(property.get(*object), *property.streamDefault) << info->name() << "." << property.name;
                ++checked;
            }
        EXPECT_GT(checked, 5) << info->name();
    }
}

}  // namespace
}  // namespace trovelin
