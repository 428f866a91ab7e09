#include "framework/Keys.h"

#include "streaming/TypeInfo.h"

namespace trovelin {

bool isAccel(char key, std::string_view caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return sameText(std::string_view(&key, 1), caption.substr(i + 1, 1));
    }
    return false;
}

}  // namespace trovelin
