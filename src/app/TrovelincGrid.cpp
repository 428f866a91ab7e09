// The main window's picture grid: its columns follow the window's width, its cells show the
// pictures centred (at their own size, or fitted), selecting one copies it to the clipboard,
// opening one shows it in the preview.

#include "app/Trovelinc.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSettings>

#include "app/DrawGrid.h"
#include "app/PictureActions.h"
#include "app/PictureMimeData.h"
#include "app/PicturePreview.h"
#include "app/PictureThumbnails.h"
#include "framework/BitmapImage.h"
#include "framework/Canvas.h"
#include "panelfile/PictureList.h"

namespace trovelin {

namespace {

// The grid's border and frame take these pixels of its width before the columns.
constexpr int gridWidthOverhead = 8;
const QString fitPicturesKey = QStringLiteral("grid/fitPictures");

// The viewer's own settings file, in the desktop's configuration folder.
std::unique_ptr<QSettings> viewerSettings()
{
    return std::make_unique<QSettings>(QStringLiteral("trovelin"), QStringLiteral("trovelin"));
}

}  // namespace

void TTrovelin::FormResize()
{
    PictureGrid->setColCount((PictureGrid->width() - gridWidthOverhead) / PictureGrid->defaultColWidth());
    PictureGrid->setRowCount(pictureListCapacity / PictureGrid->colCount() + 1);
}

void TTrovelin::PictureGridDrawCell(int col, int row, const TRect& rect, unsigned, TCanvas& canvas)
{
    const int index = col + row * PictureGrid->colCount();
    if (index >= pictures_.count()) {
        canvas.brush().setStyle(TBrushStyle::bsSolid);
        canvas.brush().setColor(clSilver);
        canvas.fillRect(rect);
        return;
    }
    const TBitmap& picture = pictures_.at(index);
    if (picture.empty()) return;
    if (fitPictures_) {
        thumbnails_->drawFitted(canvas, rect, index, picture);
        return;
    }
    canvas.draw(rect.left + (PictureGrid->defaultColWidth() - picture.width()) / 2,
                rect.top + (PictureGrid->defaultRowHeight() - picture.height()) / 2, picture);
}

void TTrovelin::restoreGridOptions()
{
    thumbnails_ = std::make_unique<PictureThumbnails>();
    thumbnails_->onReady = [this] { PictureGrid->viewport()->update(); };
    fitPictures_ = viewerSettings()->value(fitPicturesKey, false).toBool();
    pictureActions_->fitPictures = [this] { return fitPictures_; };
    pictureActions_->setFitPictures = [this](bool fit) { setFitPictures(fit); };
}

void TTrovelin::setFitPictures(bool fit)
{
    if (fit == fitPictures_) return;
    fitPictures_ = fit;
    viewerSettings()->setValue(fitPicturesKey, fit);
    // Thumbnails are only kept while they are shown.
    if (!fit) thumbnails_->clear();
    PictureGrid->viewport()->update();
}

void TTrovelin::PictureGridSelectCell(int col, int row, bool& canSelect)
{
    const int index = col + row * PictureGrid->colCount();
    if (index >= pictures_.count()) {
        canSelect = false;
        return;
    }
    copyToClipboard(index);
}

void TTrovelin::openPreview(int index)
{
    if (index < 0 || index >= pictures_.count()) return;
    if (!preview_) {
        preview_ = new PicturePreview(
            pictures_, [this](int shown) { return pictureProvenance ? pictureProvenance(shown) : QString(); }, this);
    }
    preview_->showPicture(index);
    preview_->show();
    preview_->raise();
    preview_->activateWindow();
}

void TTrovelin::copySelectedPicture()
{
    // After a load the current cell may lie past the new count; it then has nothing to copy.
    if (const std::optional<int> index = pictureActions_->selectedPicture()) pictureActions_->copyPicture(*index);
}

void TTrovelin::copyToClipboard(int index)
{
    const TBitmap& picture = pictures_.at(index);
    setStatusPanel(0, QString("%1x%2").arg(picture.width()).arg(picture.height()));
    // The clipboard gets the pixels alone: no palette, no transparency.
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QImage image = toQImage(picture).convertToFormat(QImage::Format_RGB888);
    if (clipboard && !image.isNull()) {
        clipboard->setMimeData(new PictureMimeData(image));
        const QMimeData* placed = clipboard->mimeData();
        if (placed && placed->hasImage()) return;
    }
    messageBox(QGuiApplication::applicationDisplayName(), "Failed to copy image to clipboard!");
}

void TTrovelin::repaintPictureGrid()
{
    // A folder load hands files over faster than the grid paints: there, the paints wait for the
    // event loop, which makes one of several.
    if (folderLoad_)
        PictureGrid->viewport()->update();
    else
        PictureGrid->viewport()->repaint();
}

void TTrovelin::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

}  // namespace trovelin
