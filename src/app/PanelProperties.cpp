#include "app/PanelProperties.h"

#include <algorithm>

#include <QByteArray>
#include <QStringList>

#include "framework/Windows1252.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/PanelSummary.h"

namespace trovelin {

namespace {

// "64 x 64 (2), 32 x 32": each size once, in the order of first appearance, with its count.
QString pictureSizes(const std::vector<PictureSize>& pictures)
{
    std::vector<std::pair<PictureSize, int>> counted;
    for (const PictureSize& size : pictures) {
        auto found = std::find_if(counted.begin(), counted.end(), [&](const auto& entry) { return entry.first == size; });
        if (found != counted.end()) ++found->second;
        else counted.push_back({size, 1});
    }
    QStringList parts;
    for (const auto& [size, count] : counted)
        parts << (count == 1 ? QString("%1 x %2").arg(size.width).arg(size.height)
                             : QString("%1 x %2 (%3)").arg(size.width).arg(size.height).arg(count));
    return parts.join(", ");
}

}  // namespace

bool hasPanelExtension(const std::string& path)
{
    return path.size() >= 4 && QByteArray(path.data() + path.size() - 4, 4).toLower() == ".kvr";
}

std::vector<PropertyRow> PanelFileDescriber::describe(const std::string& localPath)
{
    if (!hasPanelExtension(localPath)) return {};
    const std::optional<PanelSummary> panel = summarizePanelFile(localPath, panelLoaderClasses());
    if (!panel) return {};
    std::vector<PropertyRow> rows;
    const bool small = panel->header.variant == PanelVariant::Small;
    rows.push_back({"Panel variant", small ? "KVL0 (32-channel tables)" : "KVLP (256-channel tables)"});
    rows.push_back({"Channels", QString::number(panel->header.channelCount)});
    rows.push_back({"Title", fromWindows1252(panel->header.title)});
    rows.push_back({"Pictures", QString::number(panel->pictures.size())});
    if (!panel->pictures.empty()) rows.push_back({"Picture sizes", pictureSizes(panel->pictures)});
    if (!panel->problem.empty()) rows.push_back({"Load problem", QString::fromStdString(panel->problem)});
    return rows;
}

}  // namespace trovelin
