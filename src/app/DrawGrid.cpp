#include "app/DrawGrid.h"

#include <algorithm>

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include "app/DrawGridAccessible.h"
#include "framework/Canvas.h"
#include "framework/QtConversions.h"

namespace trovelin {


TDrawGrid::TDrawGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    updateScrollBars();
}

void TDrawGrid::setColCount(int count)
{
    colCount_ = std::max(count, 1);
    leftCol_ = std::min(leftCol_, colCount_ - 1);
    updateScrollBars();
    viewport()->update();
}

void TDrawGrid::setRowCount(int count)
{
    rowCount_ = std::max(count, 1);
    topRow_ = std::min(topRow_, rowCount_ - 1);
    updateScrollBars();
    viewport()->update();
}

void TDrawGrid::setColor(TColor color)
{
    color_ = color;
    viewport()->update();
}

void TDrawGrid::setTopRow(int row)
{
    verticalScrollBar()->setValue(std::clamp(row, 0, rowCount_ - 1));
    topRow_ = verticalScrollBar()->value();
    viewport()->update();
}

TRect TDrawGrid::cellRect(int col, int row) const
{
    const int left = (col - leftCol_) * cellStepX();
    const int top = (row - topRow_) * cellStepY();
    return {left, top, left + defaultColWidth_, top + defaultRowHeight_};
}

std::optional<GridCell> TDrawGrid::cellAt(const QPoint& position) const
{
    if (position.x() < 0 || position.y() < 0) return std::nullopt;
    const GridCell cell{leftCol_ + position.x() / cellStepX(), topRow_ + position.y() / cellStepY()};
    if (cell.col >= colCount_ || cell.row >= rowCount_) return std::nullopt;
    return cell;
}

bool TDrawGrid::selectCell(int col, int row)
{
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return false;
    bool canSelect = true;
    if (onSelectCell) onSelectCell(col, row, canSelect);
    if (!canSelect) return false;
    col_ = col;
    row_ = row;
    scrollToCurrent();
    viewport()->update();
    reportCurrentCell();
    return true;
}

// Not only while a screen reader listens: Qt tells the accessibility bridge and its own
// observers alike, and asks for the grid's interface once.
void TDrawGrid::reportCurrentCell()
{
    const int child = AccessibleDrawGrid::childIndex(*this, col_, row_);
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(child);
    QAccessible::updateAccessibility(&selection);
    if (!hasFocus()) return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(child);
    QAccessible::updateAccessibility(&focus);
}

void TDrawGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const int width = viewport()->width();
    const int height = viewport()->height();
    painter.fillRect(0, 0, width, height, toQColor(color_));
    TCanvas canvas(painter);
    // Row by row, left to right: a picture larger than its cell stays over its neighbours
    // until they are painted.
    for (int row = topRow_; row < rowCount_ && (row - topRow_) * cellStepY() < height; ++row) {
        for (int col = leftCol_; col < colCount_ && (col - leftCol_) * cellStepX() < width; ++col) {
            const TRect rect = cellRect(col, row);
            const bool selected = col == col_ && row == row_;
            const unsigned state = (selected ? gdSelected : 0u) | (selected && hasFocus() ? gdFocused : 0u);
            // Without focus-selected drawing, the current cell shows the selection colour only
            // while the grid does not have the focus; with the focus it gets a focus frame.
            canvas.brush().setStyle(TBrushStyle::bsSolid);
            canvas.brush().setColor(selected && !hasFocus() ? clHighlight : color_);
            canvas.fillRect(rect);
            if (onDrawCell) onDrawCell(col, row, rect, state, canvas);
            if (state & gdFocused) {
                painter.save();
                painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(rect.left, rect.top, rect.width() - 1, rect.height() - 1);
                painter.restore();
            }
            canvas.brush().setColor(clSilver);
            canvas.fillRect({rect.right, rect.top, rect.right + gridLineWidth_, rect.bottom + gridLineWidth_});
            canvas.fillRect({rect.left, rect.bottom, rect.right, rect.bottom + gridLineWidth_});
        }
    }
}

void TDrawGrid::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    dragStart_.reset();
    if (event->button() != Qt::LeftButton) return;
    const int x = event->position().toPoint().x();
    const int y = event->position().toPoint().y();
    if (x < 0 || y < 0) return;
    dragStart_ = event->position().toPoint();
    selectCell(leftCol_ + x / cellStepX(), topRow_ + y / cellStepY());
}

