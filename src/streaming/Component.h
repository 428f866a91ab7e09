#pragma once
// Components: named objects that own other components and are freed with their owner.
// The reader loads records into them and drives their loading state.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "streaming/ClassInfo.h"
#include "streaming/NameIndex.h"
#include "streaming/Persistent.h"

namespace trovelin {

class Component : public Persistent {
public:
    explicit Component(Component* owner);
    ~Component() override;
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    const std::string& name() const { return name_; }
    // Fails with "''%s'' is not a valid component name" for a non-empty name that is no
    // identifier, and "A component named %s already exists" when another component of the
    // owner has it (letter case ignored).
    virtual void setName(const std::string& name);

    Component* owner() const { return owner_; }
    // Leaves the owner, which then neither frees the component nor holds its name: whoever took
    // the component frees it.
    void leaveOwner();
    const std::vector<Component*>& components() const { return components_; }
    // An owned component by name, letter case ignored.
    Component* findComponent(std::string_view name) const;

    std::int32_t tag() const { return tag_; }
    void setTag(std::int32_t tag) { tag_ = tag; }

    bool loading() const { return loading_; }
    bool reading() const { return reading_; }
    void beginReading() { loading_ = reading_ = true; }
    void endReading() { reading_ = false; }
    // Ends the loading state once the whole record is read.
    virtual void loaded() { loading_ = false; }

    // Hooks of the record reader: the parent a child entry is read under (a control takes
    // it when it is a windowed control), and a child's stored place among its siblings.
    virtual void takeReaderParent(Component* parent);
    virtual void setChildOrder(Component* child, int order);

    // Asks `other` to tell this component when it is destroyed, and the other way round.
    void freeNotification(Component* other);

protected:
    // Called when a component this one was told about is being destroyed.
    virtual void componentRemoved(Component* component);

private:
    void insertComponent(Component* component);
    void removeComponent(Component* component);
    void removeFreeNotification(Component* other);

    std::string name_;
    Component* owner_;
    std::vector<Component*> components_;
    NameIndex namesIndex_;
    std::vector<Component*> freeNotifies_;
    std::int32_t tag_ = 0;
    bool loading_ = false;
    bool reading_ = false;
};

bool isValidIdent(std::string_view name);

// A class's factory for the class table: a new T owned by `owner`.
template <class T> Component* createComponent(Component* owner) { return new T(owner); }

namespace published {
// A reference to a component by name, resolved after the record. The setter receives a
// component of the class it takes, or null.
template <class Get, class Set>
PropertyInfo reference(std::string_view name, const ClassInfo& componentClass, Get get, Set set)
{
    PropertyInfo info;
    info.name = name;
    info.kind = PropertyKind::Object;
    info.objectClass = &componentClass;
    info.get = [get](Persistent& o) -> PropertyValue {
        return static_cast<Persistent*>(std::invoke(get, detail::objectOf<Get>(o)));
    };
    info.set = [set](Persistent& o, const PropertyValue& v) {
        using Target = typename detail::SetterArgument<Set>::type;
        detail::store(set, detail::objectOf<Set>(o), dynamic_cast<Target>(std::get<Persistent*>(v)));
    };
    info.streamDefault = static_cast<Persistent*>(nullptr);
    return info;
}
}  // namespace published

}  // namespace trovelin
