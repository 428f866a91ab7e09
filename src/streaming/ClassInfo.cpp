#include "streaming/ClassInfo.h"

namespace trovelin {

ClassInfo::ClassInfo(std::string_view name, const ClassInfo* parent, std::vector<PropertyInfo> properties,
                     Factory factory)
    : name_(name), parent_(parent), properties_(std::move(properties)), factory_(factory)
{
}

const PropertyInfo* ClassInfo::findProperty(std::string_view name) const
{
    for (const ClassInfo* c = this; c; c = c->parent_)
        for (const PropertyInfo& property : c->properties_)
            if (sameText(property.name, name)) return &property;
    return nullptr;
}

bool ClassInfo::inheritsFrom(const ClassInfo& other) const
{
    for (const ClassInfo* c = this; c; c = c->parent_)
        if (c == &other) return true;
    return false;
}

ClassInfo& ClassInfo::withMethods(std::vector<std::string_view> methods)
{
    methods_ = std::move(methods);
    return *this;
}

bool ClassInfo::publishesMethod(std::string_view name) const
{
    for (const ClassInfo* c = this; c; c = c->parent_)
        for (std::string_view method : c->methods_)
            if (sameText(method, name)) return true;
    return false;
}

ClassInfo& ClassInfo::withFieldClasses(std::vector<const ClassInfo*> classes)
{
    fieldClasses_ = std::move(classes);
    return *this;
}

const ClassInfo* ClassInfo::findFieldClass(std::string_view name) const
{
    for (const ClassInfo* c = this; c; c = c->parent_)
        for (const ClassInfo* field : c->fieldClasses_)
            if (sameText(field->name(), name)) return field;
    return nullptr;
}

}  // namespace trovelin
