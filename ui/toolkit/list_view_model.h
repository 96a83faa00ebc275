#pragma once

#include <QAbstractTableModel>

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
    int RowCount() const { return static_cast<int>(rows_.size()); }

    void SetCell(int row, int column, std::string_view text);
    std::string Cell(int row, int column) const;

private:
    std::vector<std::string> headings_;
    std::vector<std::vector<std::string>> rows_;
};

} // namespace tk::detail
