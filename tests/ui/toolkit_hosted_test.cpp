// Widgets of a window's own, laid out with Qt layouts inside a template's rectangle: where
// they sit, how they follow a resize, how Tab reaches them, and who destroys them.

#include "ui/support/scripted_host.h"
#include "ui/toolkit/window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

#include <memory>
#include <string>
#include <vector>

namespace {

using tk::Kind;
using tk::test::ScriptedHost;

enum Id : int {
    IDC_BEFORE = 400,
    IDC_PANEL = 401,
    IDC_AFTER = 402,
    IDC_TWIN = 403, // a label on the panel's rectangle, to measure it by
};

const tk::DialogTemplate kDialog{
    910,
    "Hosting",
    260,
    180,
    "MS Shell Dlg",
    8,
    {
        {IDC_BEFORE, Kind::Edit, "", 7, 7, 120, 14},
        {tk::IDC_STATIC, Kind::Label, "&Panel:", 7, 26, 60, 8},
        {IDC_TWIN, Kind::Label, "", 7, 36, 246, 110, tk::state::kHidden},
        {IDC_PANEL, Kind::Host, "", 7, 36, 246, 110},
        {IDC_AFTER, Kind::PushButton, "&After", 7, 159, 50, 14},
        {tk::IDOK, Kind::PushButton, "OK", 150, 159, 50, 14, tk::state::kDefault},
        {tk::IDCANCEL, Kind::PushButton, "Cancel", 203, 159, 50, 14},
    },
};

// A form over a table, as a new page would have them. The fields are made out of their tab
// order and put in order by the panel itself, which the window keeps.
struct Panel {
    std::unique_ptr<QWidget> widget = std::make_unique<QWidget>();
    QTableWidget* table = nullptr;
    QLineEdit* name = nullptr;
    QComboBox* scope = nullptr; // editable: it hands its focus to a line edit of its own

