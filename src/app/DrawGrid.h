#pragma once
// The framework's draw grid: square cells of a default size separated by one-pixel grid lines,
// scrolled by whole cells, painted cell by cell through an owner's draw handler after the grid
// has filled each cell with its background. Selection moves through an owner's handler that may
// refuse it, by mouse or by key (arrows, Page Up, Page Down, Home, End, and with Ctrl the ends).
// A double-click, Enter or Space opens the current cell through the owner's handler.
// Only visible cells are painted. Owners may also give each cell a tooltip and start a drag from
// it, and name what cells show for assistive technology, which is told when the current cell
// moves.

#include <functional>
#include <optional>

#include <QAbstractScrollArea>

#include "framework/Geometry.h"
#include "framework/NamedConstants.h"

namespace trovelin {

class TCanvas;

struct GridCell {
    int col = 0;
    int row = 0;
};

enum TGridDrawState : unsigned { gdSelected = 1, gdFocused = 2 };

class TDrawGrid : public QAbstractScrollArea {
public:
    explicit TDrawGrid(QWidget* parent = nullptr);

    int colCount() const { return colCount_; }
    void setColCount(int count);  // values below 1 become 1
    int rowCount() const { return rowCount_; }
    void setRowCount(int count);  // values below 1 become 1
    int defaultColWidth() const { return defaultColWidth_; }
    int defaultRowHeight() const { return defaultRowHeight_; }
    TColor color() const { return color_; }
    void setColor(TColor color);

    // The current cell.
    int col() const { return col_; }
    int row() const { return row_; }
    int topRow() const { return topRow_; }
    void setTopRow(int row);
    int leftCol() const { return leftCol_; }

    // The cell's rectangle in the grid's client area (right and bottom exclusive).
    TRect cellRect(int col, int row) const;
    // The cell under a point of the client area; none over a grid line's far side or outside.
    std::optional<GridCell> cellAt(const QPoint& position) const;
    // Asks onSelectCell, then makes the cell current unless it was refused; true when it moved.
    bool selectCell(int col, int row);

    // (col, row, rectangle, state, canvas): draws over the background the grid has filled.
    std::function<void(int, int, const TRect&, unsigned, TCanvas&)> onDrawCell;
    // (col, row, can select): clearing the flag refuses the move.
    std::function<void(int, int, bool&)> onSelectCell;
    // (col, row): the current cell was double-clicked, or Enter or Space pressed on it.
    std::function<void(int, int)> onOpenCell;
    // (col, row): what the cell shows, in words for assistive technology; empty for nothing.
    std::function<QString(int, int)> onCellName;
    // How many cells, in reading order, show something: assistive technology sees their rows
    // alone. Unset: every row.
    std::function<int()> usedCellCount;
    // (col, row): the cell's tooltip; empty for none.
    std::function<QString(int, int)> onCellHint;
    // (col, row): the left button went down on the cell and the pointer moved a drag's distance.
    std::function<void(int, int)> onStartDrag;
    // (cell, global position): a context menu was asked for over a cell, or over none; from
    // the keyboard it is asked for the current cell.
    std::function<void(std::optional<GridCell>, const QPoint&)> onContextMenu;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int cellStepX() const { return defaultColWidth_ + gridLineWidth_; }
    int cellStepY() const { return defaultRowHeight_ + gridLineWidth_; }
    // Rows wholly inside the client area; at least one.
    int fullRowsInView() const;
    void updateScrollBars();
    void scrollToCurrent();
    void reportCurrentCell();

    int colCount_ = 5;
    int rowCount_ = 5;
    int defaultColWidth_ = 65;
    int defaultRowHeight_ = 65;
    int gridLineWidth_ = 1;
    TColor color_ = clWindow;
    int col_ = 0;
    int row_ = 0;
    int topRow_ = 0;
    int leftCol_ = 0;
    // Where the left button went down, while it may still start a drag.
    std::optional<QPoint> dragStart_;
};

}  // namespace trovelin
