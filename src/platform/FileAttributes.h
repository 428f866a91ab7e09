#pragma once
// The original platform's file attribute bits, and how an entry of this system earns them.

#include <sys/types.h>

#include <cstdint>
#include <string_view>

namespace trovelin {

inline constexpr std::uint32_t faReadOnly = 0x01;
inline constexpr std::uint32_t faHidden = 0x02;
inline constexpr std::uint32_t faSysFile = 0x04;
inline constexpr std::uint32_t faVolumeID = 0x08;
inline constexpr std::uint32_t faDirectory = 0x10;
inline constexpr std::uint32_t faArchive = 0x20;
inline constexpr std::uint32_t faNormal = 0x80;
inline constexpr std::uint32_t faAnyFile = 0x3F;

// Folder 0x10 and regular file 0x20 by the entry's type (a symbolic link's target when it has
// one); system 4 for anything else (devices, FIFOs, sockets, broken links); read-only 1 when
// the user may not write it; hidden 2 for names starting with "." other than "." and "..".
// Every entry is a folder, a file or a system entry, so normal (0x80, "no other bit") never
// shows; it stays a bit that callers may ask for.
std::uint32_t fileAttributes(std::string_view name, mode_t mode, bool writable);

}  // namespace trovelin
