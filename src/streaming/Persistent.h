#pragma once
// An object whose state a component record can carry: it publishes properties through its
// class information and may declare defined properties that the record stores under names
// of their own ("Data" of pictures and bitmaps).

#include <functional>
#include <string_view>

namespace trovelin {

class ClassInfo;
class Reader;
class Stream;

// What defineProperties declares to. The reader offers the value to the first declaration
// whose name matches the property being read.
class Filer {
public:
    virtual ~Filer() = default;
    // The reader reads the value from the record itself.
    virtual void defineProperty(std::string_view name, const std::function<void(Reader&)>& read) = 0;
    // The value is a binary blob; the reader gets it as a stream of its own.
    virtual void defineBinaryProperty(std::string_view name, const std::function<void(Stream&)>& read) = 0;
};

class Persistent {
public:
    virtual ~Persistent() = default;
    virtual const ClassInfo& classInfo() const = 0;
    virtual void defineProperties(Filer&) {}
};

}  // namespace trovelin
