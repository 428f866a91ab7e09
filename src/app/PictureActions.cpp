#include "app/PictureActions.h"

#include <QDir>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QRegularExpression>
#include <QShortcut>
#include <QUrl>

#include "app/DrawGrid.h"
#include "app/PictureDialogs.h"
#include "app/PictureMimeData.h"
#include "framework/BitmapImage.h"
#include "framework/BmpWriter.h"
#include "framework/PngWriter.h"
#include "panelfile/PictureList.h"
#include "panelfile/PictureManifest.h"
#include "platform/ReplacingFile.h"
#include "streaming/Errors.h"

namespace trovelin {

namespace {

const QKeySequence saveKeys(QStringLiteral("Ctrl+S"));
const QKeySequence exportKeys(QStringLiteral("Ctrl+Shift+S"));
// The largest side of the image that follows the pointer during a drag.
constexpr int dragImageSide = 64;

std::string nativePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The last part of a path in either separator: panel files are named by drive paths.
QString namePart(const std::string& path)
{
    return QString::fromStdString(path).section(QRegularExpression(R"([\\/])"), -1);
}

QString baseName(const std::string& path)
{
    const QString name = namePart(path);
    const qsizetype dot = name.lastIndexOf('.');
    return dot > 0 ? name.left(dot) : name;
}

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// One message for every file of an export that could not be written.
QString failureText(const std::vector<PictureFileFailure>& failures)
{
    QString text = QString::fromStdString(failures.front().text);
    if (failures.size() > 1)
        text += QStringLiteral("\n(%1 more files could not be written)").arg(failures.size() - 1);
    return text;
}

}  // namespace

PictureActions::PictureActions(TDrawGrid& grid, const PictureList& pictures, std::function<void(int index)> copy,
                               std::function<void(const QString&)> report)
    : grid_(grid),
      pictures_(pictures),
      copy_(std::move(copy)),
      report_(std::move(report)),
      dialogs_(std::make_unique<FilePictureDialogs>()),
      lastFolder_(QDir::homePath())
{
    popupMenu = [](QMenu& menu, const QPoint& globalPosition) { menu.exec(globalPosition); };
    grid_.onCellHint = [this](int col, int row) {
        const std::optional<int> index = pictureAt(col, row);
        return index ? pictureHint(*index) : QString();
    };
    grid_.onCellName = [this](int col, int row) {
        const std::optional<int> index = pictureAt(col, row);
        return index ? pictureName(*index) : QString();
    };
    grid_.usedCellCount = [this] { return pictures_.count(); };
    grid_.onStartDrag = [this](int col, int row) {
        if (const std::optional<int> index = pictureAt(col, row)) startDrag(*index);
    };
    grid_.onContextMenu = [this](std::optional<GridCell> cell, const QPoint& globalPosition) {
        const std::unique_ptr<QMenu> menu = contextMenu(cell ? pictureAt(cell->col, cell->row) : std::nullopt);
        popupMenu(*menu, globalPosition);
    };
    new QShortcut(saveKeys, &grid_, [this] {
        if (const std::optional<int> index = selectedPicture()) savePicture(*index);
    }, Qt::WidgetShortcut);
    new QShortcut(exportKeys, &grid_, [this] { exportAllPictures(); }, Qt::WidgetShortcut);
}

PictureActions::~PictureActions()
{
    grid_.onCellHint = nullptr;
    grid_.onCellName = nullptr;
    grid_.usedCellCount = nullptr;
    grid_.onStartDrag = nullptr;
    grid_.onContextMenu = nullptr;
}

void PictureActions::setDialogs(std::unique_ptr<PictureDialogs> dialogs) { dialogs_ = std::move(dialogs); }

std::optional<int> PictureActions::pictureAt(int col, int row) const
{
    const int index = col + row * grid_.colCount();
    if (col < 0 || row < 0 || col >= grid_.colCount() || index >= pictures_.count()) return std::nullopt;
    return index;
}

std::optional<int> PictureActions::selectedPicture() const { return pictureAt(grid_.col(), grid_.row()); }

QString PictureActions::pictureHint(int index) const
{
    if (index < 0 || index >= pictures_.count()) return {};
    const PictureOrigin& origin = pictures_.origin(index);
    return QStringLiteral("%1.%2 (%3)\n%4")
        .arg(QString::fromStdString(origin.recordName), QString::fromUtf8(origin.property),
             QString::fromStdString(origin.recordClass), QString::fromStdString(std::string(origin.fileName())));
}

QString PictureActions::pictureName(int index) const
{
    if (index < 0 || index >= pictures_.count()) return {};
    const TBitmap& picture = pictures_.at(index);
    const PictureOrigin& origin = pictures_.origin(index);
    QStringList parts{QStringLiteral("Picture %1 of %2").arg(index + 1).arg(pictures_.count())};
    if (picture.empty())
        parts << QStringLiteral("empty");
    else
        parts << QStringLiteral("%1 x %2").arg(picture.width()).arg(picture.height())
              << QStringLiteral("%1 bits").arg(picture.image()->bitsPerPixel());
    if (!origin.recordName.empty())
        parts << QStringLiteral("%1.%2 (%3)").arg(QString::fromStdString(origin.recordName),
                                                  QString::fromUtf8(origin.property),
                                                  QString::fromStdString(origin.recordClass));
    if (!origin.fileName().empty()) parts << namePart(std::string(origin.fileName()));
    return parts.join(QStringLiteral(", "));
}

QString PictureActions::suggestedFileName(int index) const
{
    const PictureOrigin& origin = pictures_.origin(index);
    const QString panel = baseName(std::string(origin.fileName()));
    const QString record = origin.recordName.empty() ? QString::fromStdString(threeDigits(index))
                                                     : QString::fromStdString(origin.recordName);
    return (panel.isEmpty() ? QStringLiteral("picture") : panel) + "-" + record + ".png";
}

std::unique_ptr<QMenu> PictureActions::contextMenu(std::optional<int> index)
{
    auto menu = std::make_unique<QMenu>(&grid_);
    const bool hasPicture = index && !pictures_.at(*index).empty();
    if (preview) {
        QAction* open = menu->addAction(QStringLiteral("Preview"), [this, index] { preview(*index); });
        open->setEnabled(hasPicture);
    }
    QAction* copy = menu->addAction(QStringLiteral("Copy"), [this, index] { copyPicture(*index); });
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(hasPicture);
    QAction* save = menu->addAction(QStringLiteral("Save Picture As…"), [this, index] { savePicture(*index); });
    save->setShortcut(saveKeys);
    save->setEnabled(hasPicture);
    QAction* exportAll = menu->addAction(QStringLiteral("Export All Pictures…"), [this] { exportAllPictures(); });
    exportAll->setShortcut(exportKeys);
    exportAll->setEnabled(pictures_.count() > 0);
    for (QAction* action : menu->actions()) action->setShortcutVisibleInContextMenu(true);
    if (fitPictures && setFitPictures) {
        menu->addSeparator();
        QAction* fit =
            menu->addAction(QStringLiteral("Fit Pictures in Cells"), [this](bool on) { setFitPictures(on); });
        fit->setCheckable(true);
        fit->setChecked(fitPictures());
    }
    return menu;
}

void PictureActions::copyPicture(int index)
{
    if (index < pictures_.count() && !pictures_.at(index).empty()) copy_(index);
}

void PictureActions::savePicture(int index)
{
    if (index >= pictures_.count() || pictures_.at(index).empty()) return;
    const std::optional<PictureSaveTarget> target =
        dialogs_->askPictureFile(&grid_, QDir(lastFolder_).filePath(suggestedFileName(index)));
    // The list may have been reloaded while the dialog was open.
    if (!target || index >= pictures_.count() || pictures_.at(index).empty()) return;
    lastFolder_ = QFileInfo(target->path).absolutePath();
    const DibImage& image = *pictures_.at(index).image();
    std::vector<std::uint8_t> bytes;
    try {
        bytes = target->format == PictureFileFormat::Bmp ? encodeBmp(image) : encodePng(image);
    } catch (const std::bad_alloc&) {
        report_(QStringLiteral("Cannot write %1: Out of memory").arg(target->path));
        return;
    }
    writeReporting(target->path, bytes);
}

void PictureActions::exportAllPictures()
{
    if (pictures_.count() == 0) return;
    const std::optional<QString> folder = dialogs_->askExportFolder(&grid_, lastFolder_);
    if (!folder || pictures_.count() == 0) return;
    lastFolder_ = *folder;
    std::vector<PictureFileFailure> failures;
    {
        const WaitCursor waiting;
        failures = exportPictures(pictures_, nativePath(*folder));
    }
    if (!failures.empty()) report_(failureText(failures));
}

void PictureActions::writeReporting(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    try {
        writeFileReplacing(nativePath(path), bytes);
    } catch (const Exception& error) {
        report_(QString::fromStdString(error.message()));
    }
}

std::unique_ptr<QMimeData> PictureActions::dragData(int index)
{
    if (index >= pictures_.count() || pictures_.at(index).empty()) return nullptr;
    const TBitmap& picture = pictures_.at(index);
    // As on the clipboard: the pixels alone, no palette, no transparency.
    auto data = std::make_unique<PictureMimeData>(toQImage(picture).convertToFormat(QImage::Format_RGB888));
    if (!dragFolder_) dragFolder_.emplace(QDir(QDir::tempPath()).filePath(QStringLiteral("trovelin-drag-XXXXXX")));
    if (!dragFolder_->isValid()) return data;
    const QString path = dragFolder_->filePath(suggestedFileName(index));
    // Without its file the drag still carries the image; a drop target that wants a file
    // finds none.
    try {
        writeFileReplacing(nativePath(path), encodePng(*picture.image()));
        data->setUrls({QUrl::fromLocalFile(path)});
    } catch (const std::exception&) {
    }
    return data;
}

void PictureActions::startDrag(int index)
{
    std::unique_ptr<QMimeData> data = dragData(index);
    if (!data) return;
    auto* drag = new QDrag(&grid_);
    const QImage image = qvariant_cast<QImage>(data->imageData());
    drag->setPixmap(QPixmap::fromImage(image.width() > dragImageSide || image.height() > dragImageSide
                                           ? image.scaled(dragImageSide, dragImageSide, Qt::KeepAspectRatio)
                                           : image));
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction);
}

}  // namespace trovelin
