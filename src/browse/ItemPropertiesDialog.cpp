#include "browse/ItemPropertiesDialog.h"

#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

ItemProperties describeItem(const std::string& localPath, const std::string& location, DesktopServices& desktop,
                            ContentDescriber* content)
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
    if (content != nullptr && S_ISREG(status.st_mode))
        for (PropertyRow& row : content->describe(localPath)) item.rows.push_back(std::move(row));
    return item;
}

ItemPropertiesDialog::ItemPropertiesDialog(const std::vector<ItemProperties>& items, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(items.size() == 1 ? items.front().name + " Properties" : QString("Properties"));
    // A name is shown as written: "<h1>x.kvr" is a name, not a heading, and "&" no shortcut.
    auto* tabs = new QTabWidget;
    for (const ItemProperties& item : items) {
        auto* page = new QWidget;
        auto* form = new QFormLayout(page);
        for (const PropertyRow& row : item.rows) {
            auto* value = new QLabel(row.value);
            value->setTextFormat(Qt::PlainText);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            value->setWordWrap(true);
            form->addRow(row.label + ":", value);
        }
        tabs->addTab(page, QString(item.name).replace('&', "&&"));
    }
    tabs->setTabBarAutoHide(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
}

}  // namespace trovelin
