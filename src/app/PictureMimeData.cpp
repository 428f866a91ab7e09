#include "app/PictureMimeData.h"

#include <new>

#include "framework/PngWriter.h"

namespace trovelin {

namespace {

const QString pngType = QStringLiteral("image/png");

}  // namespace

PictureMimeData::PictureMimeData(const QImage& image) : image_(image)
{
    setImageData(image);
}

QStringList PictureMimeData::formats() const
{
    QStringList types = QMimeData::formats();
    types.prepend(pngType);
    return types;
}

bool PictureMimeData::hasFormat(const QString& mimeType) const
{
    return mimeType == pngType || QMimeData::hasFormat(mimeType);
}

QVariant PictureMimeData::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (mimeType != pngType) return QMimeData::retrieveData(mimeType, type);
    try {
        const std::vector<std::uint8_t> png = encodePng(image_);
        return QByteArray(reinterpret_cast<const char*>(png.data()), static_cast<qsizetype>(png.size()));
    } catch (const std::bad_alloc&) {
        return {};  // the reader gets nothing rather than the viewer stopping
    }
}

}  // namespace trovelin
