#include "browse/FileListModel.h"

#include "browse/Mfileexplorer.h"

namespace trovelin {

FileListModel::FileListModel(const TMFileExplorer& list, std::function<QIcon(int)> iconOf)
    : list_(list), iconOf_(std::move(iconOf))
{
}

void FileListModel::reset()
{
    beginResetModel();
    rows_ = static_cast<int>(list_.items().size());
    columns_ = static_cast<int>(list_.columns().size());
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int FileListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    if (!index.isValid() || row >= list_.items().size() || column >= list_.columns().size()) return {};
    const FileListItem& item = list_.items()[row];
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(column == 0 ? item.caption : item.subItems[column - 1]);
    case Qt::EditRole:
        return column == 0 ? QVariant(QString::fromStdString(item.caption)) : QVariant();
    case Qt::DecorationRole:
        return column == 0 ? QVariant(iconOf_(item.imageIndex)) : QVariant();
    case Qt::TextAlignmentRole:
        return list_.columns()[column].rightAligned ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default: return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const auto column = static_cast<std::size_t>(section);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columns_ ||
        column >= list_.columns().size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromStdString(list_.columns()[column].caption);
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.row() == editableRow_ && index.column() == 0) flags |= Qt::ItemIsEditable;
    return flags;
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.row() != editableRow_ || index.column() != 0) return false;
    editableRow_ = -1;
    if (onRename) onRename(index.row(), value.toString());
    return false;  // the row shows the new name once the list is read again
}

}  // namespace trovelin
