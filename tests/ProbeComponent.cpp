#include "ProbeComponent.h"

#include "streaming/Errors.h"
#include "streaming/Reader.h"
#include "streaming/Stream.h"

namespace trovelin::testing {

const ClassInfo& ProbeItem::staticClassInfo()
{
    static const ClassInfo info{"TProbeItem",
                                &CollectionItem::staticClassInfo(),
                                {published::integer("Number", &ProbeItem::number, &ProbeItem::number, 0),
                                 published::reference("Link", ProbeOther::staticClassInfo(), &ProbeItem::link,
                                                      &ProbeItem::link)}};
    return info;
}

const ClassInfo& ProbeNested::staticClassInfo()
{
    static const ClassInfo info{"TProbeNested",
                                nullptr,
                                {published::integer("Depth", &ProbeNested::depth, &ProbeNested::depth, 0)}};
    return info;
}

void ProbeNested::defineProperties(Filer& filer)
{
    filer.defineBinaryProperty("Blob", [this](Stream& data) { blob = data.readToEnd(); });
    filer.defineProperty("Pairs", [this](Reader& reader) {
        reader.readListBegin();
        while (!reader.endOfList()) pairs.push_back(reader.readInteger());
        reader.readListEnd();
    });
}

const ClassInfo& ProbeOther::staticClassInfo()
{
    static const ClassInfo info{"TProbeOther", &Component::staticClassInfo(), {}, &createComponent<ProbeOther>};
    return info;
}

Probe::~Probe() = default;

void Probe::assignItems(Persistent* other)
{
    if (other) throw EReadError("Items cannot be replaced");
    items.clear();
}

void Probe::assignNested(Persistent* other)
{
    nested.depth = other ? static_cast<ProbeNested*>(other)->depth : -1;
}

std::vector<std::string>& Probe::loadedLog()
{
    static std::vector<std::string> log;
    return log;
}

void Probe::loaded()
{
    Component::loaded();
    loadedLog().push_back(name());
}

const ClassInfo& Probe::staticClassInfo()
{
    static const EnumType modeNames{"pmOff", "pmOn", "pmAuto"};
    // 34 elements, so that the last two have ordinals above 31.
    static const EnumType flagNames{"f0",  "f1",  "f2",  "f3",  "f4",  "f5",  "f6",  "f7",  "f8",  "f9",  "f10", "f11",
                                    "f12", "f13", "f14", "f15", "f16", "f17", "f18", "f19", "f20", "f21", "f22", "f23",
                                    "f24", "f25", "f26", "f27", "f28", "f29", "f30", "f31", "f32", "f33"};
    static const ConstantTable colorNames{{"clRed", 0xFF}, {"clBlue", 0xFF0000}};
    using P = Probe;
    static ClassInfo info{
        "TProbe",
        &Component::staticClassInfo(),
        {
            published::integer("Number", &P::number, &P::number, 0),
            published::integer("Color", &P::color, &P::color, 0, &colorNames),
            published::character("Letter", &P::letter, &P::letter, '\0'),
            published::enumeration("Mode", modeNames, &P::mode, &P::mode, std::optional(ProbeMode::pmOff)),
            published::floating("Ratio", &P::ratio, &P::ratio, 0.0),
            published::text("Text", &P::text, &P::text, ""),
            published::set("Flags", flagNames, &P::flags, &P::flags, 0u),
            [] {
                auto fixed = published::integer("Fixed", &P::fixed, &P::fixed, 7);
                fixed.set = nullptr;
                return fixed;
            }(),
            published::object("Items", Collection::staticClassInfo(), &P::items, &P::assignItems),
            published::reference("Link", ProbeOther::staticClassInfo(), &P::link, &P::link),
            published::event("OnPing", &P::onPing),
            published::variant("Value", &P::value, &P::value),
            published::object("Nested", ProbeNested::staticClassInfo(), &P::nested, &P::assignNested),
        },
        &createComponent<Probe>};
    static const bool extended = [] {
        info.withMethods({"DoPing"});
        info.withFieldClasses({&info, &ProbeOther::staticClassInfo()});
        return true;
    }();
    (void)extended;
    return info;
}

}  // namespace trovelin::testing
