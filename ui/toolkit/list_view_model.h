#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tk::detail {

// The rows of a report list view: plain texts per cell, no item objects, so a list of
// many thousand rows costs one string per cell.
class ListViewModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ListViewModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int InsertColumn(int index, std::string_view heading); // returns where it landed
    void DeleteColumn(int index);
    int ColumnCount() const { return static_cast<int>(headings_.size()); }
    std::string Heading(int index) const;

    int InsertRow(int index, std::string_view text); // returns where it landed
    void DeleteRow(int row);
    void DeleteAll();
    void SetRows(std::vector<std::vector<std::string>> rows);
    // Shows count rows whose texts are read from text(row, column) each time they are
    // needed, instead of kept: the list then costs nothing per row. Whoever changes what
    // text reads tells the list with MoveRow, DeleteRows or another SetRowSource. Changing a
    // row's text, inserting a row or a column first takes a copy of every text and leaves
    // the source.
    void SetRowSource(int count, std::function<std::string(int row, int column)> text);
    // Whether the first cell of row held text (letters without regard to case) when the
    // row was put in: rows from a source remember a fingerprint of it, not the text.
    bool FirstCellWas(int row, std::string_view text) const;
    // Moves one row to another position; the other rows keep their texts and the view
    // follows the move instead of starting over.
    void MoveRow(int from, int to);
    // Deletes the rows at the given ascending positions, a run of neighbours at a time.
    void DeleteRows(const std::vector<int>& rows);
    // Shows, at the given ascending positions, rows that the source now reads there and the
    // list does not show yet; the other rows keep their places in between. False, and
    // nothing changed, when the list holds texts instead of reading a source or a position
    // lies beyond the rows there will be.
    bool InsertSourceRows(const std::vector<int>& rows);
    int RowCount() const { return source_ ? sourceRows_ : static_cast<int>(rows_.size()); }

    void SetCell(int row, int column, std::string_view text);
    std::string Cell(int row, int column) const;

    // The tooltip of a row, asked for when it is shown; none: the cell's text.
    std::function<std::string(int row)> rowToolTip;

private:
    // Copies the source's texts into rows_ and leaves the source.
    void KeepTexts();

    std::vector<std::string> headings_;
    std::vector<std::vector<std::string>> rows_;
    std::function<std::string(int row, int column)> source_;
    int sourceRows_ = 0;
    // For rows from the source: the fingerprint of each row's first cell when it came in.
    std::vector<std::uint64_t> firstCells_;
};

} // namespace tk::detail