// The second press selects as a single one does; only a cell that took the selection opens.
void TDrawGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const std::optional<GridCell> cell = cellAt(event->position().toPoint());
    if (cell && cell->col == col_ && cell->row == row_ && onOpenCell) onOpenCell(col_, row_);
}

void TDrawGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragStart_ || !(event->buttons() & Qt::LeftButton)) return;
    if ((event->position().toPoint() - *dragStart_).manhattanLength() < QApplication::startDragDistance()) return;
    const std::optional<GridCell> cell = cellAt(*dragStart_);
    dragStart_.reset();  // one drag per press
    if (cell && onStartDrag) onStartDrag(cell->col, cell->row);
}

void TDrawGrid::contextMenuEvent(QContextMenuEvent* event)
{
    if (!onContextMenu) return QAbstractScrollArea::contextMenuEvent(event);
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const TRect rect = cellRect(col_, row_);
        const QPoint centre(rect.left + defaultColWidth_ / 2, rect.top + defaultRowHeight_ / 2);
        onContextMenu(GridCell{col_, row_}, viewport()->mapToGlobal(centre));
    } else {
        onContextMenu(cellAt(event->pos()), event->globalPos());
    }
}

bool TDrawGrid::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip || !onCellHint) return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const std::optional<GridCell> cell = cellAt(help->pos());
    const QString hint = cell ? onCellHint(cell->col, cell->row) : QString();
    if (hint.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        // The tip stays while the pointer is within the cell, and changes with it.
        const TRect rect = cellRect(cell->col, cell->row);
        QToolTip::showText(help->globalPos(), hint, viewport(), QRect(rect.left, rect.top, rect.width(), rect.height()));
    }
    return true;
}

// The framework grid's keys: arrows move one cell; Page Up and Page Down move the current cell
// and the top row together by a page, one row less than the rows in full view, so the row that
// was at the edge stays in sight; Home and End go to the first and last column. With Ctrl, Page
// Up and Page Down go to the top and bottom row in full view, Home and End to the first and last
// cell. Scrolling happens even when the owner refuses the new cell.
void TDrawGrid::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int lastFullRow = std::min(topRow_ + fullRowsInView() - 1, rowCount_ - 1);
    const int page = std::max(lastFullRow - topRow_, 1);
    int col = col_;
    int row = row_;
    int top = topRow_;
    switch (event->key()) {
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_PageUp:
        if (ctrl) {
            row = topRow_;
        } else {
            row -= page;
            top -= page;
        }
        break;
    case Qt::Key_PageDown:
        if (ctrl) {
            row = lastFullRow;
        } else {
            row += page;
            top += page;
        }
        break;
    case Qt::Key_Home:
        col = 0;
        if (ctrl) row = 0;
        break;
    case Qt::Key_End:
        col = colCount_ - 1;
        if (ctrl) row = rowCount_ - 1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (onOpenCell) onOpenCell(col_, row_);
        return;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    col = std::clamp(col, 0, colCount_ - 1);
    row = std::clamp(row, 0, rowCount_ - 1);
    if (top != topRow_) setTopRow(top);
    if (col != col_ || row != row_) selectCell(col, row);
}

void TDrawGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TDrawGrid::scrollContentsBy(int, int)
{
    topRow_ = verticalScrollBar()->value();
    leftCol_ = horizontalScrollBar()->value();
    viewport()->update();
}

int TDrawGrid::fullRowsInView() const
{
    return std::max(viewport()->height() / cellStepY(), 1);
}

void TDrawGrid::updateScrollBars()
{
    const int fullRows = fullRowsInView();
    const int fullCols = std::max(viewport()->width() / cellStepX(), 1);
    verticalScrollBar()->setRange(0, std::max(rowCount_ - fullRows, 0));
    verticalScrollBar()->setPageStep(fullRows);
    horizontalScrollBar()->setRange(0, std::max(colCount_ - fullCols, 0));
    horizontalScrollBar()->setPageStep(fullCols);
}

void TDrawGrid::scrollToCurrent()
{
    const int fullRows = fullRowsInView();
    if (row_ < topRow_) setTopRow(row_);
    else if (row_ >= topRow_ + fullRows) setTopRow(row_ - fullRows + 1);
}

}  // namespace trovelin
