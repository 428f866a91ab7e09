#pragma once
// Minimum and maximum sizes of a control; 0 means no limit.

#include <cstdint>

#include "streaming/Persistent.h"

namespace trovelin {

class TSizeConstraints : public Persistent {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    std::int32_t maxHeight() const { return maxHeight_; }
    void setMaxHeight(std::int32_t value) { maxHeight_ = value; }
    std::int32_t maxWidth() const { return maxWidth_; }
    void setMaxWidth(std::int32_t value) { maxWidth_ = value; }
    std::int32_t minHeight() const { return minHeight_; }
    void setMinHeight(std::int32_t value) { minHeight_ = value; }
    std::int32_t minWidth() const { return minWidth_; }
    void setMinWidth(std::int32_t value) { minWidth_ = value; }

private:
    std::int32_t maxHeight_ = 0;
    std::int32_t maxWidth_ = 0;
    std::int32_t minHeight_ = 0;
    std::int32_t minWidth_ = 0;
};

}  // namespace trovelin
