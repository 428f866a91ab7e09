#pragma once
// The value side of a record writer, for the writers of defined properties. It mirrors the
// reader's list and integer readers; each call writes one tag and its payload.

#include <cstdint>

namespace trovelin {

class ValueWriter {
public:
    virtual ~ValueWriter() = default;
    virtual void writeListBegin() = 0;
    // Writes the smallest integer tag that holds the value.
    virtual void writeInteger(std::int32_t value) = 0;
    virtual void writeListEnd() = 0;
};

}  // namespace trovelin
