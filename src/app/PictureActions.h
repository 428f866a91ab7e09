#pragma once
// What the picture grid offers beyond selecting and copying: a right-click menu (Preview, Copy,
// Save Picture As…, Export All Pictures…, Fit Pictures in Cells), Ctrl+S and Ctrl+Shift+S, each cell's origin as its
// tooltip and with its picture's size as its name for assistive technology, and dragging a picture out as image data and as a PNG file.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QMimeData>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>

class QMenu;

namespace trovelin {

class PictureDialogs;
class PictureList;
class TDrawGrid;

class PictureActions {
public:
    // `copy` copies a picture as selecting it does; `report` shows a failure to the user.
    PictureActions(TDrawGrid& grid, const PictureList& pictures, std::function<void(int index)> copy,
                   std::function<void(const QString&)> report);
    ~PictureActions();
    PictureActions(const PictureActions&) = delete;
    PictureActions& operator=(const PictureActions&) = delete;

    // The file dialogs unless replaced.
    void setDialogs(std::unique_ptr<PictureDialogs> dialogs);

    // The picture a cell shows, or none.
    std::optional<int> pictureAt(int col, int row) const;
    std::optional<int> selectedPicture() const;
    // "Name.Property (Class)" and the panel file, on two lines; empty past the last picture.
    QString pictureHint(int index) const;
    // What a screen reader says of the cell of picture `index`: "Picture 2 of 13, 64 x 16, 4 bits,
    // Preset1.Glyph (TSpeedButton), arena-rig.kvr"; empty past the last picture.
    QString pictureName(int index) const;
    // "<panel file>-<record>.png": what a saved or dragged picture is called.
    QString suggestedFileName(int index) const;

    // The menu for a right-click on the picture `index` (none: not on a picture). Its owner
    // is the caller.
    std::unique_ptr<QMenu> contextMenu(std::optional<int> index);
    void copyPicture(int index);
    // Asks for a file, then writes the picture there; an empty picture is not saved.
    void savePicture(int index);
    // Asks for a folder, then writes NNN.png for each picture and pictures.json.
    void exportAllPictures();
    // The picture as image data and as the URL of a PNG file that lives as long as the
    // viewer; null for an empty picture.
    std::unique_ptr<QMimeData> dragData(int index);

    // Opens a picture's preview; the menu offers "Preview" when it is set.
    std::function<void(int index)> preview;
    // Whether the grid fits large pictures into their cells, and the switch for it; the menu
    // offers "Fit Pictures in Cells" when both are set.
    std::function<bool()> fitPictures;
    std::function<void(bool)> setFitPictures;
    // Pops a menu up at a global position; tests replace it.
    std::function<void(QMenu& menu, const QPoint& globalPosition)> popupMenu;

private:
    void startDrag(int index);
    // Writes `bytes` as `path`, reporting a failure.
    void writeReporting(const QString& path, const std::vector<std::uint8_t>& bytes);

    TDrawGrid& grid_;
    const PictureList& pictures_;
    std::function<void(int)> copy_;
    std::function<void(const QString&)> report_;
    std::unique_ptr<PictureDialogs> dialogs_;
    // Where the last save or export went; the dialogs start there.
    QString lastFolder_;
    // Dragged pictures' files, made on the first drag.
    std::optional<QTemporaryDir> dragFolder_;
};

}  // namespace trovelin
