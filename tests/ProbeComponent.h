#pragma once
// A component class for reader tests: one published property of every kind, a nested
// object with defined properties, a collection, a published method and itself as the
// class of its published component fields.

#include <cstdint>
#include <string>
#include <vector>

#include "streaming/Collection.h"
#include "streaming/Component.h"

namespace trovelin::testing {

class ProbeOther;

class ProbeItem : public CollectionItem {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    std::int32_t number = 0;
    ProbeOther* link = nullptr;
};

class ProbeItems : public Collection {
protected:
    std::unique_ptr<CollectionItem> createItem() override { return std::make_unique<ProbeItem>(); }
};

// Reached as "Nested.*": a plain property, a binary defined property "Blob" and a defined
// property "Pairs" that reads a list of integers through the list markers.
class ProbeNested : public Persistent {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    void defineProperties(Filer& filer) override;
    std::int32_t depth = 0;
    std::vector<std::uint8_t> blob;
    std::vector<std::int32_t> pairs;
};

// The class the probe's Link property refers to.
class ProbeOther : public Component {
public:
    using Component::Component;
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

enum class ProbeMode { pmOff, pmOn, pmAuto };

class Probe : public Component {
public:
    explicit Probe(Component* owner) : Component(owner) {}
    ~Probe() override;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    void loaded() override;
    void takeReaderParent(Component* parent) override { readerParent = parent; }
    void setChildOrder(Component* child, int order) override { childOrders.emplace_back(child, order); }
    void assignItems(Persistent* other);
    void assignNested(Persistent* other);

    std::int32_t number = 0;
    std::int32_t color = 0;
    char letter = 0;
    ProbeMode mode = ProbeMode::pmOff;
    double ratio = 0;
    std::string text;
    std::uint32_t flags = 0;
    std::int32_t fixed = 7;  // published read-only
    ProbeItems items;
    ProbeOther* link = nullptr;
    MethodRef onPing;
    Variant value;
    ProbeNested nested;

    Component* readerParent = nullptr;
    std::vector<std::pair<Component*, int>> childOrders;
    // Names of probes in the order their loaded notification came.
    static std::vector<std::string>& loadedLog();
};

}  // namespace trovelin::testing
