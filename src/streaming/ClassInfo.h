#pragma once
// Published-property tables: what a class makes readable from a record. Each class declares
// its table once, with the builders of `published` (getters and setters are member functions
// or data members); the reader consults the tables only.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "streaming/Persistent.h"
#include "streaming/TypeInfo.h"
#include "streaming/Variant.h"

namespace trovelin {

class Component;

enum class PropertyKind { Integer, Char, Enumeration, Float, String, Set, Object, Method, Variant };

// The handler an event property names; an empty name means no handler.
struct MethodRef {
    std::string name;
    bool assigned() const { return !name.empty(); }
    bool operator==(const MethodRef&) const = default;
};

// Integer, character, enumeration and set values travel as ordinals (a set as its bit mask).
using PropertyValue = std::variant<std::int64_t, double, std::string, Persistent*, MethodRef, Variant>;

struct PropertyInfo {
    std::string_view name;
    PropertyKind kind = PropertyKind::Integer;
    const EnumType* elements = nullptr;        // enumeration names, or the element names of a set
    const ConstantTable* constants = nullptr;  // identifiers an integer property accepts
    const class ClassInfo* objectClass = nullptr;  // class an object property holds or refers to
    std::function<PropertyValue(Persistent&)> get;
    std::function<void(Persistent&, const PropertyValue&)> set;  // empty: read-only
    // The value writers leave out of a record; none when always stored or following the parent.
    std::optional<PropertyValue> streamDefault;
};

class ClassInfo {
public:
    using Factory = Component* (*)(Component* owner);

    ClassInfo(std::string_view name, const ClassInfo* parent, std::vector<PropertyInfo> properties,
              Factory factory = nullptr);

    std::string_view name() const { return name_; }
    const ClassInfo* parent() const { return parent_; }
    const std::vector<PropertyInfo>& ownProperties() const { return properties_; }

    // Looks the name up without letter case in this class and then its ancestors.
    const PropertyInfo* findProperty(std::string_view name) const;
    bool inheritsFrom(const ClassInfo& other) const;
    // A new component of this class owned by `owner`; null for classes without a factory.
    Component* create(Component* owner) const { return factory_ ? factory_(owner) : nullptr; }

