#include "framework/SizeConstraints.h"

#include "streaming/ClassInfo.h"

namespace trovelin {

const ClassInfo& TSizeConstraints::staticClassInfo()
{
    using C = TSizeConstraints;
    static const ClassInfo info{
        "TSizeConstraints",
        nullptr,
        {
            published::integer("MaxHeight", &C::maxHeight, &C::setMaxHeight, 0),
            published::integer("MaxWidth", &C::maxWidth, &C::setMaxWidth, 0),
            published::integer("MinHeight", &C::minHeight, &C::setMinHeight, 0),
            published::integer("MinWidth", &C::minWidth, &C::setMinWidth, 0),
        }};
    return info;
}

}  // namespace trovelin
