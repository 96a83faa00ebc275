#include "ui/toolkit/controls.h"

#include "model/ascii_case.h"
#include "ui/toolkit/list_view_model.h"
#include "ui/toolkit/widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>
#include <string>
#include <utility>

namespace tk {

namespace {

using permora::CompareNoCase;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           permora::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

detail::ListViewWidget* View(QAbstractItemView* widget) {
    return qobject_cast<detail::ListViewWidget*>(widget);
}

// The model whose rows the list shows: its own texts or its owner's model.
QAbstractItemModel* Shown(QAbstractItemView* widget) {
    return widget != nullptr ? widget->model() : nullptr;
}

} // namespace

// --- ListBox ----------------------------------------------------------------------------

int ListBox::Add(std::string_view text) {
    if (w_ == nullptr)
        return LB_ERR;
    // After the items that sort the same, so equal names keep the order they came in.
    int low = 0;
    int high = w_->count();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (CompareNoCase(Text(mid), text) <= 0)
            low = mid + 1;
        else
            high = mid;
    }
    const QSignalBlocker quiet(w_);
    w_->insertItem(low, QString::fromUtf8(text));
    return low;
}

void ListBox::Delete(int index) {
    if (w_ == nullptr || index < 0 || index >= w_->count())
        return;
    const QSignalBlocker quiet(w_);
    delete w_->takeItem(index); // the list widget hands the item over
}

void ListBox::Clear() {
    if (w_ == nullptr)
        return;
    const QSignalBlocker quiet(w_);
    w_->clear();
}

int ListBox::FindPrefix(std::string_view prefix) const {
    for (int i = 0; i < Count(); ++i) {
        if (StartsWithNoCase(Text(i), prefix))
            return i;
    }
    return LB_ERR;
}

int ListBox::FindExact(std::string_view text) const {
    for (int i = 0; i < Count(); ++i) {
        if (CompareNoCase(Text(i), text) == 0)
            return i;
    }
    return LB_ERR;
}

void ListBox::Select(int index) {
    if (w_ == nullptr)
        return;
    const QSignalBlocker quiet(w_);
    if (index < 0 || index >= w_->count()) {
        w_->clearSelection();
        w_->setCurrentRow(-1);
        return;
    }
    w_->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    w_->scrollToItem(w_->item(index));
}

int ListBox::Selection() const {
    if (w_ == nullptr)
        return LB_ERR;
    const QModelIndexList selected = w_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? LB_ERR : selected.first().row();
}

std::string ListBox::Text(int index) const {
    if (w_ == nullptr || index < 0 || index >= w_->count())
        return {};
    return w_->item(index)->text().toStdString();
}

int ListBox::Count() const {
    return w_ == nullptr ? 0 : w_->count();
}

// --- ComboBox ---------------------------------------------------------------------------

int ComboBox::Add(std::string_view text) {
    if (w_ == nullptr)
        return LB_ERR;
    const QSignalBlocker quiet(w_);
    const int selected = w_->currentIndex();
    w_->addItem(QString::fromUtf8(text));
    // The first item of a combo box does not select itself.
    if (selected < 0 && w_->currentIndex() >= 0)
        w_->setCurrentIndex(-1);
    return w_->count() - 1;
}

int ComboBox::FindPrefix(std::string_view prefix) const {
    for (int i = 0; i < Count(); ++i) {
        if (StartsWithNoCase(Text(i), prefix))
            return i;
    }
    return LB_ERR;
}

void ComboBox::Select(int index) {
    if (w_ == nullptr)
        return;
    const QSignalBlocker quiet(w_);
    w_->setCurrentIndex(index >= 0 && index < w_->count() ? index : -1);
}

int ComboBox::Selection() const {
    return w_ == nullptr ? LB_ERR : w_->currentIndex();
}

std::string ComboBox::Text(int index) const {
    if (w_ == nullptr || index < 0 || index >= w_->count())
        return {};
    return w_->itemText(index).toStdString();
}

int ComboBox::Count() const {
    return w_ == nullptr ? 0 : w_->count();
}

void ComboBox::Clear() {
    if (w_ == nullptr)
        return;
    const QSignalBlocker quiet(w_);
    w_->clear();
}

// --- ListView ---------------------------------------------------------------------------

void ListView::SetMultiSelect(bool on) {
    if (w_ != nullptr)
        w_->setSelectionMode(on ? QAbstractItemView::ExtendedSelection
                                : QAbstractItemView::SingleSelection);
}

void ListView::SetShowSelAlways(bool on) {
    if (auto* view = View(w_))
        view->SetShowSelAlways(on);
}

void ListView::SetFullRowSelect(bool on) {
    if (auto* view = View(w_))
        view->SetFullRowSelect(on);
}

void ListView::ShowModel(QAbstractItemModel* model) {
    if (auto* view = View(w_))
        view->ShowModel(model);
}

int ListView::InsertColumn(int index, std::string_view heading, int width) {
    auto* view = View(w_);
    if (view == nullptr)
        return -1;
    const int at = view->Rows()->InsertColumn(index, heading);
    view->horizontalHeader()->resizeSection(at, std::max(0, width));
    return at;
}

void ListView::DeleteColumn(int index) {
    if (auto* view = View(w_))
        view->Rows()->DeleteColumn(index);
}

int ListView::ColumnCount() const {
    const QAbstractItemModel* model = Shown(w_);
    return model == nullptr ? 0 : model->columnCount();
}

int ListView::ColumnWidth(int index) const {
    auto* view = View(w_);
    if (view == nullptr || index < 0 || index >= ColumnCount())
        return 0;
    return view->horizontalHeader()->sectionSize(index);
}

