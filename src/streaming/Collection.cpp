#include "streaming/Collection.h"

#include "streaming/ClassInfo.h"

namespace trovelin {

const ClassInfo& CollectionItem::staticClassInfo()
{
    static const ClassInfo info{"TCollectionItem", nullptr, {}};
    return info;
}

const ClassInfo& CollectionItem::classInfo() const
{
    return staticClassInfo();
}

const ClassInfo& Collection::staticClassInfo()
{
    static const ClassInfo info{"TCollection", nullptr, {}};
    return info;
}

const ClassInfo& Collection::classInfo() const
{
    return staticClassInfo();
}

}  // namespace trovelin
