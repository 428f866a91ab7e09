// The reader's record level: naming, property paths, every property kind, error wrapping,
// child entries, references, loaded notifications and the hand-back of read-ahead.

#include <gtest/gtest.h>

#include "ProbeComponent.h"
#include "streaming/Errors.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"
#include "support/RecordWriter.h"

namespace trovelin {
namespace {

using testing::Probe;
using testing::ProbeMode;
using testing::ProbeOther;
using testing::RecordWriter;

// The application around a record: an owner with components of its own, top-level windows
// and a registry that knows no class.
class ReaderTest : public ::testing::Test {
protected:
    ReaderTest()
    {
        new Probe(&owner);
        owner.components().back()->setName("PanelPapa");
        Probe::loadedLog().clear();
    }

    ReaderEnvironment environment()
    {
        return {[this](std::string_view name) -> Component* {
                    for (Component* window : windows)
                        if (sameText(window->name(), name)) return window;
                    return nullptr;
                },
                &registry};
    }

    Probe& read(const RecordWriter& writer)
    {
        bytes = writer.bytes();
        ByteViewStream stream(bytes);
        // Like the loader, whoever created the instance destroys it when its record fails.
        auto probe = std::make_unique<Probe>(&owner);
        readComponentRecord(stream, *probe, environment());
        return *probe.release();
    }

    // The message of the failure of reading `writer` into a fresh probe.
    template <class Error = Exception> std::string failure(const RecordWriter& writer)
    {
        try {
            read(writer);
        } catch (const Error& error) {
            return error.message();
        }
        return "no failure";
    }

