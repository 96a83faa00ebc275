#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QListWidget;
class QMenu;
class QComboBox;
class QAbstractItemModel;
class QAbstractItemView;

namespace tk {

inline constexpr int LB_ERR = -1;

// Handles onto the controls of a window; cheap to copy, valid while the window lives.

// Sorted list box: items ordered by their text, letters without regard to case.
class ListBox {
public:
    explicit ListBox(QListWidget* widget) : w_(widget) {}
    int Add(std::string_view text); // index where the item landed
    void Delete(int index);
    void Clear();
    // First item from the top whose text begins with prefix (letters without regard to
    // case); LB_ERR when none.
    int FindPrefix(std::string_view prefix) const;
    // First item whose whole text equals text (letters without regard to case).
    int FindExact(std::string_view text) const;
    void Select(int index); // LB_ERR clears the selection
    int Selection() const;  // LB_ERR when none
    std::string Text(int index) const;
    int Count() const;

private:
    QListWidget* w_;
};

// Drop-down combo box: items in the order added.
class ComboBox {
public:
    explicit ComboBox(QComboBox* widget) : w_(widget) {}
    int Add(std::string_view text);
    int FindPrefix(std::string_view prefix) const; // LB_ERR when none
    void Select(int index);                        // LB_ERR clears the selection
    int Selection() const;
    std::string Text(int index) const;
    int Count() const;
    void Clear();

private:
    QComboBox* w_;
};

// Report list view with columns; rows hold plain texts (no widget per cell).
class ListView {
public:
    explicit ListView(QAbstractItemView* widget) : w_(widget) {}

    void SetMultiSelect(bool on);
    void SetShowSelAlways(bool on);
    void SetFullRowSelect(bool on);

    // Shows the rows of a table model that its owner keeps and changes (not owned; nullptr:
    // the list's own rows again). Headings and texts then come from that model.
    void ShowModel(QAbstractItemModel* model);

    // Columns and rows of the list's own texts.
    int InsertColumn(int index, std::string_view heading, int width); // left-aligned
    void DeleteColumn(int index);
    int InsertRow(int index, std::string_view text); // text of column 0; returns the index
    void SetCell(int row, int column, std::string_view text);
    void DeleteRow(int row);
    void DeleteAll();
    // Replaces every row at once; each row holds the texts of its cells from column 0.
    void SetRows(std::vector<std::vector<std::string>> rows);

    // The rows shown, the list's own or a model's.
    int ColumnCount() const;
    int ColumnWidth(int index) const;
    void SetColumnWidth(int index, int width);
    std::string ColumnHeading(int index) const;
    std::string Cell(int row, int column) const;
    int RowCount() const;
    int SelectedCount() const;
    std::vector<int> SelectedRows() const; // ascending
    void Select(int row, bool selected = true);
    void ClearSelection();
    bool IsSelected(int row) const;
    // Exactly these rows selected (ascending), in one change however many they are.
    void SetSelectedRows(const std::vector<int>& rows);

    // The menu shown on a right click, the Menu key or Shift+F10 (not owned; nullptr: none).
    void SetContextMenu(QMenu* menu);

    int ClientWidth() const;                    // pixels
    int TextWidth(std::string_view text) const; // pixels, in the list's font

    QAbstractItemView* Widget() const { return w_; }

private:
    QAbstractItemView* w_;
};

enum class Metric { CxBorder, CxHThumb, CxIcon, CyIcon };
int SystemMetric(Metric metric);

} // namespace tk
