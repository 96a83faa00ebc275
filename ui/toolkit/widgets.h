#pragma once

// The Qt widgets behind the toolkit's windows and controls. Internal to the toolkit.

#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QTreeView>

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

// Report list view: a tree view without a tree, over a table of texts.
class ListViewWidget : public QTreeView {
    Q_OBJECT

public:
    explicit ListViewWidget(QWidget* parent = nullptr);
    ListViewModel* Rows() const { return rows_; }

    void SetShowSelAlways(bool on);

    // Mouse clicks (after the selection changed) and key presses (before the view acts on
    // them); key is the virtual key.
    std::function<void()> onClick;
    std::function<void(int key)> onKeyDown;
    // Shown on a right click, the Menu key or Shift+F10; not owned.
    QPointer<QMenu> contextMenu;

    // The key a key-down notification carries.
    static int VirtualKey(int qtKey);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    ListViewModel* rows_;
};

} // namespace tk::detail
