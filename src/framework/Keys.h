#pragma once
// The virtual key codes that controls react to, and the accelerator of a caption.

#include <string_view>

namespace trovelin {

inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21;  // page up
inline constexpr int VK_NEXT = 0x22;   // page down
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;

// Whether `key` is the accelerator of `caption`: the character after a single "&" ("&&" shows
// one ampersand), letter case ignored.
bool isAccel(char key, std::string_view caption);

}  // namespace trovelin