    Panel() {
        auto* layout = new QVBoxLayout(widget.get());
        layout->setContentsMargins(0, 0, 0, 0);
        table = new QTableWidget(3, 2, widget.get());
        table->horizontalHeader()->setStretchLastSection(true);
        table->setTabKeyNavigation(false); // Tab leaves the table, as in a dialog
        auto* form = new QFormLayout();
        name = new QLineEdit(widget.get());
        scope = new QComboBox(widget.get());
        scope->setEditable(true);
        scope->addItems({QStringLiteral("This folder only"), QStringLiteral("Subfolders only")});
        form->addRow(QStringLiteral("Account:"), name);
        form->addRow(QStringLiteral("Applies to:"), scope);
        layout->addLayout(form);
        layout->addWidget(table, 1);
        QWidget::setTabOrder(name, scope);
        QWidget::setTabOrder(scope, table);
    }
};

class HostingDialog : public tk::Dialog {
public:
    HostingDialog() : tk::Dialog(kDialog) {}
};

bool Holds(const QWidget* field, const QWidget* focus) {
    return focus != nullptr && (focus == field || field->isAncestorOf(focus));
}

// The rectangle of a widget in its window's coordinates.
QRect InWindow(const QWidget* widget, const QWidget* window) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

TEST(HostedWidgetTest, FillsTheTemplateRectangleAndFollowsItsAnchor) {
    HostingDialog dlg;
    Panel panel;
    QTableWidget* table = panel.table;
    QWidget* hosted = dlg.HostWidget(IDC_PANEL, std::move(panel.widget));
    ASSERT_NE(hosted, nullptr);
    EXPECT_EQ(dlg.HostedWidget(IDC_PANEL), hosted);
    EXPECT_EQ(hosted->font(), dlg.Widget()->font()) << "the dialog's font";

    const QRect twin = dlg.Control(IDC_TWIN)->geometry();
    EXPECT_EQ(dlg.Control(IDC_PANEL)->geometry(), twin) << "dialog units, as every control";
    EXPECT_EQ(InWindow(hosted, dlg.Widget()), twin);
    EXPECT_EQ(table->width(), twin.width()) << "the panel's layout is laid out in it";

    dlg.SetResizable();
    dlg.Anchor(IDC_PANEL, tk::anchor::kAll);
    ScriptedHost host;
    host.ExpectModal<HostingDialog>([&](HostingDialog& d) {
        d.Widget()->resize(d.Widget()->size() + QSize(120, 80));
        QApplication::processEvents(); // the layout's own pass, as after any resize
        EXPECT_EQ(InWindow(hosted, d.Widget()).size(), twin.size() + QSize(120, 80));
        EXPECT_EQ(table->width(), twin.width() + 120);
        EXPECT_EQ(InWindow(table, d.Widget()).bottom(), InWindow(hosted, d.Widget()).bottom())
            << "the table takes the height the window gained";
        tk::test::Click(d, tk::IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), tk::IDCANCEL);
}

TEST(HostedWidgetTest, TabGoesThroughItsFieldsWhereTheTemplatePutsIt) {
    HostingDialog dlg;
    Panel panel;
    const Panel* fields = &panel;
    dlg.HostWidget(IDC_PANEL, std::move(panel.widget));
    ScriptedHost host;
    host.ExpectModal<HostingDialog>([&](HostingDialog& d) {
        const std::vector<const QWidget*> ring = {
            d.Control(IDC_BEFORE), fields->name,        fields->scope,           fields->table,
            d.Control(IDC_AFTER),  d.Control(tk::IDOK), d.Control(tk::IDCANCEL),
        };
        d.SetFocus(IDC_BEFORE);
        for (std::size_t step = 1; step <= ring.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_TRUE(Holds(ring[step % ring.size()], QApplication::focusWidget()))
                << "Tab " << step;
        }
        for (std::size_t step = ring.size(); step-- > 0;) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            EXPECT_TRUE(Holds(ring[step], QApplication::focusWidget())) << "Shift+Tab to " << step;
        }
        // The label's access key and the program's SetFocus reach the first field.
        d.SetFocus(IDC_AFTER);
        QTest::keyClick(d.Widget(), Qt::Key_P, Qt::AltModifier);
        EXPECT_TRUE(Holds(fields->name, QApplication::focusWidget()));
        d.SetFocus(IDC_AFTER);
        d.SetFocus(IDC_PANEL);
        EXPECT_TRUE(Holds(fields->name, QApplication::focusWidget()));
        tk::test::Click(d, tk::IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), tk::IDOK);
}

TEST(HostedWidgetTest, IsTheWindowsToDestroyAndCanBeReplaced) {
    QPointer<QWidget> first;
    QPointer<QWidget> second;
    {
        HostingDialog dlg;
        first = dlg.HostWidget(IDC_PANEL, std::make_unique<QLabel>(QStringLiteral("first")));
        second = dlg.HostWidget(IDC_PANEL, std::make_unique<QLineEdit>());
        ASSERT_TRUE(first && second);
        EXPECT_EQ(dlg.HostedWidget(IDC_PANEL), second.data());
        EXPECT_FALSE(first->isVisibleTo(dlg.Widget())) << "the first one is out of the way";
        // Only a Host control hosts; the widget offered elsewhere is gone.
        QPointer<QWidget> refused = new QLabel();
        EXPECT_EQ(dlg.HostWidget(IDC_AFTER, std::unique_ptr<QWidget>(refused.data())), nullptr);
        EXPECT_EQ(refused, nullptr);
        EXPECT_EQ(dlg.HostedWidget(IDC_AFTER), nullptr);
    }
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
}

enum PageId : int {
    IDC_PAGE_BOX = 420,
    IDC_PAGE_PANEL = 421,
};

const tk::DialogTemplate kPage{
    911,
    "Effective",
    230,
    150,
    "MS Shell Dlg",
    8,
    {
        {IDC_PAGE_BOX, Kind::CheckBox, "&Inherited", 7, 7, 100, 10},
        {IDC_PAGE_PANEL, Kind::Host, "", 7, 22, 216, 121},
    },
};

class HostingPage : public tk::PropertyPage {
public:
    HostingPage() : tk::PropertyPage(kPage) {
        Panel panel;
        panel.table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Everyone")));
        panel.table->setItem(0, 1, new QTableWidgetItem(QStringLiteral("Read")));
        panel.name->setText(QStringLiteral("LAB\\staff"));
        fields = HostWidget(IDC_PAGE_PANEL, std::move(panel.widget));
    }
    QWidget* fields = nullptr;
};

// On a page the hosted widget goes into the sheet with the page's controls, keeps its place
// in the tab order there, and stays the page's when the sheet is gone.
TEST(HostedWidgetTest, WorksOnAPropertyPage) {
    HostingPage page;
    QPointer<QWidget> fields = page.fields;
    {
        tk::PropertySheet sheet("Advanced Security Settings for /vol/vol1");
        sheet.AddPage(&page);
        ScriptedHost host;
        host.ExpectModal<tk::PropertySheet>([&](tk::PropertySheet& s) {
            const QRect panel = InWindow(page.Control(IDC_PAGE_PANEL), page.Widget());
            EXPECT_EQ(InWindow(fields, page.Widget()), panel);
            page.SetFocus(IDC_PAGE_BOX);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_TRUE(Holds(fields->findChild<QLineEdit*>(), QApplication::focusWidget()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            EXPECT_EQ(QApplication::focusWidget(), page.Control(IDC_PAGE_BOX));
            tk::test::SavePng(s.ModalWidget(), "toolkit_hosted_page");
            s.PressOK();
        });
        EXPECT_EQ(sheet.DoModal(), tk::IDOK);
    }
    EXPECT_TRUE(fields) << "the sheet gives the page back whole";
    EXPECT_EQ(fields->window(), page.Widget());
}

} // namespace
