#include "ui/toolkit/widgets.h"

#include "ui/toolkit/list_view_model.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStyleOptionViewItem>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QUrl>

#include <algorithm>

namespace tk::detail {

// --- DialogWidget -----------------------------------------------------------------------

DialogWidget::DialogWidget(QWidget* parent) : QDialog(parent) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

DialogWidget::~DialogWidget() = default;

QMenu* DialogWidget::SystemMenu() {
    if (systemMenu_ == nullptr)
        systemMenu_ = new QMenu(this);
    return systemMenu_;
}

bool DialogWidget::HasSystemMenu() const {
    return systemMenu_ != nullptr && !systemMenu_->isEmpty();
}

void DialogWidget::reject() {
    if (cancelCommand)
        cancelCommand();
    else
        QDialog::reject();
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event) {
    // The Menu key comes as a context menu event from the keyboard.
    if (event->reason() == QContextMenuEvent::Keyboard && onMenuKey && onMenuKey()) {
        event->accept();
        return;
    }
    if (!HasSystemMenu()) {
        event->ignore();
        return;
    }
    PopupSystemMenu(event->globalPos());
    event->accept();
}

void DialogWidget::keyPressEvent(QKeyEvent* event) {
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey && onMenuKey && onMenuKey()) {
        event->accept();
        return;
    }
    if (menuKey && HasSystemMenu()) {
        QWidget* anchor = focusWidget() != nullptr ? focusWidget() : this;
        PopupSystemMenu(anchor->mapToGlobal(anchor->rect().center()));
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

namespace {

// The local files of a drag, in order; empty when anything else is dragged.
std::vector<std::string> DroppedFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls())
        return paths;
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            return {};
        paths.push_back(url.toLocalFile().toStdString());
    }
    return paths;
}

} // namespace

void DialogWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (onDropFiles && !DroppedFiles(event->mimeData()).empty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void DialogWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (onDropFiles && !DroppedFiles(event->mimeData()).empty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void DialogWidget::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = DroppedFiles(event->mimeData());
    if (!onDropFiles || paths.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    onDropFiles(paths);
}

void DialogWidget::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (onResize)
        onResize();
}

void DialogWidget::PopupSystemMenu(const QPoint& globalPos) {
    systemMenu_->popup(globalPos);
}

// --- AccessKeyLabel ---------------------------------------------------------------------

bool AccessKeyLabel::event(QEvent* event) {
    // A label only ever hears of the shortcut of its own access key.
    if (event->type() != QEvent::Shortcut || buddy() == nullptr)
        return QLabel::event(event);
    QWidget* target = buddy();
    if (target->focusPolicy() != Qt::NoFocus)
        target->setFocus(Qt::ShortcutFocusReason);
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    return true;
}

// --- LinesEdit --------------------------------------------------------------------------

bool LinesEdit::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool control = (key->modifiers() & Qt::ControlModifier) != 0;
        if (key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && control)) {
            // The text's own handling keeps every Tab; the window's moves the focus, so the
            // text edit's refusal to move it is passed over on purpose.
            // NOLINTNEXTLINE(bugprone-parent-virtual-call)
            QWidget::focusNextPrevChild(key->key() == Qt::Key_Tab &&
                                        !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

// --- WrapCheckBox -----------------------------------------------------------------------

QSize WrapCheckBox::sizeHint() const {
    return QCheckBox::sizeHint();
}

void WrapCheckBox::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString text = option.text;
    option.text.clear();

    QStyleOptionButton indicator = option;
    indicator.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, indicator);

    const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    QRect textRect = rect();
    textRect.setLeft(indicator.rect.right() + 1 + spacing);
    int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags |= Qt::TextHideMnemonic;
    painter.drawItemText(textRect, flags, option.palette, isEnabled(), text, QPalette::WindowText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.fontMetrics()
                         .boundingRect(textRect, flags, text)
                         .adjusted(-1, 0, 1, 0)
                         .intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool WrapCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

// --- ListBoxWidget ----------------------------------------------------------------------

QItemSelectionModel::SelectionFlags ListBoxWidget::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
    if (selectionMode() != QAbstractItemView::SingleSelection || event == nullptr)
        return flags;
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const bool takesAway =
        (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)) != 0;
    if (takesAway && selectionModel()->isSelected(index))
        return QItemSelectionModel::NoUpdate;
    return flags;
}

// --- ListViewWidget ---------------------------------------------------------------------

namespace {

// Cells that leave the focus mark to the view, which draws it around the whole row.
class RowFocusDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool fullRow = true;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!fullRow) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem cell(option);
        cell.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, cell, index);
    }
};

} // namespace

ListViewWidget::ListViewWidget(QWidget* parent)
    : QTableView(parent), rows_(new ListViewModel(this)) {
    setModel(rows_);
    setItemDelegate(new RowFocusDelegate(this));
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setTextElideMode(Qt::ElideRight);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    QHeaderView* columns = horizontalHeader();
    columns->setStretchLastSection(false);
    columns->setSectionsMovable(false);
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setMinimumSectionSize(0);
    FitRowHeight();
}

bool ListViewWidget::ShowsOwnRows() const {
    return model() == rows_;
}

