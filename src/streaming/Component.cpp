#include "streaming/Component.h"

#include <algorithm>
#include <utility>

#include "streaming/Errors.h"

namespace trovelin {

bool isValidIdent(std::string_view name)
{
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (name.empty() || !letter(name.front())) return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return letter(c) || digit(c); });
}

Component::Component(Component* owner) : owner_(owner)
{
    if (owner_) owner_->insertComponent(this);
}

Component::~Component()
{
    // Tell everyone who asked, then free what this component owns, newest first.
    while (!freeNotifies_.empty()) {
        Component* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        other->removeFreeNotification(this);
        other->componentRemoved(this);
    }
    // Nobody looks names up any more: dropping the index at once spares each component
    // its own removal from it.
    namesIndex_.clear();
    while (!components_.empty()) delete components_.back();
    if (owner_) owner_->removeComponent(this);
}

const ClassInfo& Component::staticClassInfo()
{
    static const ClassInfo info{
        "TComponent",
        nullptr,
        {
            published::text("Name", &Component::name, &Component::setName, std::nullopt),
            published::integer("Tag", &Component::tag, &Component::setTag, 0),
        }};
    return info;
}

void Component::setName(const std::string& name)
{
    if (name == name_) return;
    if (!name.empty() && !isValidIdent(name)) throw EComponentError(invalidComponentNameMessage(name));
    if (!owner_) {
        name_ = name;
        return;
    }
    // Claiming the new name is also the check for a sibling holding it: one probe, which
    // counts when a record names tens of thousands of components.
    NameIndex& siblings = owner_->namesIndex_;
    siblings.erase(this);
    std::string previous = std::exchange(name_, name);
    Component* holder = siblings.insert(this);
    if (holder && holder != this) {
        name_ = std::move(previous);
        siblings.insert(this);
        throw EComponentError(duplicateComponentNameMessage(name));
    }
}

void Component::leaveOwner()
{
    if (owner_) owner_->removeComponent(this);
    owner_ = nullptr;
}

Component* Component::findComponent(std::string_view name) const
{
    return namesIndex_.find(name);
}

void Component::takeReaderParent(Component*) {}

void Component::setChildOrder(Component*, int) {}

void Component::freeNotification(Component* other)
{
    if (other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
        freeNotifies_.push_back(other);
        other->freeNotifies_.push_back(this);
    }
}

void Component::componentRemoved(Component*) {}

void Component::insertComponent(Component* component)
{
    components_.push_back(component);
    namesIndex_.insert(component);
}

void Component::removeComponent(Component* component)
{
    namesIndex_.erase(component);
    // Owners free their components newest first: search from the back.
    auto found = std::find(components_.rbegin(), components_.rend(), component);
    if (found != components_.rend()) components_.erase(std::next(found).base());
}

void Component::removeFreeNotification(Component* other)
{
    std::erase(freeNotifies_, other);
}

}  // namespace trovelin
