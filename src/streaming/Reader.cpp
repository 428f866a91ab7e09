// The reader's record level: naming, property paths, property kinds, child entries,
// component references and loaded notifications.

#include "streaming/Reader.h"

#include <algorithm>
#include <new>
#include <utility>

#include "streaming/Collection.h"
#include "streaming/Component.h"
#include "streaming/Errors.h"
#include "streaming/Stream.h"

namespace trovelin {

namespace {
[[noreturn]] void failInvalidValue() { throw EReadError(messages::invalidPropertyValue); }

std::string displayName(Persistent& object)
{
    if (auto* component = dynamic_cast<Component*>(&object); component && !component->name().empty())
        return component->name();
    return std::string(object.classInfo().name());
}

std::vector<std::string_view> splitPath(std::string_view path)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        std::size_t dot = path.find('.', start);
        parts.push_back(path.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos) return parts;
        start = dot + 1;
    }
}
}  // namespace

void readComponentRecord(Stream& stream, Component& instance, const ReaderEnvironment& environment)
{
    Reader reader(stream, environment);
    reader.readRootComponent(instance);
}

void Reader::readRootComponent(Component& root)
{
    root_ = &root;
    try {
        readSignature();
        readPrefix();
        readShortString();  // the class name: the instance's own class decides
        std::string storedName = readShortString();

        std::string name = storedName;
        if (!name.empty() && environment_.findTopLevelWindow) {
            for (int counter = 1; environment_.findTopLevelWindow(name); ++counter)
                name = storedName + "_" + std::to_string(counter);
        }
        root.setName(name);

        root.beginReading();
        readData(root);
        root.endReading();
        for (Component* component : loaded_) component->endReading();
        resolveFixups();
        root.loaded();
        for (Component* component : loaded_) component->loaded();
    } catch (...) {
        fixups_.clear();
        root.endReading();
        for (Component* component : root.components()) component->endReading();
        handBack();
        throw;
    }
    handBack();
}

void Reader::readData(Component& instance)
{
    instance.takeReaderParent(parent_);
    readProperties(instance);
    Component* outerParent = parent_;
    parent_ = &instance;
    readChildren(instance);
    parent_ = outerParent;
}

void Reader::readProperties(Persistent& instance)
{
    while (!endOfList()) readProperty(instance);
    readByte();
}

void Reader::readProperty(Persistent& instance)
{
    std::string path = readShortString();
    try {
        std::vector<std::string_view> parts = splitPath(path);
        Persistent* current = &instance;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            const PropertyInfo* step = current->classInfo().findProperty(parts[i]);
            if (!step) {
                skipValue();
                throw EReadError(messages::propertyDoesNotExist);
            }
            Persistent* next = step->kind == PropertyKind::Object ? std::get<Persistent*>(step->get(*current))
                                                                  : nullptr;
            if (!next) {
                skipValue();
                throw EReadError(messages::invalidPropertyPath);
            }
            current = next;
        }

        std::string_view last = parts.back();
        if (const PropertyInfo* property = current->classInfo().findProperty(last)) {
            readPropertyValue(*current, *property);
            return;
        }
        propertyName_ = last;
        propertyTaken_ = false;
        current->defineProperties(*this);
        if (!propertyTaken_) {
            skipValue();
            throw EReadError(messages::propertyDoesNotExist);
        }
    } catch (const Exception& error) {
        std::string message = errorReadingMessage(displayName(instance), path, error.message());
        // Wanting memory stays known as such through every record it is nested in.
        if (dynamic_cast<const EOutOfMemory*>(&error) || dynamic_cast<const EReadOutOfMemory*>(&error))
            throw EReadOutOfMemory(std::move(message), error.reason());
        throw EReadError(std::move(message), error.reason());
    } catch (const std::bad_alloc&) {
        throw EReadOutOfMemory(errorReadingMessage(displayName(instance), path, messages::outOfMemory));
    }
}

void Reader::defineProperty(std::string_view name, const std::function<void(Reader&)>& read)
{
    if (propertyTaken_ || !read || !sameText(name, propertyName_)) return;
    propertyTaken_ = true;
    read(*this);
}

void Reader::defineBinaryProperty(std::string_view name, const std::function<void(Stream&)>& read)
{
    if (propertyTaken_ || !read || !sameText(name, propertyName_)) return;
    propertyTaken_ = true;
    if (nextValue() != ValueTag::Binary) {
        skipValue();
        failInvalidValue();
    }
    readValue();
    std::uint32_t size = readLength();
    if (size > available()) throw EReadError(messages::streamReadError);
    // The value's reader takes its bytes straight from the stream; whatever it leaves unread,
    // or wherever it fails, the record goes on after the value.
    handBack();
    const std::int64_t end = stream_.position() + size;
    SubStream data(stream_, size);
    if (environment_.pixelBudget) data.setPixelBudget(environment_.pixelBudget);
    try {
        read(data);
    } catch (...) {
        stream_.setPosition(end);
        throw;
    }
    stream_.setPosition(end);
}