    // Published methods, which event properties of a record rooted in this class may name.
    ClassInfo& withMethods(std::vector<std::string_view> methods);
    bool publishesMethod(std::string_view name) const;
    // Classes of the published component fields, consulted first when a child entry names a class.
    ClassInfo& withFieldClasses(std::vector<const ClassInfo*> classes);
    const ClassInfo* findFieldClass(std::string_view name) const;

private:
    std::string_view name_;
    const ClassInfo* parent_;
    std::vector<PropertyInfo> properties_;
    Factory factory_;
    std::vector<std::string_view> methods_;
    std::vector<const ClassInfo*> fieldClasses_;
};

namespace published {

namespace detail {
template <class T> struct MemberOf;
template <class R, class C> struct MemberOf<R C::*> {
    using type = C;
};
// A setter is a member function taking the value, or a data member assigned directly.
template <class T> struct SetterArgument;
template <class C, class A> struct SetterArgument<A C::*> {
    using type = A;
};
template <class C, class A> struct SetterArgument<void (C::*)(A)> {
    using type = std::remove_cvref_t<A>;
};
template <class Set, class Object, class Value> void store(Set set, Object& object, Value&& value)
{
    if constexpr (std::is_member_function_pointer_v<Set>)
        std::invoke(set, object, std::forward<Value>(value));
    else
        object.*set = std::forward<Value>(value);
}
template <class Member> auto& objectOf(Persistent& o)
{
    return static_cast<typename MemberOf<Member>::type&>(o);
}
template <class T> Persistent* asPersistent(T& object) { return &object; }
template <class T> Persistent* asPersistent(T* object) { return object; }

template <class Get, class Set>
PropertyInfo ordinal(std::string_view name, PropertyKind kind, Get get, Set set, std::optional<std::int64_t> def)
{
    using Argument = typename SetterArgument<Set>::type;
    PropertyInfo info;
    info.name = name;
    info.kind = kind;
    info.get = [get](Persistent& o) -> PropertyValue {
        return static_cast<std::int64_t>(std::invoke(get, objectOf<Get>(o)));
    };
    info.set = [set](Persistent& o, const PropertyValue& v) {
        store(set, objectOf<Set>(o), static_cast<Argument>(std::get<std::int64_t>(v)));
    };
    if (def) info.streamDefault = *def;
    return info;
}

template <class Get, class Set>
PropertyInfo plain(std::string_view name, PropertyKind kind, Get get, Set set)
{
    using Argument = typename SetterArgument<Set>::type;
    PropertyInfo info;
    info.name = name;
    info.kind = kind;
    info.get = [get](Persistent& o) -> PropertyValue { return std::invoke(get, objectOf<Get>(o)); };
    info.set = [set](Persistent& o, const PropertyValue& v) {
        store(set, objectOf<Set>(o), std::get<Argument>(v));
    };
    return info;
}
}  // namespace detail

template <class Get, class Set>
PropertyInfo integer(std::string_view name, Get get, Set set, std::optional<std::int32_t> def,
                     const ConstantTable* constants = nullptr)
{
    auto info = detail::ordinal(name, PropertyKind::Integer, get, set, def);
    info.constants = constants;
    return info;
}

template <class Get, class Set>
PropertyInfo character(std::string_view name, Get get, Set set, std::optional<char> def)
{
    return detail::ordinal(name, PropertyKind::Char, get, set,
                           def ? std::optional<std::int64_t>(static_cast<unsigned char>(*def)) : std::nullopt);
}

template <class Get, class Set, class E>
PropertyInfo enumeration(std::string_view name, const EnumType& names, Get get, Set set, std::optional<E> def)
{
    auto info = detail::ordinal(name, PropertyKind::Enumeration, get, set,
                                def ? std::optional<std::int64_t>(static_cast<std::int64_t>(*def)) : std::nullopt);
    info.elements = &names;
    return info;
}

template <class Get, class Set>
PropertyInfo boolean(std::string_view name, Get get, Set set, std::optional<bool> def)
{
    return enumeration(name, booleanType(), get, set, def);
}

template <class Get, class Set>
PropertyInfo set(std::string_view name, const EnumType& elements, Get get, Set set,
                 std::optional<std::uint32_t> def)
{
    auto info = detail::ordinal(name, PropertyKind::Set, get, set, def);
    info.elements = &elements;
    return info;
}

template <class Get, class Set>
PropertyInfo floating(std::string_view name, Get get, Set set, std::optional<double> def)
{
    auto info = detail::plain(name, PropertyKind::Float, get, set);
    if (def) info.streamDefault = *def;
    return info;
}

template <class Get, class Set>
PropertyInfo text(std::string_view name, Get get, Set set, std::optional<std::string> def)
{
    auto info = detail::plain(name, PropertyKind::String, get, set);
    if (def) info.streamDefault = *def;
    return info;
}

template <class Get, class Set>
PropertyInfo variant(std::string_view name, Get get, Set set)
{
    return detail::plain(name, PropertyKind::Variant, get, set);
}

// An event: a MethodRef data member.
template <class Field>
PropertyInfo event(std::string_view name, Field field)
{
    PropertyInfo info;
    info.name = name;
    info.kind = PropertyKind::Method;
    info.get = [field](Persistent& o) -> PropertyValue { return detail::objectOf<Field>(o).*field; };
    info.set = [field](Persistent& o, const PropertyValue& v) {
        detail::objectOf<Field>(o).*field = std::get<MethodRef>(v);
    };
    info.streamDefault = MethodRef{};
    return info;
}

// A nested object the owner keeps (a font, a picture): reached by dotted paths; `assign`
// takes another object of the class, or null for "no object".
template <class Get, class Assign>
PropertyInfo object(std::string_view name, const ClassInfo& objectClass, Get get, Assign assign)
{
    PropertyInfo info;
    info.name = name;
    info.kind = PropertyKind::Object;
    info.objectClass = &objectClass;
    info.get = [get](Persistent& o) -> PropertyValue {
        return detail::asPersistent(std::invoke(get, detail::objectOf<Get>(o)));
    };
    info.set = [assign](Persistent& o, const PropertyValue& v) {
        std::invoke(assign, detail::objectOf<Assign>(o), std::get<Persistent*>(v));
    };
    return info;
}

}  // namespace published
}  // namespace trovelin
