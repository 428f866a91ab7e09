#pragma once
// The system's mount table (the text of /proc/self/mounts): which volume is mounted where, with
// which file system type. The drive letters are assigned from it.

#include <string>
#include <string_view>
#include <vector>

namespace trovelin {

struct MountEntry {
    std::string device;      // the mounted source: "/dev/sda1", "server:/export", "tmpfs"
    std::string mountPoint;  // absolute path
    std::string type;        // file system type as the kernel names it: "ext4", "nfs4", "fuse.sshfs"
};

// The entries of a mount table text in their order. Lines with fewer than three fields are
// skipped; the kernel's octal escapes (a space is "\040") are decoded.
std::vector<MountEntry> parseMountTable(std::string_view text);

// The running process's mount table; empty when it cannot be read.
std::vector<MountEntry> readSystemMountTable();

}  // namespace trovelin
