#include "ui/toolkit/list_view_model.h"

#include <algorithm>
#include <utility>

namespace tk::detail {

ListViewModel::ListViewModel(QObject* parent) : QAbstractTableModel(parent) {}

int ListViewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int ListViewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= RowCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Qt::AccessibleTextRole) {
        const auto& cells = rows_[static_cast<std::size_t>(index.row())];
        const auto column = static_cast<std::size_t>(index.column());
        if (column < cells.size())
            return QString::fromStdString(cells[column]);
        return QString();
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(headings_[static_cast<std::size_t>(section)]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

int ListViewModel::InsertColumn(int index, std::string_view heading) {
    index = std::clamp(index, 0, ColumnCount());
    beginInsertColumns(QModelIndex(), index, index);
    headings_.insert(headings_.begin() + index, std::string(heading));
    // Cells move right with their columns, as the later columns do.
    for (auto& cells : rows_) {
        if (static_cast<int>(cells.size()) > index)
            cells.insert(cells.begin() + index, std::string());
    }
    endInsertColumns();
    return index;
}

void ListViewModel::DeleteColumn(int index) {
    if (index < 0 || index >= ColumnCount())
        return;
    beginRemoveColumns(QModelIndex(), index, index);
    headings_.erase(headings_.begin() + index);
    for (auto& cells : rows_) {
        if (static_cast<int>(cells.size()) > index)
            cells.erase(cells.begin() + index);
    }
    endRemoveColumns();
}

std::string ListViewModel::Heading(int index) const {
    if (index < 0 || index >= ColumnCount())
        return {};
    return headings_[static_cast<std::size_t>(index)];
}

int ListViewModel::InsertRow(int index, std::string_view text) {
    index = std::clamp(index, 0, RowCount());
    beginInsertRows(QModelIndex(), index, index);
    rows_.insert(rows_.begin() + index, std::vector<std::string>{std::string(text)});
    endInsertRows();
    return index;
}

void ListViewModel::DeleteRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void ListViewModel::DeleteAll() {
    if (RowCount() == 0)
        return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void ListViewModel::SetRows(std::vector<std::vector<std::string>> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void ListViewModel::SetCell(int row, int column, std::string_view text) {
    if (row < 0 || row >= RowCount() || column < 0)
        return;
    auto& cells = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(column) >= cells.size())
        cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)] = std::string(text);
    if (column < ColumnCount()) {
        const QModelIndex cell = index(row, column);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
}

std::string ListViewModel::Cell(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0)
        return {};
    const auto& cells = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(column) >= cells.size())
        return {};
    return cells[static_cast<std::size_t>(column)];
}

} // namespace tk::detail
