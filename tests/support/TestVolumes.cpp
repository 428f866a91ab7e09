#include "support/TestVolumes.h"

namespace trovelin::testing {

MountSource volumesOn(const std::filesystem::path& root, const std::vector<std::string>& mounted)
{
    MountProbe probe;
    probe.isFolder = [](const std::string&) { return true; };
    probe.isRemovable = [](const std::string&) { return false; };
    return {[&mounted, root] {
                std::vector<MountEntry> table;
                for (const std::string& volume : mounted)
                    table.push_back({"/dev/vd" + volume, (root / volume).string(), "ext4"});
                return table;
            },
            probe};
}

}  // namespace trovelin::testing
