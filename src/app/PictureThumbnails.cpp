#include "app/PictureThumbnails.h"

#include <QPainter>

#include "framework/BitmapImage.h"
#include "framework/Canvas.h"
#include "streaming/Bitmap.h"

namespace trovelin {

namespace {

// Pictures of up to this many pixels scale in about a millisecond: the paint makes their
// thumbnails itself rather than show an empty cell first.
constexpr qint64 paintThreadPixelLimit = 512 * 512;

bool sameImage(const std::weak_ptr<const DibImage>& stored, const std::shared_ptr<const DibImage>& image)
{
    return !stored.owner_before(image) && !image.owner_before(stored) && !stored.expired();
}

}  // namespace

QImage fittedThumbnail(const TBitmap& picture, QSize cell)
{
    const QImage image = toDrawableImage(picture);
    if (image.isNull()) return {};
    return image.scaled(cell, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

PictureThumbnails::PictureThumbnails() = default;

PictureThumbnails::~PictureThumbnails()
{
    workers_.clear();
    workers_.waitForDone();
}

void PictureThumbnails::drawFitted(TCanvas& canvas, const TRect& cell, int index, const TBitmap& picture)
{
    if (picture.empty()) return;
    const QSize cellSize(cell.width(), cell.height());
    if (picture.width() <= cellSize.width() && picture.height() <= cellSize.height()) {
        canvas.draw(cell.left + (cellSize.width() - picture.width()) / 2,
                    cell.top + (cellSize.height() - picture.height()) / 2, picture);
        return;
    }
    const QImage* thumbnail = thumbnailOf(index, picture, cellSize);
    if (!thumbnail) return;
    canvas.painter().drawImage(cell.left + (cellSize.width() - thumbnail->width()) / 2,
                               cell.top + (cellSize.height() - thumbnail->height()) / 2, *thumbnail);
}

void PictureThumbnails::clear() { thumbnails_.clear(); }

const QImage* PictureThumbnails::thumbnailOf(int index, const TBitmap& picture, QSize cell)
{
    const std::shared_ptr<const DibImage>& source = picture.sharedImage();
    auto found = thumbnails_.find(index);
    if (found != thumbnails_.end() && sameImage(found->second.source, source) && found->second.cell == cell)
        return found->second.image.isNull() ? nullptr : &found->second.image;

    Thumbnail& entry = thumbnails_[index];
    entry = Thumbnail{source, cell, {}};
    if (qint64(picture.width()) * picture.height() <= paintThreadPixelLimit) {
        entry.image = fittedThumbnail(picture, cell);
        ++madeCount_;
        return entry.image.isNull() ? nullptr : &entry.image;
    }
    // The worker's own copy shares the pixels, which stay alive while it scales them even if the
    // list lets them go.
    std::shared_ptr<const TBitmap> copy = copyIntoNewBitmap(picture);
    ++pendingCount_;
    workers_.start([this, index, source, cell, copy] {
        QImage image = fittedThumbnail(*copy, cell);
        QMetaObject::invokeMethod(
            this, [this, index, source, cell, image = std::move(image)] { thumbnailMade(index, source, cell, image); },
            Qt::QueuedConnection);
    });
    return nullptr;
}

void PictureThumbnails::thumbnailMade(int index, const std::shared_ptr<const DibImage>& source, QSize cell,
                                      QImage image)
{
    --pendingCount_;
    ++madeCount_;
    // The list may have been reloaded, or the cell resized, while the worker scaled.
    auto found = thumbnails_.find(index);
    if (found == thumbnails_.end() || !sameImage(found->second.source, source) || found->second.cell != cell) return;
    found->second.image = std::move(image);
    if (onReady) onReady();
}

}  // namespace trovelin