    Component owner{nullptr};
    std::vector<Component*> windows;
    ClassRegistry registry{};
    std::vector<std::uint8_t> bytes;
};

// A root record of class TProbe named `name` whose property list is written by `properties`.
template <class F> RecordWriter probeRecord(std::string_view name, F&& properties)
{
    RecordWriter w;
    w.beginRecord("TProbe", name);
    properties(w);
    w.end().end();
    return w;
}

RecordWriter probeRecord(std::string_view name)
{
    return probeRecord(name, [](RecordWriter&) {});
}

TEST_F(ReaderTest, ReadsEveryPropertyKind)
{
    Probe& p = read(probeRecord("P", [](RecordWriter& w) {
        w.property("Number").int8(-1);
        w.property("color").ident("CLBLUE");  // names ignore letter case
        w.property("Letter").string("z");
        w.property("Mode").ident("pmAuto");
        w.property("Ratio").extended(0.25);
        w.property("Text").longString("long text");
        w.property("Flags").set({"f1", "f31", "f32", "f33"});
        w.property("Value").currency(50000);
        w.property("Nested.Depth").integer(4);
    }));
    EXPECT_EQ(p.number, -1);
    EXPECT_EQ(p.color, 0xFF0000);
    EXPECT_EQ(p.letter, 'z');
    EXPECT_EQ(p.mode, ProbeMode::pmAuto);
    EXPECT_DOUBLE_EQ(p.ratio, 0.25);
    EXPECT_EQ(p.text, "long text");
    EXPECT_EQ(p.flags, (1u << 1) | (1u << 31));  // ordinals above 31 are ignored
    EXPECT_EQ(p.value, Variant(Currency{50000}));
    EXPECT_EQ(p.nested.depth, 4);
}

TEST_F(ReaderTest, EnumerationsAcceptTheBooleanAndNilTags)
{
    // A boolean property is an enumeration of "False" and "True"; the tag 9 reads as "True".
    Probe& p = read(probeRecord("P", [](RecordWriter& w) { w.property("Mode").ident("PMON"); }));
    EXPECT_EQ(p.mode, ProbeMode::pmOn);
    EXPECT_EQ(failure(probeRecord("Q", [](RecordWriter& w) { w.property("Mode").boolean(true); })),
              "Error reading Q.Mode: Invalid property value");
}

TEST_F(ReaderTest, RejectedValuesAreWrappedWithObjectAndPath)
{
    const std::vector<std::pair<std::function<void(RecordWriter&)>, std::string>> cases = {
        {[](RecordWriter& w) { w.property("Number").string("1"); }, "P.Number: Invalid property value"},
        {[](RecordWriter& w) { w.property("Color").ident("clPink"); }, "P.Color: Invalid property value"},
        {[](RecordWriter& w) { w.property("Number").ident("clRed"); }, "P.Number: Invalid property value"},
        {[](RecordWriter& w) { w.property("Letter").string("ab"); }, "P.Letter: Invalid property value"},
        {[](RecordWriter& w) { w.property("Mode").ident("pmNever"); }, "P.Mode: Invalid property value"},
        {[](RecordWriter& w) { w.property("Flags").set({"f1", "g"}); }, "P.Flags: Invalid property value"},
        {[](RecordWriter& w) { w.property("Ratio").string("x"); }, "P.Ratio: Invalid property value"},
        {[](RecordWriter& w) { w.property("Text").wideString(u"w"); }, "P.Text: Invalid property value"},
        {[](RecordWriter& w) { w.property("Value").beginList().end(); }, "P.Value: Stream read error"},
        {[](RecordWriter& w) { w.property("Missing").integer(1); }, "P.Missing: Property does not exist"},
        {[](RecordWriter& w) { w.property("Fixed").integer(1); }, "P.Fixed: Property is read-only"},
        {[](RecordWriter& w) { w.property("Nested.Bogus").integer(1); }, "P.Nested.Bogus: Property does not exist"},
        {[](RecordWriter& w) { w.property("Bogus.Depth").integer(1); }, "P.Bogus.Depth: Property does not exist"},
        {[](RecordWriter& w) { w.property("Number.Depth").integer(1); }, "P.Number.Depth: Invalid property path"},
        {[](RecordWriter& w) { w.property("Link.Name").string("x"); }, "P.Link.Name: Invalid property path"},
        {[](RecordWriter& w) { w.property("Nested.Blob").integer(1); }, "P.Nested.Blob: Invalid property value"},
        {[](RecordWriter& w) { w.property("OnPing").ident("DoPong"); }, "P.OnPing: Invalid property value"},
        {[](RecordWriter& w) { w.property("OnPing").string("DoPing"); }, "P.OnPing: Invalid property value"},
        {[](RecordWriter& w) { w.property("Items").integer(1); }, "P.Items: Invalid property value"},
        {[](RecordWriter& w) { w.property("Nested").beginCollection().end(); }, "P.Nested: Invalid property value"},
    };
    for (const auto& [write, expected] : cases)
        EXPECT_EQ(failure<EReadError>(probeRecord("P", write)), "Error reading " + expected);
}

TEST_F(ReaderTest, AnUnnamedObjectIsNamedByItsClassInErrors)
{
    EXPECT_EQ(failure(probeRecord("", [](RecordWriter& w) { w.property("Missing").integer(1); })),
              "Error reading TProbe.Missing: Property does not exist");
    // Collection items are no components: their class names them.
    EXPECT_EQ(failure(probeRecord("P",
                                  [](RecordWriter& w) {
                                      w.property("Items").beginCollection().collectionItem();
                                      w.property("Nope").integer(1).end().end();
                                  })),
              "Error reading P.Items: Error reading TProbeItem.Nope: Property does not exist");
}

TEST_F(ReaderTest, ARecordCutShortFailsWithStreamReadError)
{
    auto whole = probeRecord("P", [](RecordWriter& w) { w.property("Text").string("abcdef"); }).bytes();
    for (std::size_t cut : {std::size_t{4}, whole.size() - 5, whole.size() - 1}) {
        RecordWriter w;
        w.raw(std::span(whole).first(cut));
        EXPECT_NE(failure(w).find("Stream read error"), std::string::npos) << "cut at " << cut;
    }
}

TEST_F(ReaderTest, ASignatureOtherThanTpf0IsAnInvalidStreamFormat)
{
    RecordWriter w;
    w.raw(std::vector<std::uint8_t>{'T', 'P', 'F', '1'}).names("TProbe", "P").end().end();
    EXPECT_EQ(failure(w), "Invalid stream format");
}

TEST_F(ReaderTest, DefinedPropertiesGetTheirValues)
{
    std::vector<std::uint8_t> blob(10000);
    for (std::size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<std::uint8_t>(i * 7);
    Probe& p = read(probeRecord("P", [&](RecordWriter& w) {
        w.property("Nested.blob").binary(blob);
        w.property("Nested.Pairs").beginList().integer(1).integer(300).end();
    }));
    EXPECT_EQ(p.nested.blob, blob);
    EXPECT_EQ(p.nested.pairs, (std::vector<std::int32_t>{1, 300}));
}

TEST_F(ReaderTest, EventsNameAPublishedMethodOrNothing)
{
    Probe& p = read(probeRecord("P", [](RecordWriter& w) { w.property("OnPing").ident("doping"); }));
    EXPECT_EQ(p.onPing.name, "doping");
    Probe& q = read(probeRecord("Q", [](RecordWriter& w) {
        w.property("OnPing").ident("DoPing");
        w.property("OnPing").nil();
    }));
    EXPECT_FALSE(q.onPing.assigned());
}

TEST_F(ReaderTest, CollectionsAreRefilledUnlessTheStoredListIsEmpty)
{
    Probe& p = read(probeRecord("P", [](RecordWriter& w) {
        w.property("Items").beginCollection();
        w.collectionItem(5).property("Number").integer(1).end();
        w.collectionItem().property("Number").integer(2).end();
        w.end();
        w.property("Items").beginCollection().end();  // leaves both items
    }));
    ASSERT_EQ(p.items.count(), 2u);
    EXPECT_EQ(static_cast<testing::ProbeItem&>(p.items.item(1)).number, 2);

    Probe& q = read(probeRecord("Q", [](RecordWriter& w) {
        w.property("Items").beginCollection().collectionItem().end().collectionItem().end().end();
        w.property("Items").beginCollection().collectionItem().property("Number").integer(9).end().end();
    }));
    ASSERT_EQ(q.items.count(), 1u);
    EXPECT_EQ(static_cast<testing::ProbeItem&>(q.items.item(0)).number, 9);
}

TEST_F(ReaderTest, NilSetsAnObjectPropertyToNoObject)
{
    Probe& p = read(probeRecord("P", [](RecordWriter& w) { w.property("Nested").nil(); }));
    EXPECT_EQ(p.nested.depth, -1);
}

TEST_F(ReaderTest, AnEmptyNameStaysEmptyWithoutNamingChecks)
{
    windows.push_back(owner.components().front());  // a window with an empty name would not matter
    Probe& p = read(probeRecord(""));
    EXPECT_EQ(p.name(), "");
}

TEST_F(ReaderTest, NamesOfTopLevelWindowsGetACounter)
{
    Component trovelin(nullptr), first(nullptr);
    trovelin.setName("Trovelin");
    first.setName("trovelin_1");
    windows = {&trovelin};
    EXPECT_EQ(read(probeRecord("TROVELIN")).name(), "TROVELIN_1");
    windows = {&trovelin, &first};
    EXPECT_EQ(read(probeRecord("Trovelin")).name(), "Trovelin_2");
}

TEST_F(ReaderTest, NamesOfTheOwnersComponentsAreRefusedInAnyLetterCase)
{
    EXPECT_EQ(failure<EComponentError>(probeRecord("panelpapa")), "A component named panelpapa already exists");
    EXPECT_EQ(failure<EComponentError>(probeRecord("2Fast")), "''2Fast'' is not a valid component name");
    EXPECT_EQ(failure<EComponentError>(probeRecord("A B")), "''A B'' is not a valid component name");
}

TEST_F(ReaderTest, ChildrenAreCreatedFromFieldClassesAndRegistry)
{
    RecordWriter w;
    w.beginRecord("TProbe", "Root").end();
    w.beginChild("tprobe", "Kid").property("Number").integer(3).end();
    w.beginChild("TProbeOther", "Grandkid").end().end();
    w.end();
    w.end();
    Probe& root = read(w);
    auto* kid = dynamic_cast<Probe*>(root.findComponent("Kid"));
    ASSERT_NE(kid, nullptr);
    EXPECT_EQ(kid->number, 3);
    EXPECT_EQ(kid->readerParent, &root);  // the reader's parent is the object whose list holds the entry
    ASSERT_NE(root.findComponent("Grandkid"), nullptr);  // owned by the root, not by its parent
    EXPECT_TRUE(kid->components().empty());
}

TEST_F(ReaderTest, AnUnknownChildClassFailsAndIsSkipped)
{
    RecordWriter w;
    w.beginRecord("TProbe", "Root").end();
    w.beginChild("TSlider", "S").property("Max").integer(3).end().end();
    w.end();
    w.string("after");
    bytes = w.bytes();
    ByteViewStream stream(bytes);
    Probe root(&owner);
    try {
        readComponentRecord(stream, root, environment());
        FAIL() << "no failure";
    } catch (const EClassNotFound& error) {
        EXPECT_EQ(error.message(), "Class TSlider not found");
    }
    EXPECT_TRUE(root.components().empty());
    // The failed child's entry was passed over: only the child list's end byte was left.
    EXPECT_EQ(stream.position(), static_cast<std::int64_t>(bytes.size()) - 7 - 1);
}

TEST_F(ReaderTest, AFailedChildNameDestroysTheChild)
{
    RecordWriter w;
    w.beginRecord("TProbe", "Root").end();
    w.beginChild("TProbe", "Twin").end().end();
    w.beginChild("TProbe", "TWIN").end().end();
    w.end();
    bytes = w.bytes();
    ByteViewStream stream(bytes);
    Probe root(&owner);
    EXPECT_THROW(readComponentRecord(stream, root, environment()), EComponentError);
    EXPECT_EQ(root.components().size(), 1u);
}

TEST_F(ReaderTest, InheritedChildrenAreFoundNotCreated)
{
    bytes = RecordWriter()
                .beginRecord("TProbe", "Root")
                .end()
                .prefix(0x01)
                .names("TProbe", "Existing")
                .property("Number")
                .integer(8)
                .end()
                .end()
                .end()
                .bytes();
    ByteViewStream stream(bytes);
    Probe root(&owner);
    auto* existing = new Probe(&root);
    existing->setName("Existing");
    readComponentRecord(stream, root, environment());
    EXPECT_EQ(existing->number, 8);
    EXPECT_EQ(root.components().size(), 1u);

    RecordWriter missing;
    missing.beginRecord("TProbe", "Other").end().prefix(0x01).names("TProbe", "Ghost").end().end().end();
    EXPECT_EQ(failure<EReadError>(missing), "Ancestor for 'Ghost' not found");
}

TEST_F(ReaderTest, ChildPositionsAreGivenToTheParent)
{
    RecordWriter w;
    w.beginRecord("TProbe", "Root").end();
    w.prefix(0x02, 0).names("TProbe", "A").end().end();
    w.end();
    Probe& root = read(w);
    ASSERT_EQ(root.childOrders.size(), 1u);
    EXPECT_EQ(root.childOrders[0].first, root.findComponent("A"));
    EXPECT_EQ(root.childOrders[0].second, 0);
}

TEST_F(ReaderTest, LoadedNotificationsComeRootFirstThenChildrenAfterTheirOwn)
{
    RecordWriter w;
    w.beginRecord("TProbe", "Root").end();
    w.beginChild("TProbe", "A").end();
    w.beginChild("TProbe", "A1").end().end();
    w.beginChild("TProbe", "A2").end().end();
    w.end();
    w.beginChild("TProbe", "B").end().end();
    w.end();
    Probe& root = read(w);
    EXPECT_EQ(Probe::loadedLog(), (std::vector<std::string>{"Root", "A1", "A2", "A", "B"}));
    EXPECT_FALSE(root.loading());
    EXPECT_FALSE(root.reading());
    for (Component* child : root.components()) EXPECT_FALSE(child->loading());
}

TEST_F(ReaderTest, ReferencesResolveAfterTheRecord)
{
    Component window(nullptr);
    window.setName("Other");
    auto* remote = new ProbeOther(&window);
    remote->setName("Remote");
    windows = {&window};

    RecordWriter w;
    w.beginRecord("TProbe", "Root").property("Link").ident("Later").end();
    w.beginChild("TProbe", "Kid").property("Link").ident("other.remote").end().end();
    w.beginChild("TProbe", "WrongClass").property("Link").ident("Kid").end().end();
    w.beginChild("TProbe", "Lost").property("Link").ident("Nowhere.Remote").end().end();
    w.beginChild("TProbeOther", "Later").end().end();
    w.end();
    Probe& root = read(w);
    EXPECT_EQ(root.link, root.findComponent("Later"));
    EXPECT_EQ(static_cast<Probe*>(root.findComponent("Kid"))->link, remote);
    EXPECT_EQ(static_cast<Probe*>(root.findComponent("WrongClass"))->link, nullptr);
    EXPECT_EQ(static_cast<Probe*>(root.findComponent("Lost"))->link, nullptr);
}

// Refilling a collection frees its items: references still waiting for them must not land.
TEST_F(ReaderTest, ReferencesOfReplacedItemsAreDroppedAndThoseOfTheNewItemsResolve)
{
    RecordWriter w;
    w.beginRecord("TProbe", "Root");
    for (int fill = 0; fill < 3; ++fill) {
        w.property("Items").beginCollection();
        for (int i = 0; i < 200; ++i) w.collectionItem().property("Number").integer(fill).property("Link").ident("Later").end();
        w.end();
    }
    w.end();
    w.beginChild("TProbeOther", "Later").end().end();
    w.end();
    Probe& root = read(w);
    ASSERT_EQ(root.items.count(), 200u);
    const auto& last = static_cast<testing::ProbeItem&>(root.items.item(199));
    EXPECT_EQ(last.number, 2);
    EXPECT_EQ(last.link, root.findComponent("Later"));
}

TEST_F(ReaderTest, AFailedRecordSetsNoReferences)
{
    RecordWriter w;
    w.beginRecord("TProbe", "Root").property("Link").ident("Later").end();
    w.beginChild("TProbeOther", "Later").end().end();
    w.beginChild("TNoSuchClass", "X").end().end();
    w.end();
    bytes = w.bytes();
    ByteViewStream stream(bytes);
    Probe root(&owner);
    EXPECT_THROW(readComponentRecord(stream, root, environment()), EClassNotFound);
    EXPECT_EQ(root.link, nullptr);
}

TEST_F(ReaderTest, BackToBackRecordsEachStartWhereTheLastEnded)
{
    auto first = probeRecord("First", [](RecordWriter& w) { w.property("Number").integer(1); }).bytes();
    auto second = probeRecord("Second", [](RecordWriter& w) {
                      w.property("Nested.Blob").binary(std::vector<std::uint8_t>(9000, 1));
                  }).bytes();
    auto third = probeRecord("Third", [](RecordWriter& w) { w.property("Number").integer(3); }).bytes();
    bytes = first;
    testing::append(bytes, second);
    testing::append(bytes, third);
    ByteViewStream stream(bytes);

    Probe a(&owner), b(&owner), c(&owner);
    readComponentRecord(stream, a);
    EXPECT_EQ(stream.position(), static_cast<std::int64_t>(first.size()));
    readComponentRecord(stream, b);
    EXPECT_EQ(stream.position(), static_cast<std::int64_t>(first.size() + second.size()));
    readComponentRecord(stream, c);
    EXPECT_EQ(c.number, 3);
    EXPECT_EQ(stream.position(), stream.size());
}

TEST_F(ReaderTest, AFailedRecordHandsBackWhatItDidNotConsume)
{
    auto bad = probeRecord("Bad", [](RecordWriter& w) {
                   w.property("Number").integer(1);
                   w.property("Missing").string("value");
                   w.property("Text").string("never read");
               }).bytes();
    auto good = probeRecord("Good").bytes();
    bytes = bad;
    testing::append(bytes, good);
    ByteViewStream stream(bytes);
    Probe p(&owner);
    EXPECT_THROW(readComponentRecord(stream, p), EReadError);
    // The unknown property's value was skipped; the stream stands right after it.
    std::size_t consumed = 4 + 1 + 6 + 1 + 3 + (1 + 6 + 2) + (1 + 7 + 1 + 1 + 5);
    EXPECT_EQ(stream.position(), static_cast<std::int64_t>(consumed));
}

TEST_F(ReaderTest, DeepChildListsFailInsteadOfExhaustingTheStack)
{
    RecordWriter w;
    w.beginRecord("TProbe", "Root").end();
    for (int i = 0; i < maxNestingDepth + 1; ++i) w.beginChild("TProbe", "").end();
    EXPECT_EQ(failure(w), "Invalid stream format");
}

}  // namespace
}  // namespace trovelin
