#include "browse/ItemPropertiesDialog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QTabWidget>
#include <QVBoxLayout>

#include "browse/DesktopServices.h"
#include "framework/Windows1252.h"
#include "platform/FileAttributes.h"

namespace trovelin {

namespace {

QString attributeLetters(std::uint32_t attributes)
{
    QString letters;
    if (attributes & faDirectory) letters += 'D';
    if (attributes & faReadOnly) letters += 'R';
    if (attributes & faHidden) letters += 'H';
    if (attributes & faSysFile) letters += 'S';
    if (attributes & faArchive) letters += 'A';
    return letters;
}

bool hasPanelExtension(const std::string& path)
{
    return path.size() >= 4 && QByteArray(path.data() + path.size() - 4, 4).toLower() == ".kvr";
}

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

void addPanelRows(const PanelSummary& panel, std::vector<PropertyRow>& rows)
{
    const bool small = panel.header.variant == PanelVariant::Small;
    rows.push_back({"Panel variant", small ? "KVL0 (32-channel tables)" : "KVLP (256-channel tables)"});
    rows.push_back({"Channels", QString::number(panel.header.channelCount)});
    rows.push_back({"Title", fromWindows1252(panel.header.title)});
    rows.push_back({"Pictures", QString::number(panel.pictures.size())});
    if (!panel.pictures.empty()) rows.push_back({"Picture sizes", pictureSizes(panel.pictures)});
    if (!panel.problem.empty()) rows.push_back({"Load problem", QString::fromStdString(panel.problem)});
}

}  // namespace

ItemProperties describeItem(const std::string& localPath, const std::string& location, DesktopServices& desktop,
                            const std::function<std::optional<PanelSummary>(const std::string&)>& describePanel)
{
    const std::size_t slash = localPath.find_last_of('/');
    const std::string name = slash == std::string::npos || slash + 1 == localPath.size() ? localPath
                                                                                           : localPath.substr(slash + 1);
    ItemProperties item{QFile::decodeName(QByteArray::fromStdString(name)), {}};
    const std::string type = desktop.contentType(localPath);
    const QString comment = QMimeDatabase().mimeTypeForName(QString::fromStdString(type)).comment();
    item.rows.push_back({"Type", comment.isEmpty() ? QString::fromStdString(type)
                                                   : QString("%1 (%2)").arg(comment, QString::fromStdString(type))});
    item.rows.push_back({"Location", QString::fromStdString(location)});
    item.rows.push_back({"Path", QFile::decodeName(QByteArray::fromStdString(localPath))});
    struct stat status {};
    if (::stat(localPath.c_str(), &status) != 0) return item;
    const QLocale locale;
    if (!S_ISDIR(status.st_mode))
        item.rows.push_back({"Size", locale.toString(static_cast<qlonglong>(status.st_size)) + " bytes"});
    const QDateTime modified = QDateTime::fromSecsSinceEpoch(status.st_mtim.tv_sec);
    item.rows.push_back({"Modified", locale.toString(modified, QLocale::ShortFormat)});
    const bool writable = ::access(localPath.c_str(), W_OK) == 0;
    item.rows.push_back({"Attributes", attributeLetters(fileAttributes(name, status.st_mode, writable))});
    if (describePanel && S_ISREG(status.st_mode) && hasPanelExtension(localPath))
        if (const std::optional<PanelSummary> panel = describePanel(localPath)) addPanelRows(*panel, item.rows);
    return item;
}

ItemPropertiesDialog::ItemPropertiesDialog(const std::vector<ItemProperties>& items, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(items.size() == 1 ? items.front().name + " Properties" : QString("Properties"));
    auto* tabs = new QTabWidget;
    for (const ItemProperties& item : items) {
        auto* page = new QWidget;
        auto* form = new QFormLayout(page);
        for (const PropertyRow& row : item.rows) {
            auto* value = new QLabel(row.value);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            value->setWordWrap(true);
            form->addRow(row.label + ":", value);
        }
        tabs->addTab(page, item.name);
    }
    tabs->setTabBarAutoHide(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
}

}  // namespace trovelin
