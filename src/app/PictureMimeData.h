#pragma once
// What the clipboard holds for a copied picture: the image itself, and its PNG form encoded by
// the program's own writer when a reader asks for it, so that pictures of any shape the decoder
// accepts can be pasted (Qt's writer refuses images of more than a million rows).

#include <QImage>
#include <QMimeData>

namespace trovelin {

class PictureMimeData : public QMimeData {
public:
    explicit PictureMimeData(const QImage& image);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    QImage image_;
};

}  // namespace trovelin
