#pragma once
// A collection: an ordered list of items of one class that a record stores with tag 14.

#include <memory>
#include <vector>

#include "streaming/Persistent.h"

namespace trovelin {

class CollectionItem : public Persistent {
public:
    const ClassInfo& classInfo() const override;
    static const ClassInfo& staticClassInfo();
};

class Collection : public Persistent {
public:
    const ClassInfo& classInfo() const override;
    static const ClassInfo& staticClassInfo();

    CollectionItem& add() { return *items_.emplace_back(createItem()); }
    void clear() { items_.clear(); }
    std::size_t count() const { return items_.size(); }
    CollectionItem& item(std::size_t index) { return *items_.at(index); }

protected:
    virtual std::unique_ptr<CollectionItem> createItem() = 0;

private:
    std::vector<std::unique_ptr<CollectionItem>> items_;
};

}  // namespace trovelin
