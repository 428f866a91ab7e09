#pragma once
// The grid's fitted thumbnails: pictures larger than a cell scaled down smoothly to fit it,
// keeping their aspect ratio. Each is made once per picture per cell size; large ones are made on
// worker threads while the cell stays empty, and the grid repaints when they are ready. Pictures
// no larger than the cell are drawn as they are.

#include <functional>
#include <memory>
#include <unordered_map>

#include <QImage>
#include <QObject>
#include <QSize>
#include <QThreadPool>

#include "framework/Geometry.h"

namespace trovelin {

class DibImage;
class TBitmap;
class TCanvas;

class PictureThumbnails : public QObject {
public:
    PictureThumbnails();
    // Waits for the thumbnails still being made.
    ~PictureThumbnails() override;

    // Draws picture `index` of the list centred in `cell`, fitted when it is larger.
    void drawFitted(TCanvas& canvas, const TRect& cell, int index, const TBitmap& picture);
    // Forgets every thumbnail: the list they were made of is gone.
    void clear();

    // Thumbnails made since the start, for tests and benchmarks.
    int madeCount() const { return madeCount_; }
    // Thumbnails being made on worker threads.
    int pendingCount() const { return pendingCount_; }

    // Some thumbnails were made off the GUI thread; the cells that show them want a paint.
    std::function<void()> onReady;

private:
    struct Thumbnail {
        std::weak_ptr<const DibImage> source;
        QSize cell;
        QImage image;  // null while it is being made
    };

    // The thumbnail of `picture` for `cell` if it is ready; starts making it otherwise.
    const QImage* thumbnailOf(int index, const TBitmap& picture, QSize cell);
    void thumbnailMade(int index, const std::shared_ptr<const DibImage>& source, QSize cell, QImage image);

    std::unordered_map<int, Thumbnail> thumbnails_;
    QThreadPool workers_;
    int madeCount_ = 0;
    int pendingCount_ = 0;
};

// `picture` scaled down smoothly to fit within `cell`, keeping its aspect ratio; null for an
// empty picture.
QImage fittedThumbnail(const TBitmap& picture, QSize cell);

}  // namespace trovelin