void ListView::SetColumnWidth(int index, int width) {
    auto* view = View(w_);
    if (view != nullptr && index >= 0 && index < ColumnCount())
        view->horizontalHeader()->resizeSection(index, std::max(0, width));
}

std::string ListView::ColumnHeading(int index) const {
    const QAbstractItemModel* model = Shown(w_);
    if (model == nullptr || index < 0 || index >= model->columnCount())
        return {};
    return model->headerData(index, Qt::Horizontal).toString().toStdString();
}

int ListView::InsertRow(int index, std::string_view text) {
    auto* view = View(w_);
    return view == nullptr ? -1 : view->Rows()->InsertRow(index, text);
}

void ListView::SetCell(int row, int column, std::string_view text) {
    if (auto* view = View(w_))
        view->Rows()->SetCell(row, column, text);
}

std::string ListView::Cell(int row, int column) const {
    auto* view = View(w_);
    if (view == nullptr)
        return {};
    if (view->ShowsOwnRows())
        return view->Rows()->Cell(row, column); // as kept, byte for byte
    const QAbstractItemModel* model = view->model();
    if (row < 0 || row >= model->rowCount() || column < 0 || column >= model->columnCount())
        return {};
    return model->index(row, column).data().toString().toStdString();
}

void ListView::DeleteRow(int row) {
    if (auto* view = View(w_))
        view->Rows()->DeleteRow(row);
}

void ListView::DeleteAll() {
    if (auto* view = View(w_))
        view->Rows()->DeleteAll();
}

void ListView::SetRows(std::vector<std::vector<std::string>> rows) {
    if (auto* view = View(w_))
        view->Rows()->SetRows(std::move(rows));
}

int ListView::RowCount() const {
    const QAbstractItemModel* model = Shown(w_);
    return model == nullptr ? 0 : model->rowCount();
}

int ListView::SelectedCount() const {
    return static_cast<int>(SelectedRows().size());
}

std::vector<int> ListView::SelectedRows() const {
    std::vector<int> rows;
    if (w_ == nullptr || w_->selectionModel() == nullptr)
        return rows;
    for (const QItemSelectionRange& range : w_->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void ListView::Select(int row, bool selected) {
    auto* view = View(w_);
    if (view == nullptr || row < 0 || row >= RowCount() || ColumnCount() == 0)
        return;
    const QModelIndex index = view->model()->index(row, 0);
    QItemSelectionModel::SelectionFlags how =
        selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
    // A single-selection list holds one selected row at most.
    if (selected && view->selectionMode() == QAbstractItemView::SingleSelection)
        how = QItemSelectionModel::ClearAndSelect;
    view->selectionModel()->select(index, how | QItemSelectionModel::Rows);
}

void ListView::ClearSelection() {
    if (w_ != nullptr && w_->selectionModel() != nullptr)
        w_->selectionModel()->clearSelection();
}

bool ListView::IsSelected(int row) const {
    if (w_ == nullptr || w_->selectionModel() == nullptr || row < 0 || row >= RowCount())
        return false;
    return w_->selectionModel()->isRowSelected(row, QModelIndex());
}

void ListView::SetSelectedRows(const std::vector<int>& rows) {
    auto* view = View(w_);
    if (view == nullptr || view->selectionModel() == nullptr)
        return;
    const int count = RowCount();
    const int lastColumn = std::max(0, ColumnCount() - 1);
    QItemSelection selection;
    // Runs of neighbouring rows become one range each.
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t end = i + 1;
        while (end < rows.size() && rows[end] == rows[end - 1] + 1)
            ++end;
        const int first = rows[i];
        const int last = rows[end - 1];
        if (first >= 0 && last < count)
            selection.select(view->model()->index(first, 0),
                             view->model()->index(last, lastColumn));
        i = end;
    }
    view->selectionModel()->select(selection,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // The keyboard goes on from the selection, and no mark stays on a row left behind.
    const QModelIndex current = view->currentIndex();
    if (!rows.empty() && rows.front() >= 0 && rows.front() < count &&
        (!current.isValid() || !view->selectionModel()->isRowSelected(current.row(), {})))
        view->selectionModel()->setCurrentIndex(view->model()->index(rows.front(), 0),
                                                QItemSelectionModel::NoUpdate);
}

void ListView::SetContextMenu(QMenu* menu) {
    if (auto* view = View(w_))
        view->contextMenu = menu;
}

int ListView::ClientWidth() const {
    auto* view = View(w_);
    if (view == nullptr)
        return 0;
    // From the frame rather than the viewport, which is only laid out once shown.
    int width = view->contentsRect().width();
    if (view->verticalScrollBar()->isVisibleTo(view))
        width -= view->verticalScrollBar()->sizeHint().width();
    return std::max(0, width);
}

int ListView::TextWidth(std::string_view text) const {
    if (w_ == nullptr)
        return 0;
    return QFontMetrics(w_->font()).horizontalAdvance(QString::fromUtf8(text));
}

// --- System metrics ---------------------------------------------------------------------

int SystemMetric(Metric metric) {
    QStyle* style = QApplication::style();
    switch (metric) {
    case Metric::CxBorder:
        return 1;
    case Metric::CxHThumb:
        return style->pixelMetric(QStyle::PM_ScrollBarExtent);
    case Metric::CxIcon:
    case Metric::CyIcon:
        return style->pixelMetric(QStyle::PM_LargeIconSize);
    }
    return 0;
}

} // namespace tk