void ListViewWidget::ShowModel(QAbstractItemModel* shown) {
    if (shown == nullptr)
        shown = rows_;
    if (model() == shown)
        return;
    // The view makes a selection model for the new rows; the old one served only this view.
    QItemSelectionModel* old = selectionModel();
    setModel(shown);
    delete old;
}

void ListViewWidget::FitRowHeight() {
    QStyleOptionViewItem item;
    initViewItemOption(&item);
    item.features |= QStyleOptionViewItem::HasDisplay;
    item.text = QStringLiteral("Xg");
    const int height =
        style()->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), this).height();
    verticalHeader()->setDefaultSectionSize(std::max(1, height));
}

void ListViewWidget::SetFullRowSelect(bool on) {
    fullRowFocus_ = on;
    static_cast<RowFocusDelegate*>(itemDelegate())->fullRow = on;
    viewport()->update();
}

void ListViewWidget::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        FitRowHeight();
}

void ListViewWidget::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!fullRowFocus_ || !current.isValid() || !(hasFocus() || viewport()->hasFocus()))
        return;
    // The focus mark around the current row, across every column.
    const int top = rowViewportPosition(current.row());
    const int height = rowHeight(current.row());
    const int left = -horizontalHeader()->offset();
    const QRect row(left, top, horizontalHeader()->length(), height);
    if (!row.intersects(event->rect()))
        return;
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.state |= QStyle::State_KeyboardFocusChange;
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Normal : QPalette::Disabled;
    focus.backgroundColor = palette().color(
        group, selectionModel()->isRowSelected(current.row(), QModelIndex()) ? QPalette::Highlight
                                                                             : QPalette::Window);
    focus.rect = style()->visualRect(layoutDirection(), viewport()->rect(), row);
    QPainter painter(viewport());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

QModelIndex ListViewWidget::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    switch (action) {
    case MoveLeft:
    case MoveRight: {
        // Left and right scroll a list that is wider than its window; the row stays.
        QScrollBar* bar = horizontalScrollBar();
        bar->setValue(bar->value() + (action == MoveLeft ? -1 : 1) * bar->singleStep());
        return current;
    }
    case MoveHome:
    case MoveEnd: {
        const int rows = model()->rowCount();
        if (rows == 0)
            return {};
        return model()->index(action == MoveHome ? 0 : rows - 1, column);
    }
    default:
        return QTableView::moveCursor(action, modifiers);
    }
}

void ListViewWidget::keyboardSearch(const QString& search) {
    // Typing finds a row by its first column, whichever cell was clicked last.
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() != 0)
        selectionModel()->setCurrentIndex(current.siblingAtColumn(0),
                                          QItemSelectionModel::NoUpdate);
    QTableView::keyboardSearch(search);
}

void ListViewWidget::SetShowSelAlways(bool on) {
    QPalette colours = palette();
    const QPalette standard = style()->standardPalette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role,
                         on ? colours.color(QPalette::Active, role)
                            : standard.color(QPalette::Inactive, role));
    }
    setPalette(colours);
}

int ListViewWidget::VirtualKey(int qtKey) {
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey; // the same codes as the virtual keys
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    default:
        return qtKey;
    }
}

QItemSelectionModel::SelectionFlags ListViewWidget::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    QItemSelectionModel::SelectionFlags flags = QTableView::selectionCommand(index, event);
    if (event == nullptr || selectionMode() != QAbstractItemView::ExtendedSelection)
        return flags;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    if (event->type() == QEvent::MouseButtonPress)
        modifiers = static_cast<const QMouseEvent*>(event)->modifiers();
    else if (event->type() == QEvent::KeyPress)
        modifiers = static_cast<const QKeyEvent*>(event)->modifiers();
    else
        return flags;
    // Shift alone selects the rows from the anchor to here and nothing else.
    if ((modifiers & Qt::ShiftModifier) && !(modifiers & Qt::ControlModifier) &&
        (flags & QItemSelectionModel::Current))
        flags |= QItemSelectionModel::Clear;
    return flags;
}

void ListViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool left = event->button() == Qt::LeftButton;
    QPointer<ListViewWidget> self(this);
    QTableView::mouseReleaseEvent(event);
    if (self && left && onClick)
        onClick();
}

void ListViewWidget::keyPressEvent(QKeyEvent* event) {
    QPointer<ListViewWidget> self(this);
    if (onKeyDown)
        onKeyDown(VirtualKey(event->key()));
    if (!self)
        return;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier && onReturn && onReturn()) {
        event->accept();
        return;
    }
    if (!self)
        return;
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey && contextMenu) {
        PopupContextMenu();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ListViewWidget::PopupContextMenu() {
    if (!contextMenu)
        return;
    const QRect row = visualRect(currentIndex());
    const QPoint at = row.isValid() ? QPoint(row.left() + 8, row.bottom()) : QPoint(8, 8);
    contextMenu->popup(viewport()->mapToGlobal(at));
}

void ListViewWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (!contextMenu) {
        QTableView::contextMenuEvent(event);
        return;
    }
    contextMenu->popup(event->globalPos());
    event->accept();
}

} // namespace tk::detail
