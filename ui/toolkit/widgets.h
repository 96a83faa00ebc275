#pragma once

// The Qt widgets behind the toolkit's windows and controls. Internal to the toolkit.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableView>

#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QMenu;

namespace tk::detail {

class ListViewModel;

// The top-level window of a dialog or a property sheet. Escape and the close box ask the
// owner to cancel instead of closing on their own; the owner decides whether the window
// ends (EndModal) and so hides.
class DialogWidget : public QDialog {
    Q_OBJECT

public:
    explicit DialogWidget(QWidget* parent = nullptr);
    ~DialogWidget() override;

    // Escape, the close box: what clicking a Cancel button (id 2) does.
    std::function<void()> cancelCommand;

    // The items that would sit on a system menu, offered as the window's context menu.
    QMenu* SystemMenu();
    bool HasSystemMenu() const;

    void reject() override;

    // Set: files dropped from a file manager, local paths in the order given.
    std::function<void(const std::vector<std::string>& paths)> onDropFiles;
    // Called after the window changed its size.
    std::function<void()> onResize;
    // The Menu key or Shift+F10 that no control took; true when it opened a menu.
    std::function<bool()> onMenuKey;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PopupSystemMenu(const QPoint& globalPos);
    QMenu* systemMenu_ = nullptr;
};

// The widget of a property page: a fixed size, which it also gives as its size hint, so a
// tab widget makes room for it.
class PageWidget : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
    QSize sizeHint() const override { return minimumSize(); }
};

// A label whose access key takes the focus to its buddy and does nothing else. (Qt's own
// label clicks a buddy that is a button: the access key of "Permissions for" would tick the
// check box after it.)
class AccessKeyLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    bool event(QEvent* event) override;
};

// A box of lines. Tab types a tab, as lines may need one; Ctrl+Tab and Shift+Tab move on
// to the next and previous control, as in Qt's own text editors.
class LinesEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool event(QEvent* event) override;
};

// A check box whose text wraps onto several lines within its rectangle.
class WrapCheckBox : public QCheckBox {
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

// List box. With one item selectable, as in a classic list box, the user can move the
// selection but never take it away: a click beside the items or a Ctrl+click on the
// selected item leaves it where it is.
class ListBoxWidget : public QListWidget {
    Q_OBJECT

public:
    using QListWidget::QListWidget;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};

// Report list view: a table view over a table of texts, set up to look and behave as a
// list of rows (no grid, no row numbers, rows of one text line, keys that move by rows).
// A table view follows the insertion, removal or move of one row among a million at once,
// where a tree view lays out every row again.
class ListViewWidget : public QTableView {
    Q_OBJECT

public:
    explicit ListViewWidget(QWidget* parent = nullptr);
    // The list's own texts, shown unless another model is.
    ListViewModel* Rows() const { return rows_; }
    bool ShowsOwnRows() const;
    // Shows another model's rows (nullptr: the own texts again).
    void ShowModel(QAbstractItemModel* model);

    void SetShowSelAlways(bool on);
    // The focus mark spans the whole row instead of the current cell.
    void SetFullRowSelect(bool on);

    // Mouse clicks (after the selection changed) and key presses (before the view acts on
    // them); key is the virtual key.
    std::function<void()> onClick;
    std::function<void(int key)> onKeyDown;
    // Enter or Return; true when it was taken (it then never reaches the default button).
    std::function<bool()> onReturn;
    // Shown on a right click, the Menu key or Shift+F10; not owned.
    QPointer<QMenu> contextMenu;

    // Opens the context menu at the current row, or at the top of the list when there is none.
    void PopupContextMenu();

    // The key a key-down notification carries.
    static int VirtualKey(int qtKey);

    void keyboardSearch(const QString& search) override;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Rows as high as one line of text in an item, whatever the font.
    void FitRowHeight();

    ListViewModel* rows_;
    bool fullRowFocus_ = true;
};

} // namespace tk::detail
