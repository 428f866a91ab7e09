#pragma once
// The rows of a TMFileExplorer as a Qt item model: the caption with its icon in column 0, the
// visible sub-items after it, right-aligned where the column is. One row's name can be edited at a
// time, for renaming; what is typed goes to `onRename`, and the list stays as it is until refreshed.

#include <functional>

#include <QAbstractTableModel>
#include <QIcon>

namespace trovelin {

class TMFileExplorer;

class FileListModel : public QAbstractTableModel {
public:
    FileListModel(const TMFileExplorer& list, std::function<QIcon(int)> iconOf);

    // Takes the list's current rows and columns; until then the model shows the rows it took last,
    // so views asking in the middle of a refresh never reach past the list.
    void reset();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The columns' captions, which the hidden header does not show but assistive technology reads.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The row whose name may be edited, or -1.
    void setEditableRow(int row) { editableRow_ = row; }
    std::function<void(int row, const QString& name)> onRename;

private:
    const TMFileExplorer& list_;
    std::function<QIcon(int)> iconOf_;
    int rows_ = 0;
    int columns_ = 0;
    int editableRow_ = -1;
};

}  // namespace trovelin
