// Input on the real widgets, as a user gives it.

#include "ui/support/scripted_host.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#ifndef PERMORA_SCREENSHOT_DIR
#define PERMORA_SCREENSHOT_DIR "screenshots"
#endif

namespace tk::test {

namespace {

// The control, when a user could reach it: it exists and is on screen.
QWidget* Reachable(const Window& window, int id) {
    QWidget* widget = window.Control(id);
    if (widget == nullptr) {
        ADD_FAILURE() << "the window \"" << window.Template().caption << "\" has no control " << id;
        return nullptr;
    }
    if (!widget->isVisible()) {
        ADD_FAILURE() << "control " << id << " of \"" << window.Template().caption
                      << "\" is not on screen";
        return nullptr;
    }
    return widget;
}

void TakeFocus(QWidget* widget) {
    if (!widget->hasFocus())
        widget->setFocus(Qt::MouseFocusReason);
}

// Where a click lands on a control: on the box of a check box or radio button, elsewhere
// in the middle.
QPoint ClickPoint(QWidget* widget) {
    const bool check = qobject_cast<QCheckBox*>(widget) != nullptr;
    const bool radio = qobject_cast<QRadioButton*>(widget) != nullptr;
    if (!check && !radio)
        return widget->rect().center();
    QStyleOptionButton option;
    option.initFrom(widget);
    option.rect = widget->rect();
    return widget->style()
        ->subElementRect(check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator,
                         &option, widget)
        .center();
}

Qt::Key KeyOf(QChar c) {
    const char16_t code = c.toUpper().unicode();
    if ((code >= u'A' && code <= u'Z') || (code >= u'0' && code <= u'9'))
        return static_cast<Qt::Key>(code);
    if (code < 0x80)
        return static_cast<Qt::Key>(code); // Qt's keys of the ASCII signs are their codes
    return Qt::Key_unknown;
}

} // namespace

void Click(const Window& window, int id) {
    if (QWidget* widget = Reachable(window, id))
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, ClickPoint(widget));
}

void TypeText(const Window& window, int id, std::string_view text) {
    QWidget* widget = Reachable(window, id);
    if (widget == nullptr)
        return;
    TakeFocus(widget);
    const QString keys = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (QChar c : keys)
        QTest::sendKeyEvent(QTest::Click, widget, KeyOf(c), QString(c), Qt::NoModifier);
}

void ClearText(const Window& window, int id) {
    QWidget* widget = Reachable(window, id);
    if (widget == nullptr)
        return;
    TakeFocus(widget);
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_Delete);
}

void ClickRow(const Window& window, int listId, int row, bool control, bool shift) {
    auto* view = qobject_cast<QAbstractItemView*>(Reachable(window, listId));
    if (view == nullptr) {
        ADD_FAILURE() << "control " << listId << " is not a list";
        return;
    }
    const QModelIndex index = view->model()->index(row, 0);
    if (!index.isValid()) {
        ADD_FAILURE() << "list " << listId << " has no row " << row;
        return;
    }
    view->scrollTo(index);
    QRect rect = view->visualRect(index);
    if (rect.width() <= 0)
        rect.setWidth(view->viewport()->width());
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    if (control)
        modifiers |= Qt::ControlModifier;
    if (shift)
        modifiers |= Qt::ShiftModifier;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, rect.center());
}

void PressKey(const Window& window, int id, int qtKey) {
    QWidget* widget = Reachable(window, id);
    if (widget == nullptr)
        return;
    TakeFocus(widget);
    QTest::keyClick(widget, static_cast<Qt::Key>(qtKey));
}

void SelectComboItem(const Window& window, int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(Reachable(window, id));
    if (combo == nullptr) {
        ADD_FAILURE() << "control " << id << " is not a combo box";
        return;
    }
    if (index < 0 || index >= combo->count()) {
        ADD_FAILURE() << "combo box " << id << " has no item " << index;
        return;
    }
    // Drop the list down and click the item, which closes the list again.
    TakeFocus(combo);
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    const QModelIndex item = list->model()->index(index, combo->modelColumn());
    list->scrollTo(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualRect(item).center());
    if (list->isVisible()) {
        ADD_FAILURE() << "the list of combo box " << id << " stayed open";
        combo->hidePopup();
    }
}

void ClickTab(PropertySheet& sheet, int index) {
    auto* tabs = sheet.ModalWidget()->findChild<QTabWidget*>();
    if (tabs == nullptr || index < 0 || index >= tabs->count()) {
        ADD_FAILURE() << "the sheet \"" << sheet.Title() << "\" has no tab " << index;
        return;
    }
    QTabBar* bar = tabs->tabBar();
    if (!bar->isVisible()) {
        ADD_FAILURE() << "the sheet \"" << sheet.Title() << "\" is not on screen";
        return;
    }
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

std::string SavePng(QWidget* widget, const std::string& name) {
    const QString folder = QStringLiteral(PERMORA_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    const QString path = folder + u'/' + QString::fromStdString(name) + QStringLiteral(".png");
    if (widget == nullptr || !widget->grab().save(path, "PNG"))
        ADD_FAILURE() << "could not write " << path.toStdString();
    return path.toStdString();
}

} // namespace tk::test
