#pragma once
// How assistive technology sees the draw grid: a table of the rows that show something, each
// cell named by the grid's owner; the current cell is selected, and focused while the grid has
// the focus. Cells are made as they are asked for and live as long as the grid's table.

#include <QAccessibleWidget>
#include <QHash>

namespace trovelin {

class TDrawGrid;

class AccessibleDrawGrid : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit AccessibleDrawGrid(TDrawGrid* grid);
    ~AccessibleDrawGrid() override;

    TDrawGrid& grid() const;
    // The index of cell (col, row) among the table's children.
    static int childIndex(const TDrawGrid& grid, int col, int row);

    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    bool hasCurrentCell() const;

    // Registered cells by position (col, row).
    mutable QHash<QPair<int, int>, QAccessible::Id> cells_;
};

class AccessibleGridCell : public QAccessibleInterface, public QAccessibleTableCellInterface,
                           public QAccessibleActionInterface {
public:
    AccessibleGridCell(const AccessibleDrawGrid& table, int col, int row);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return const_cast<AccessibleDrawGrid*>(&table_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return col_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleActionInterface: pressing a cell selects it, as a click does.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    const AccessibleDrawGrid& table_;
    int col_;
    int row_;
};

}  // namespace trovelin
