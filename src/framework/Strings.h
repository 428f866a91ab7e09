#pragma once
// A list of strings as records store it: the defined property "Strings", a list of strings,
// under the owner's property (such as "Items.Strings").

#include <functional>
#include <string>
#include <vector>

#include "streaming/Persistent.h"

namespace trovelin {

class TStrings : public Persistent {
public:
    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }
    void defineProperties(Filer& filer) override;

    const std::vector<std::string>& lines() const { return lines_; }
    int count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const { return lines_.at(static_cast<std::size_t>(index)); }
    // Each replaces the lines and reports one change.
    void assign(const std::vector<std::string>& lines);
    void assign(const TStrings& other) { assign(other.lines_); }
    void clear() { assign(std::vector<std::string>{}); }

    // Called after every change, also after a record's list was read.
    std::function<void()> onChange;

private:
    std::vector<std::string> lines_;
};

}  // namespace trovelin
