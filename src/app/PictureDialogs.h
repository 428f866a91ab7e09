#pragma once
// What the viewer asks the user before it saves pictures: a file for one picture, a folder for
// all of them. The file dialogs stand behind this, so that tests can answer instead of the user.

#include <optional>

#include <QString>

class QWidget;

namespace trovelin {

enum class PictureFileFormat { Png, Bmp };

struct PictureSaveTarget {
    QString path;
    PictureFileFormat format = PictureFileFormat::Png;
};

class PictureDialogs {
public:
    virtual ~PictureDialogs() = default;
    // A file to save one picture in, starting from `suggestedPath`; none when cancelled.
    virtual std::optional<PictureSaveTarget> askPictureFile(QWidget* parent, const QString& suggestedPath) = 0;
    // A folder for every picture, starting from `suggestedFolder`; none when cancelled.
    virtual std::optional<QString> askExportFolder(QWidget* parent, const QString& suggestedFolder) = 0;
};

// The desktop's file dialogs. PNG is offered first; BMP when its filter is chosen or the name
// ends in ".bmp".
class FilePictureDialogs : public PictureDialogs {
public:
    std::optional<PictureSaveTarget> askPictureFile(QWidget* parent, const QString& suggestedPath) override;
    std::optional<QString> askExportFolder(QWidget* parent, const QString& suggestedFolder) override;
};

// The format a chosen file name asks for: BMP for a ".bmp" name, or for a name without an
// extension when the BMP filter was chosen; PNG otherwise. A name without an extension gets the
// format's.
PictureSaveTarget pictureSaveTarget(const QString& chosenPath, bool bmpFilterChosen);

}  // namespace trovelin
