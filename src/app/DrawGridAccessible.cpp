#include "app/DrawGridAccessible.h"

#include <QScrollBar>

#include "app/DrawGrid.h"

namespace trovelin {

AccessibleDrawGrid::AccessibleDrawGrid(TDrawGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

AccessibleDrawGrid::~AccessibleDrawGrid()
{
    for (const QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
}

TDrawGrid& AccessibleDrawGrid::grid() const { return *static_cast<TDrawGrid*>(widget()); }

int AccessibleDrawGrid::childIndex(const TDrawGrid& grid, int col, int row) { return row * grid.colCount() + col; }

void* AccessibleDrawGrid::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

int AccessibleDrawGrid::columnCount() const { return grid().colCount(); }

int AccessibleDrawGrid::rowCount() const
{
    if (!grid().usedCellCount) return grid().rowCount();
    const int used = grid().usedCellCount();
    return std::min((used + grid().colCount() - 1) / grid().colCount(), grid().rowCount());
}

int AccessibleDrawGrid::childCount() const { return rowCount() * columnCount(); }

QAccessibleInterface* AccessibleDrawGrid::child(int index) const
{
    if (index < 0 || index >= childCount()) return nullptr;
    return cellAt(index / columnCount(), index % columnCount());
}

QAccessibleInterface* AccessibleDrawGrid::cellAt(int row, int column) const
{
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
    const QPair<int, int> key(column, row);
    if (const auto found = cells_.constFind(key); found != cells_.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto* cell = new AccessibleGridCell(*this, column, row);
    cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int AccessibleDrawGrid::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child || child->parent() != this || child->role() != QAccessible::Cell) return -1;
    const auto* cell = static_cast<const AccessibleGridCell*>(child);
    if (!cell->isValid()) return -1;
    return childIndex(grid(), cell->columnIndex(), cell->rowIndex());
}

QAccessibleInterface* AccessibleDrawGrid::childAt(int x, int y) const
{
    const QPoint position = grid().viewport()->mapFromGlobal(QPoint(x, y));
    const std::optional<GridCell> cell = grid().cellAt(position);
    return cell ? cellAt(cell->row, cell->col) : nullptr;
}

bool AccessibleDrawGrid::hasCurrentCell() const { return grid().row() < rowCount() && grid().col() < columnCount(); }

QAccessibleInterface* AccessibleDrawGrid::focusChild() const
{
    if (!grid().hasFocus() || !hasCurrentCell()) return nullptr;
    return cellAt(grid().row(), grid().col());
}

int AccessibleDrawGrid::selectedCellCount() const { return hasCurrentCell() ? 1 : 0; }

QList<QAccessibleInterface*> AccessibleDrawGrid::selectedCells() const
{
    if (!hasCurrentCell()) return {};
    return {cellAt(grid().row(), grid().col())};
}

AccessibleGridCell::AccessibleGridCell(const AccessibleDrawGrid& table, int col, int row)
    : table_(table), col_(col), row_(row)
{
}

bool AccessibleGridCell::isValid() const
{
    return table_.isValid() && row_ < table_.rowCount() && col_ < table_.columnCount();
}

QString AccessibleGridCell::text(QAccessible::Text t) const
{
    const TDrawGrid& grid = table_.grid();
    if (t != QAccessible::Name || !isValid() || !grid.onCellName) return {};
    return grid.onCellName(col_, row_);
}

QRect AccessibleGridCell::rect() const
{
    if (!isValid()) return {};
    const TDrawGrid& grid = table_.grid();
    const TRect cell = grid.cellRect(col_, row_);
    return QRect(grid.viewport()->mapToGlobal(QPoint(cell.left, cell.top)), QSize(cell.width(), cell.height()));
}

QAccessible::State AccessibleGridCell::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const TDrawGrid& grid = table_.grid();
    state.selectable = true;
    state.focusable = true;
    state.selected = isSelected();
    state.focused = state.selected && grid.hasFocus();
    const QRect viewport(grid.viewport()->mapToGlobal(QPoint(0, 0)), grid.viewport()->size());
    state.invisible = !grid.isVisible();
    state.offscreen = !viewport.intersects(rect());
    return state;
}

void* AccessibleGridCell::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

bool AccessibleGridCell::isSelected() const
{
    const TDrawGrid& grid = table_.grid();
    return isValid() && grid.col() == col_ && grid.row() == row_;
}

QStringList AccessibleGridCell::actionNames() const { return {pressAction()}; }

void AccessibleGridCell::doAction(const QString& actionName)
{
    if (actionName == pressAction() && isValid()) table_.grid().selectCell(col_, row_);
}

}  // namespace trovelin