void Reader::readPropertyValue(Persistent& instance, const PropertyInfo& property)
{
    if (!property.set) throw EReadError(messages::propertyIsReadOnly);
    switch (property.kind) {
    case PropertyKind::Integer:
    case PropertyKind::Char:
    case PropertyKind::Enumeration:
    case PropertyKind::Set: property.set(instance, readOrdinalProperty(property)); return;
    case PropertyKind::Float: property.set(instance, readFloat()); return;
    case PropertyKind::String: property.set(instance, readString()); return;
    case PropertyKind::Variant: property.set(instance, readVariant()); return;
    case PropertyKind::Method:
        switch (nextValue()) {
        case ValueTag::Nil: readValue(); property.set(instance, MethodRef{}); return;
        case ValueTag::Ident: {
            std::string method = readIdent();
            if (!root_->classInfo().publishesMethod(method)) failInvalidValue();
            property.set(instance, MethodRef{method});
            return;
        }
        default: failInvalidValue();
        }
    case PropertyKind::Object:
        switch (nextValue()) {
        case ValueTag::Nil: readValue(); property.set(instance, static_cast<Persistent*>(nullptr)); return;
        case ValueTag::Collection: {
            auto* collection = dynamic_cast<Collection*>(std::get<Persistent*>(property.get(instance)));
            if (!collection) failInvalidValue();
            readValue();
            readCollection(*collection);
            return;
        }
        case ValueTag::Ident: fixups_.push_back({&instance, &property, readIdent()}); return;
        default: failInvalidValue();
        }
    }
}

std::int64_t Reader::readOrdinalProperty(const PropertyInfo& property)
{
    switch (property.kind) {
    case PropertyKind::Integer: {
        ValueTag tag = readValue();
        if (tag != ValueTag::Ident) return readIntegerPayload(tag);
        std::string name = readShortString();
        if (!property.constants) failInvalidValue();
        auto value = property.constants->valueOf(name);
        if (!value) failInvalidValue();
        return *value;
    }
    case PropertyKind::Char: return static_cast<unsigned char>(readChar());
    case PropertyKind::Enumeration: {
        auto ordinal = property.elements->ordinalOf(readIdent());
        if (!ordinal) failInvalidValue();
        return *ordinal;
    }
    case PropertyKind::Set: {
        std::uint32_t mask = 0;
        for (const std::string& name : readSet()) {
            auto ordinal = property.elements->ordinalOf(name);
            if (!ordinal) failInvalidValue();
            if (*ordinal <= 31) mask |= 1u << *ordinal;
        }
        return mask;
    }
    default: failInvalidValue();
    }
}

void Reader::readCollection(Collection& collection)
{
    DepthGuard guard(*this);
    if (!endOfList()) {
        // The items go away: references waiting to be set on them must go too. A record may
        // fill the same collection again and again, so the items are looked up, not scanned.
        if (!fixups_.empty() && collection.count() != 0) {
            std::vector<const Persistent*> items;
            items.reserve(collection.count());
            for (std::size_t i = 0; i < collection.count(); ++i) items.push_back(&collection.item(i));
            std::sort(items.begin(), items.end());
            std::erase_if(fixups_, [&](const Fixup& fixup) {
                return std::binary_search(items.begin(), items.end(), static_cast<const Persistent*>(fixup.instance));
            });
        }
        collection.clear();
    }
    while (!endOfList()) {
        if (isIntegerTag(nextValue())) readInteger();  // the item's index is not used
        readListBegin();
        CollectionItem& item = collection.add();
        while (!endOfList()) readProperty(item);
        readListEnd();
    }
    readListEnd();
}

void Reader::readChildren(Component& parent)
{
    DepthGuard guard(*this);
    while (!endOfList()) readChild(parent);
    readByte();
}

void Reader::readChild(Component& parent)
{
    EntryPrefix prefix = readPrefix();
    std::string className = readShortString();
    std::string name = readShortString();

    Component* child = nullptr;
    if (prefix.inherited) {
        child = root_->findComponent(name);
        if (!child) throw EReadError(ancestorNotFoundMessage(name));
    } else {
        child = createChild(className, name);
    }
    child->beginReading();
    readData(*child);
    if (prefix.hasPosition) parent.setChildOrder(child, prefix.position);
    loaded_.push_back(child);
}

Component* Reader::createChild(const std::string& className, const std::string& name)
{
    auto skipEntry = [this] {
        try {
            skipComponent(false);
        } catch (const Exception&) {
            // The error that made us skip is the one worth reporting.
        }
    };
    const ClassInfo* info = root_->classInfo().findFieldClass(className);
    if (!info && environment_.registry) info = environment_.registry->find(className);
    Component* child = info ? info->create(root_) : nullptr;
    if (!child) {
        skipEntry();
        throw EClassNotFound(classNotFoundMessage(className));
    }
    try {
        child->setName(name);
    } catch (const Exception&) {
        delete child;
        skipEntry();
        throw;
    }
    return child;
}

void Reader::resolveFixups()
{
    std::vector<Fixup> pending = std::move(fixups_);
    fixups_.clear();
    for (const Fixup& fixup : pending) {
        Component* target = findReference(fixup.name);
        if (target && target->classInfo().inheritsFrom(*fixup.property->objectClass))
            fixup.property->set(*fixup.instance, static_cast<Persistent*>(target));
    }
}

Component* Reader::findReference(std::string_view name) const
{
    if (sameText(name, "Owner")) return root_;
    std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) return root_->findComponent(name);
    Component* window = environment_.findTopLevelWindow ? environment_.findTopLevelWindow(name.substr(0, dot))
                                                        : nullptr;
    return window ? window->findComponent(name.substr(dot + 1)) : nullptr;
}

}  // namespace trovelin
