#include "app/PictureDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace trovelin {

namespace {

const QString pngFilter = QStringLiteral("PNG image (*.png)");
const QString bmpFilter = QStringLiteral("BMP image (*.bmp)");

}  // namespace

PictureSaveTarget pictureSaveTarget(const QString& chosenPath, bool bmpFilterChosen)
{
    const QString suffix = QFileInfo(chosenPath).suffix().toLower();
    PictureSaveTarget target{chosenPath, PictureFileFormat::Png};
    if (suffix == "bmp" || (suffix.isEmpty() && bmpFilterChosen)) target.format = PictureFileFormat::Bmp;
    if (suffix.isEmpty()) target.path += target.format == PictureFileFormat::Bmp ? ".bmp" : ".png";
    return target;
}

std::optional<PictureSaveTarget> FilePictureDialogs::askPictureFile(QWidget* parent, const QString& suggestedPath)
{
    QString chosenFilter = pngFilter;
    const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save Picture As"), suggestedPath,
                                                      pngFilter + ";;" + bmpFilter, &chosenFilter);
    if (path.isEmpty()) return std::nullopt;
    return pictureSaveTarget(path, chosenFilter == bmpFilter);
}

std::optional<QString> FilePictureDialogs::askExportFolder(QWidget* parent, const QString& suggestedFolder)
{
    const QString folder =
        QFileDialog::getExistingDirectory(parent, QStringLiteral("Export All Pictures"), suggestedFolder);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

}  // namespace trovelin
