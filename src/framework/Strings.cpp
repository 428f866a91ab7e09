#include "framework/Strings.h"

#include "streaming/ClassInfo.h"
#include "streaming/Reader.h"

namespace trovelin {

const ClassInfo& TStrings::staticClassInfo()
{
    static const ClassInfo info{"TStrings", nullptr, {}};
    return info;
}

void TStrings::defineProperties(Filer& filer)
{
    filer.defineProperty("Strings", [this](Reader& reader) {
        std::vector<std::string> lines;
        reader.readListBegin();
        // Every string read consumes its bytes, so a list cannot grow past what the record holds.
        while (!reader.endOfList()) lines.push_back(reader.readString());
        reader.readListEnd();
        assign(lines);
    });
}

void TStrings::assign(const std::vector<std::string>& lines)
{
    lines_ = lines;
    if (onChange) onChange();
}

}  // namespace trovelin
