#include "ui/toolkit/list_view_model.h"

#include "model/ascii_case.h"

#include <algorithm>
#include <utility>

namespace tk::detail {

namespace {

// FNV-1a over the text with its letters folded: equal for texts that EqualsNoCase finds
// equal, and different for others but once in about 2^64.
std::uint64_t FingerprintNoCase(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(permora::FoldAscii(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

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
    if (role == Qt::ToolTipRole && rowToolTip)
        return QString::fromStdString(rowToolTip(index.row()));
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Qt::AccessibleTextRole) {
        if (source_)
            return QString::fromStdString(source_(index.row(), index.column()));
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
    KeepTexts();
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
    KeepTexts();
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
    KeepTexts();
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
    if (source_) {
        --sourceRows_;
        firstCells_.erase(firstCells_.begin() + row);
    } else {
        rows_.erase(rows_.begin() + row);
    }
    endRemoveRows();
}

void ListViewModel::DeleteAll() {
    if (RowCount() == 0 && !source_)
        return;
    beginResetModel();
    rows_.clear();
    source_ = nullptr;
    sourceRows_ = 0;
    firstCells_ = {};
    endResetModel();
}

void ListViewModel::SetRows(std::vector<std::vector<std::string>> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    source_ = nullptr;
    sourceRows_ = 0;
    firstCells_ = {};
    endResetModel();
}

void ListViewModel::SetRowSource(int count, std::function<std::string(int row, int column)> text) {
    if (!text) {
        SetRows({});
        return;
    }
    beginResetModel();
    rows_ = {};
    source_ = std::move(text);
    sourceRows_ = std::max(0, count);
    firstCells_.resize(static_cast<std::size_t>(sourceRows_));
    for (int row = 0; row < sourceRows_; ++row)
        firstCells_[static_cast<std::size_t>(row)] = FingerprintNoCase(source_(row, 0));
    firstCells_.shrink_to_fit();
    endResetModel();
}

void ListViewModel::KeepTexts() {
    if (!source_)
        return;
    std::vector<std::vector<std::string>> rows(static_cast<std::size_t>(sourceRows_));
    for (int row = 0; row < sourceRows_; ++row) {
        auto& cells = rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < ColumnCount(); ++column)
            cells.push_back(source_(row, column));
    }
    rows_ = std::move(rows);
    source_ = nullptr;
    sourceRows_ = 0;
    firstCells_ = {};
}

bool ListViewModel::FirstCellWas(int row, std::string_view text) const {
    if (row < 0 || row >= RowCount())
        return false;
    if (source_)
        return firstCells_[static_cast<std::size_t>(row)] == FingerprintNoCase(text);
    return permora::EqualsNoCase(Cell(row, 0), text);
}

void ListViewModel::MoveRow(int from, int to) {
    if (from < 0 || from >= RowCount() || to < 0 || to >= RowCount() || from == to)
        return;
    // Qt names the row in front of which the moved row lands.
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    auto move = [from, to](auto& list) {
        const auto first = list.begin();
        if (to < from)
            std::rotate(first + to, first + from, first + from + 1);
        else
            std::rotate(first + from, first + from + 1, first + to + 1);
    };
    if (source_)
        move(firstCells_);
    else
        move(rows_);
    endMoveRows();
}

namespace {

// Each insertion or removal moves the rows behind it; past a few runs one pass and a reset
// cost less.
constexpr std::size_t kMostRuns = 16;

using Runs = std::vector<std::pair<int, int>>; // first and last row of each run

// Ascending positions below end as runs of neighbours; a position out of range or out of
// order is left out and makes skipped true.
Runs RunsOf(const std::vector<int>& rows, int end, bool& skipped) {
    Runs runs;
    skipped = false;
    for (const int row : rows) {
        if (row < 0 || row >= end || (!runs.empty() && row <= runs.back().second)) {
            skipped = true;
            continue;
        }
        if (!runs.empty() && runs.back().second + 1 == row)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    return runs;
}

} // namespace

bool ListViewModel::InsertSourceRows(const std::vector<int>& rows) {
    if (!source_)
        return false;
    const int after = RowCount() + static_cast<int>(rows.size());
    bool skipped = false;
    const Runs runs = RunsOf(rows, after, skipped); // where the new rows land
    if (skipped)
        return false;
    if (runs.size() > kMostRuns) {
        std::vector<std::uint64_t> cells(static_cast<std::size_t>(after));
        auto run = runs.begin();
        std::size_t kept = 0;
        for (int row = 0; row < after; ++row) {
            while (run != runs.end() && run->second < row)
                ++run;
            const bool isNew = run != runs.end() && run->first <= row;
            cells[static_cast<std::size_t>(row)] =
                isNew ? FingerprintNoCase(source_(row, 0)) : firstCells_[kept++];
        }
        beginResetModel();
        firstCells_ = std::move(cells);
        sourceRows_ = after;
        endResetModel();
        return true;
    }
    // Runs in ascending order: each lands where the rows before it already stand.
    for (const auto& [first, last] : runs) {
        std::vector<std::uint64_t> cells;
        const int count = last - first + 1;
        cells.reserve(static_cast<std::size_t>(count));
        for (int row = first; row <= last; ++row)
            cells.push_back(FingerprintNoCase(source_(row, 0)));
        beginInsertRows(QModelIndex(), first, last);
        firstCells_.insert(firstCells_.begin() + first, cells.begin(), cells.end());
        sourceRows_ += last - first + 1;
        endInsertRows();
    }
    return true;
}

void ListViewModel::DeleteRows(const std::vector<int>& rows) {
    bool skipped = false;
    const Runs runs = RunsOf(rows, RowCount(), skipped);
    if (runs.size() > kMostRuns) {
        std::vector<bool> gone(static_cast<std::size_t>(RowCount()));
        for (const auto& [first, last] : runs)
            std::fill(gone.begin() + first, gone.begin() + last + 1, true);
        auto keep = [&gone](auto& list) {
            std::size_t kept = 0;
            for (std::size_t row = 0; row < list.size(); ++row) {
                if (!gone[row])
                    list[kept++] = std::move(list[row]);
            }
            list.resize(kept);
        };
        beginResetModel();
        if (source_) {
            keep(firstCells_);
            sourceRows_ = static_cast<int>(firstCells_.size());
        } else {
            keep(rows_);
        }
        endResetModel();
        return;
    }
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        beginRemoveRows(QModelIndex(), run->first, run->second);
        if (source_) {
            sourceRows_ -= run->second - run->first + 1;
            firstCells_.erase(firstCells_.begin() + run->first,
                              firstCells_.begin() + run->second + 1);
        } else {
            rows_.erase(rows_.begin() + run->first, rows_.begin() + run->second + 1);
        }
        endRemoveRows();
    }
}

void ListViewModel::SetCell(int row, int column, std::string_view text) {
    if (row < 0 || row >= RowCount() || column < 0)
        return;
    KeepTexts();
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
    if (source_)
        return column < ColumnCount() ? source_(row, column) : std::string();
    const auto& cells = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(column) >= cells.size())
        return {};
    return cells[static_cast<std::size_t>(column)];
}

} // namespace tk::detail
