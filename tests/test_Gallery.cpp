// The widget gallery: its form read through the real reader, driven with real Qt events in its
// window (one widget of each kind), painted offscreen as the window shows it at rest, and the
// one-widget painter with its errors; records written from their text form.

#include <gtest/gtest.h>

#include <set>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "app/GalleryWindow.h"
#include "gallery/GalleryForm.h"
#include "gallery/WidgetShot.h"
#include "skin/Wcbtc.h"
#include "skin/Wcheckbox.h"
#include "skin/Wradiobutton.h"
#include "skin/Wradiogroup.h"
#include "skin/Wscrollbar.h"
#include "skin/Wslider.h"
#include "skin/Wtracker.h"
#include "streaming/ClassInfo.h"
#include "streaming/Component.h"
#include "streaming/Errors.h"
#include "streaming/PrintableText.h"
#include "streaming/Reader.h"
#include "streaming/RecordText.h"
#include "streaming/Stream.h"
#include "streaming/TextRecord.h"
#include "support/EveryPropertyPanel.h"
#include "support/GuiApplication.h"
#include "support/PixelProbe.h"
#include "widgets/ControlHostWidget.h"

namespace trovelin {
namespace {

using testing::colorAt;

class Gallery : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureWidgetApplication(); }

    template <class T> T& widget(const char* name)
    {
        auto* found = dynamic_cast<T*>(window.form().findComponent(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    // A press and release of the left button at a point of the form, as Qt delivers them.
    void click(TControl& control, int x, int y)
    {
        const TPoint at = control.offsetWithin(window.form());
        const QPointF p(at.x + x, at.y + y);
        QMouseEvent move(QEvent::MouseMove, p, window.host().mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window.host(), &move);
        QMouseEvent press(QEvent::MouseButtonPress, p, window.host().mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&window.host(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, window.host().mapToGlobal(p), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window.host(), &release);
    }
    void key(QEvent::Type type, int qtKey, const QString& text = {})
    {
        QKeyEvent event(type, qtKey, Qt::NoModifier, text);
        QApplication::sendEvent(&window.host(), &event);
    }

    GalleryWindow window;
};

TEST_F(Gallery, EveryWidgetComesFromTheRecordWithItsProperties)
{
    EXPECT_EQ(window.windowTitle(), "Trovelin widget gallery");
    EXPECT_EQ(widget<TWCheckBox>("GrayedBox").state(), TCheckBoxState::cbGrayed);
    EXPECT_EQ(widget<TWRadioGroup>("RadioGroup").itemIndex(), 1);
    EXPECT_TRUE(widget<TWSlider>("FineSlider").m16bit());
    EXPECT_EQ(widget<TWSlider>("FineSlider").finePosition(), 64);
    EXPECT_TRUE(widget<TWCheckBox>("FocusedBox").focused());
    EXPECT_TRUE(widget<TWCBTC>("HeldLamp").down());
    EXPECT_EQ(widget<TWScrollBar>("VScrollThumb").zone(), ScrollZone::thumb);
    EXPECT_EQ(widget<TWScrollBar>("VScrollThumb").kind(), TScrollBarKind::sbVertical);
    for (const char* name : {"PanelSlider", "Knob", "KnobL", "FieldXY", "ColourMixer", "MultiButton", "ColourToggle",
                             "FlatButton", "Tracker", "SliderH", "LeftPanel", "TopLineGroupBox", "BlinkingButton"})
        EXPECT_NE(window.form().findComponent(name), nullptr) << name;
}

TEST_F(Gallery, QtEventsReachEachKindOfWidget)
{
    click(widget<TWCheckBox>("PlainBox"), 5, 8);
    EXPECT_EQ(window.lastEvent(), "PlainBox, Click, cbChecked");
    EXPECT_TRUE(widget<TWCheckBox>("PlainBox").focused());

    key(QEvent::KeyPress, Qt::Key_Space, " ");
    key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(window.lastEvent(), "PlainBox, Click, cbUnchecked");
    key(QEvent::KeyPress, Qt::Key_Tab);
    EXPECT_FALSE(widget<TWCheckBox>("PlainBox").focused());

    click(*widget<TWRadioGroup>("RadioGroup").buttons()[2], 5, 8);
    EXPECT_EQ(window.lastEvent(), "RadioGroup, Click, ItemIndex 2");

    click(widget<TWSlider>("Slider"), 20, 9);  // the top of the travel: Max
    EXPECT_EQ(window.lastEvent(), "Slider, Change, 255");
    click(widget<TWTracker>("Tracker"), 5, 185);  // the down button
    EXPECT_EQ(window.lastEvent(), "Tracker, Change, 159");
    click(widget<TControl>("FlatButton"), 10, 10);
    EXPECT_EQ(window.lastEvent(), "FlatButton, Click");
    click(widget<TWScrollBar>("HScroll"), 115, 8);  // the last arrow
    EXPECT_EQ(window.lastEvent(), "HScroll, Change, 51");
    EXPECT_EQ(widget<TWScrollBar>("HScroll").zone(), ScrollZone::none);
    click(widget<TControl>("RestingButton"), 10, 10);
    EXPECT_EQ(window.lastEvent(), "RestingButton, Click, down");
}

TEST_F(Gallery, TheOffscreenPaintIsTheWindowAtRest)
{
    const auto form = buildGalleryForm();
    const QImage offscreen = paintGalleryForm(*form);
    const QImage shown = window.host().grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(offscreen.size(), shown.size());
    EXPECT_EQ(offscreen, shown);
}

TEST(WidgetShot, PaintsOneWidgetInTheAskedStateOrRefusesWithTheReadersMessage)
{
    testing::ensureGuiApplication();
    const auto request = parseWidgetArguments(
        {"TWCheckBox", "Checked=True", "Caption='It''s'", "--hover", "5,5", "--focus", "--out", "x.png"});
    ASSERT_TRUE(request);
    const QImage hot = paintWidget(*request);
    EXPECT_EQ(hot.size(), QSize(97, 17));
    EXPECT_EQ(colorAt(hot, 5, 5), 0xF0CAA6u);  // checked under the pointer: the light blue frame

    const auto group = parseWidgetArguments({"TWRadioGroup", "Items=('a' 'b')", "--out", "x.png"});
    ASSERT_TRUE(group);
    EXPECT_EQ(paintWidget(*group).size(), QSize(200, 80));

    EXPECT_FALSE(parseWidgetArguments({"TWCheckBox", "--hover", "5", "--out", "x.png"}));
    EXPECT_FALSE(parseWidgetArguments({"TWCheckBox"}));
    auto failure = [](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--out", "x.png"});
        try {
            paintWidget(*parseWidgetArguments(arguments));
        } catch (const Exception& error) {
            return error.message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(failure({"TWNothing"}), "Class TWNothing not found");
    EXPECT_EQ(failure({"TWTracker", "Bogus=1"}), "Error reading Widget.Bogus: Property does not exist");
    EXPECT_EQ(failure({"TWTracker", "Min='x'"}), "Error reading Widget.Min: Invalid property value");
    EXPECT_EQ(failure({"TWTracker", "Min=(1"}), "Invalid property value");
}

// Compares every published value of two objects of one class, nested objects included.
void expectSameValues(Persistent& expected, Persistent& actual, const ClassInfo& classInfo, const std::string& path)
{
    for (const ClassInfo* c = &classInfo; c != nullptr; c = c->parent())
        for (const PropertyInfo& property : c->ownProperties()) {
            if (!property.get || property.kind == PropertyKind::Method) continue;
            const std::string name = path + std::string(property.name);
            const PropertyValue want = property.get(expected);
            const PropertyValue got = property.get(actual);
            if (property.kind != PropertyKind::Object) {
                EXPECT_TRUE(want == got) << name;
                continue;
            }
            Persistent* wantObject = std::get<Persistent*>(want);
            Persistent* gotObject = std::get<Persistent*>(got);
            if (wantObject && gotObject && !property.objectClass->inheritsFrom(Component::staticClassInfo()))
                expectSameValues(*wantObject, *gotObject, wantObject->classInfo(), name + ".");
        }
}

// Every property of every class the gallery shows, as the dump prints it and given to the widget
// command, reads back to the value the record holds. Strings and characters hold control
// characters and bytes past ASCII. Pictures print as a summary of their data and are left out.
TEST(WidgetShot, EveryPropertyAsTheDumpPrintsItReadsBackToTheSameValue)
{
    testing::ensureGuiApplication();
    std::set<std::string> classNames;
    for (const RecordNode& child : galleryLayout().children) classNames.insert(child.className);
    ASSERT_GE(classNames.size(), 20u);
    for (const std::string& className : classNames) {
        const ClassInfo& classInfo = *galleryClasses().find(className);
        std::vector<std::string_view> pictures;
        std::vector<const PropertyInfo*> texts;
        for (const ClassInfo* c = &classInfo; c != nullptr; c = c->parent())
            for (const PropertyInfo& property : c->ownProperties()) {
                if (property.kind == PropertyKind::Object &&
                    (property.objectClass->name() == "TBitmap" || property.objectClass->name() == "TPicture"))
                    pictures.push_back(property.name);
                if ((property.kind == PropertyKind::String || property.kind == PropertyKind::Char) && property.set &&
                    property.name != "Name")
                    texts.push_back(&property);
            }
        testing::RecordWriter record;
        record.beginRecord("TGalleryForm", "Parent").end().beginChild(className, "Widget");
        testing::writeEveryProperty(record, classInfo, pictures);
        for (const PropertyInfo* text : texts)
            record.property(text->name).string(text->kind == PropertyKind::Char ? "\xC8" : "It's \x01\xC8\r\n");
        record.end().end().end();

        TGalleryForm fromRecord(nullptr);
        ByteViewStream stream(record.bytes());
        ReaderEnvironment environment;
        environment.registry = &galleryClasses();
        readComponentRecord(stream, fromRecord, environment);

        ByteViewStream again(record.bytes());
        RecordNode dumped;
        readRecordTree(again, dumped);
        std::vector<std::string> arguments{className};
        for (const auto& [name, value] : dumped.children.at(0).properties) {
            EXPECT_EQ(printableText(value), value) << className << "." << name;  // printed as it is
            arguments.push_back(name + "=" + value);
        }
        arguments.insert(arguments.end(), {"--out", "x.png"});
        const auto request = parseWidgetArguments(arguments);
        ASSERT_TRUE(request) << className;
        const auto fromText = buildWidgetForm(*request);
        expectSameValues(*fromRecord.controls().at(0), *fromText->controls().at(0), classInfo, className + ".");
    }
}

TEST(TextRecord, ValuesTakeTheirTaggedForms)
{
    auto bytes = [](std::string_view text) {
        std::vector<std::uint8_t> out;
        appendTextValue(out, text);
        return out;
    };
    EXPECT_EQ(bytes("-1"), (std::vector<std::uint8_t>{2, 0xFF}));
    EXPECT_EQ(bytes("300"), (std::vector<std::uint8_t>{3, 0x2C, 0x01}));
    EXPECT_EQ(bytes("True"), (std::vector<std::uint8_t>{9}));
    EXPECT_EQ(bytes("clRed"), (std::vector<std::uint8_t>{7, 5, 'c', 'l', 'R', 'e', 'd'}));
    EXPECT_EQ(bytes("'a''b'"), (std::vector<std::uint8_t>{6, 3, 'a', '\'', 'b'}));
    EXPECT_EQ(bytes("('x')"), (std::vector<std::uint8_t>{1, 6, 1, 'x', 0}));
    EXPECT_EQ(bytes("[akLeft, akTop]"),
              (std::vector<std::uint8_t>{11, 6, 'a', 'k', 'L', 'e', 'f', 't', 5, 'a', 'k', 'T', 'o', 'p', 0}));
    for (const char* bad : {"", "'open", "99999999999", "1 2", "(((", "[a b]", "@"})
        EXPECT_THROW(bytes(bad), EReadError) << bad;
    EXPECT_THROW(bytes(std::string(100, '(') + std::string(100, ')')), EReadError);
}

}  // namespace
}  // namespace trovelin
