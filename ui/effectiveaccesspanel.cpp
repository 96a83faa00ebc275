#include "ui/effectiveaccesspanel.h"

#include "template_file/access_table.h"
#include "ui/shown_names.h"
#include "ui/toolkit/dialog_template.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStringListModel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

using permora::AccessColumnName;
using permora::kAccessColumnCount;

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr const char* kPhraseContext = "AccessTable";

// The words of the cells and their explanations, listed so that lupdate offers each for
// translation; the table builds its texts from them. The lower-case words stand after another
// level's, below it: "Allowed in the first level, denied below".
[[maybe_unused]] constexpr const char* kPhrases[] = {
    QT_TRANSLATE_NOOP("AccessTable", "Allowed"),
    QT_TRANSLATE_NOOP("AccessTable", "Denied"),
    QT_TRANSLATE_NOOP("AccessTable", "Not allowed"),
    QT_TRANSLATE_NOOP("AccessTable", "Success"),
    QT_TRANSLATE_NOOP("AccessTable", "Failure"),
    QT_TRANSLATE_NOOP("AccessTable", "Success and failure"),
    QT_TRANSLATE_NOOP("AccessTable", "Not audited"),
    QT_TRANSLATE_NOOP("AccessTable", "allowed"),
    QT_TRANSLATE_NOOP("AccessTable", "denied"),
    QT_TRANSLATE_NOOP("AccessTable", "not allowed"),
    QT_TRANSLATE_NOOP("AccessTable", "success"),
    QT_TRANSLATE_NOOP("AccessTable", "failure"),
    QT_TRANSLATE_NOOP("AccessTable", "success and failure"),
    QT_TRANSLATE_NOOP("AccessTable", "not audited"),
    QT_TRANSLATE_NOOP("AccessTable", "%1 in the first level only"),
    QT_TRANSLATE_NOOP("AccessTable", "%1 in the first level, %2 below"),
    QT_TRANSLATE_NOOP("AccessTable", "Not decided"),
    QT_TRANSLATE_NOOP("AccessTable", "The target has no permission list: nothing is decided."),
    QT_TRANSLATE_NOOP("AccessTable", "No entry grants it."),
    QT_TRANSLATE_NOOP("AccessTable", "No entry grants all of it."),
    QT_TRANSLATE_NOOP("AccessTable", "Denied by entry %1: %2"),
    QT_TRANSLATE_NOOP("AccessTable", "Allowed by entry %1: %2"),
    QT_TRANSLATE_NOOP("AccessTable", "Partly allowed by entry %1: %2"),
    QT_TRANSLATE_NOOP("AccessTable", "In the first level:"),
    QT_TRANSLATE_NOOP("AccessTable", "Below the first level:"),
};

// The line under the tables, by column: %1 the row's right, %2 what decided the cell.
constexpr const char* kDetailsByColumn[kAccessColumnCount] = {
    QT_TRANSLATE_NOOP("EffectiveAccessPanel", "%1, this folder: %2"),
    QT_TRANSLATE_NOOP("EffectiveAccessPanel", "%1, subfolders: %2"),
    QT_TRANSLATE_NOOP("EffectiveAccessPanel", "%1, files: %2"),
};

std::string InLanguage(const char* pattern) {
    return QCoreApplication::translate(kPhraseContext, pattern).toStdString();
}

template <class Text> QString Shown(const Text& text) {
    return Q(permora::Render(text, InLanguage));
}

// A read-only table of rights by the three columns, as tall as its rows, so that the page
// scrolls instead of each table; Tab leaves it, the arrows move between its cells.
QTableWidget* MakeTable(const QString& name, QWidget* parent) {
    auto* table = new QTableWidget(0, kAccessColumnCount, parent);
    table->setObjectName(name);
    table->setAccessibleName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    table->setWordWrap(false);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QStringList headings;
    for (int column = 0; column < kAccessColumnCount; ++column) {
        headings << ShownName(AccessColumnName(column));
    }
    table->setHorizontalHeaderLabels(headings);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return table;
}

// Rows named after the rights; the row names stay while the cells change.
void SetRowNames(QTableWidget* table, const std::vector<const char*>& names) {
    table->setRowCount(static_cast<int>(names.size()));
    QStringList labels;
    for (const char* name : names) {
        // The rights as the entry editors name them.
        labels << QCoreApplication::translate(tk::kTextContext, name);
    }
    table->setVerticalHeaderLabels(labels);
}

void SetCell(QTableWidget* table, int row, int column, const QString& text,
             const QString& explanation) {
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(explanation);
    item->setData(Qt::AccessibleDescriptionRole, explanation);
    table->setItem(row, column, item);
}

template <std::size_t N>
std::vector<const char*> Names(const std::array<permora::NamedRights, N>& rights) {
    std::vector<const char*> names;
    names.reserve(N);
    for (const permora::NamedRights& right : rights) {
        names.push_back(right.name);
    }
    return names;
}

template <std::size_t N>
void FillAccess(QTableWidget* table, const permora::EffectiveAccess& access,
                const std::array<permora::NamedRights, N>& rights) {
    for (int row = 0; row < static_cast<int>(N); ++row) {
        const std::uint32_t mask = rights[static_cast<std::size_t>(row)].mask;
        for (int column = 0; column < kAccessColumnCount; ++column) {
            SetCell(table, row, column,
                    Shown(permora::AccessCellPhrase(access,
                                                    permora::AccessCellOf(access, column, mask))),
                    Shown(permora::AccessCellExplanationLines(access, column, mask)));
        }
    }
}

// The widest columns give way until the columns take no more than budget together, but no
// column gets narrower than its heading.
void NarrowColumns(std::array<int, kAccessColumnCount>& widths,
                   const std::array<int, kAccessColumnCount>& headings, int budget) {
    std::array<int, kAccessColumnCount> sorted = widths;
    std::sort(sorted.begin(), sorted.end());
    int narrower = 0; // the sum of the columns that keep their widths
    for (int i = 0; i < kAccessColumnCount; ++i) {
        const int wider = kAccessColumnCount - i;
        const int cap = (budget - narrower) / wider;
        if (cap <= sorted[static_cast<std::size_t>(i)]) {
            for (int column = 0; column < kAccessColumnCount; ++column) {
                auto& width = widths[static_cast<std::size_t>(column)];
                width = std::max(std::min(width, cap), headings[static_cast<std::size_t>(column)]);
            }
            return;
        }
        narrower += sorted[static_cast<std::size_t>(i)];
    }
}

// The tables share their column widths, so that their columns line up, and each is exactly
// as large as its cells. Where the texts are wider than room (in some languages), the widest
// columns give way and their texts wrap.
void FitTables(const std::vector<QTableWidget*>& tables, int room) {
    int names = 0;
    std::array<int, kAccessColumnCount> widths{};
    std::array<int, kAccessColumnCount> headings{};
    for (QTableWidget* table : tables) {
        table->setWordWrap(false);
        names = std::max(names, table->verticalHeader()->sizeHint().width());
        for (int column = 0; column < kAccessColumnCount; ++column) {
            const auto at = static_cast<std::size_t>(column);
            const int cells = static_cast<QAbstractItemView*>(table)->sizeHintForColumn(column);
            const int heading = table->horizontalHeader()->sectionSizeHint(column);
            widths[at] = std::max({widths[at], cells, heading});
            headings[at] = std::max(headings[at], heading);
        }
    }
    const int frames = 2 * tables.front()->frameWidth();
    int natural = names + frames;
    for (const int width : widths)
        natural += width;
    const bool wrap = room > 0 && natural > room;
    if (wrap)
        NarrowColumns(widths, headings, room - names - frames);
    for (QTableWidget* table : tables) {
        table->setWordWrap(wrap);
        table->verticalHeader()->setFixedWidth(names);
        int width = names + 2 * table->frameWidth();
        for (int column = 0; column < kAccessColumnCount; ++column) {
            table->horizontalHeader()->resizeSection(column,
                                                     widths[static_cast<std::size_t>(column)]);
            width += widths[static_cast<std::size_t>(column)];
        }
        table->resizeRowsToContents();
        int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
        for (int row = 0; row < table->rowCount(); ++row) {
            height += table->rowHeight(row);
        }
        table->setFixedSize(width, height);
    }
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

EffectiveAccessPanel::EffectiveAccessPanel(QWidget* parent)
    : QWidget(parent), account_(new QComboBox(this)), groups_(new QLineEdit(this)),
      view_(new QPushButton(QCoreApplication::translate("EffectiveAccessPanel", "&View"), this)),
      caption_(new QLabel(this)), details_(new QLabel(this)) {
    accountModel_ = new QStringListModel(account_);
    account_->setModel(accountModel_);
    account_->setEditable(true);
    account_->setInsertPolicy(QComboBox::NoInsert);
    account_->setAccessibleName(QCoreApplication::translate("EffectiveAccessPanel", "Account"));
    account_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    groups_->setAccessibleName(QCoreApplication::translate("EffectiveAccessPanel", "Groups"));
    groups_->setPlaceholderText(QStringLiteral("LAB\\staff; LAB\\dev"));
    view_->setAccessibleName(QCoreApplication::translate("EffectiveAccessPanel", "View"));
    view_->setAutoDefault(false);
    caption_->setAccessibleName(QCoreApplication::translate("EffectiveAccessPanel", "Shown for"));
    caption_->setWordWrap(true);
    caption_->setText(QCoreApplication::translate("EffectiveAccessPanel",
                                                  "Choose or type an account, then press View."));
    details_->setAccessibleName(
        QCoreApplication::translate("EffectiveAccessPanel", "Deciding entries"));
    details_->setWordWrap(true);
    details_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QGridLayout;
    form->addWidget(BuddyLabel(QCoreApplication::translate("EffectiveAccessPanel", "&Account:"),
                               account_, this),
                    0, 0);
    form->addWidget(account_, 0, 1);
    form->addWidget(
        BuddyLabel(QCoreApplication::translate("EffectiveAccessPanel", "&Groups (separated by ;):"),
                   groups_, this),
        1, 0);
    form->addWidget(groups_, 1, 1);
    form->addWidget(view_, 1, 2);

    auto* tables = new QWidget;
    standard_ = MakeTable(
        QCoreApplication::translate("EffectiveAccessPanel", "Standard permissions"), tables);
    rights_ = MakeTable(QCoreApplication::translate("EffectiveAccessPanel", "Rights"), tables);
    audits_ =
        MakeTable(QCoreApplication::translate("EffectiveAccessPanel", "Audited rights"), tables);
    SetRowNames(standard_, Names(permora::kStandardPermissions));
    SetRowNames(rights_, Names(permora::kEditorRights));
    auditCaption_ = BuddyLabel(
        QCoreApplication::translate("EffectiveAccessPanel", "A&udited rights:"), audits_, tables);
    auto* column = new QVBoxLayout(tables);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(
        BuddyLabel(QCoreApplication::translate("EffectiveAccessPanel", "&Standard permissions:"),
                   standard_, tables));
    column->addWidget(standard_);
    column->addWidget(BuddyLabel(QCoreApplication::translate("EffectiveAccessPanel", "&Rights:"),
                                 rights_, tables));
    column->addWidget(rights_);
    column->addWidget(auditCaption_);
    column->addWidget(audits_);
    column->addStretch();

    scroll_ = new QScrollArea(this);
    QScrollArea* scroll = scroll_;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    // The page is as wide as its template makes it for the font, and so are the tables.
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(tables);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addLayout(form);
    page->addWidget(caption_);
    page->addWidget(scroll, 1);
    page->addWidget(details_);

    for (QTableWidget* table : {standard_, rights_, audits_}) {
        connect(table, &QTableWidget::currentCellChanged, this, [this, table] {
            ShowDetails(table);
            ShowCurrentCell(table);
        });
        table->installEventFilter(this);
        table->setEnabled(false);
    }
    // The combo box takes the keys of its field and hands them on past the field's filters.
    account_->installEventFilter(this);
    account_->lineEdit()->installEventFilter(this);
    groups_->installEventFilter(this);
    audits_->hide();
    auditCaption_->hide();
    FitTables({standard_, rights_, audits_}, 0);
}

void EffectiveAccessPanel::SetAccounts(const std::vector<std::string>& accounts) {
    if (accounts == accounts_) {
        return;
    }
    accounts_ = accounts;
    const QString typed = account_->currentText();
    QStringList items;
    items.reserve(static_cast<qsizetype>(accounts.size()));
    for (const std::string& account : accounts) {
        items << Q(account);
    }
    // A list model holds many thousands of names at a fraction of the cost of items.
    accountModel_->setStringList(items);
    account_->setEditText(typed);
}

void EffectiveAccessPanel::ShowAccess(const permora::EffectiveAccess& access,
                                      const permora::AccessSubject& subject) {
    std::string groups;
    for (std::size_t i = 0; i < subject.Groups().size(); ++i) {
        groups += (i == 0 ? "" : ", ") + subject.Groups()[i];
    }
    QString shown;
    if (access.hasPermissionList) {
        shown = groups.empty()
                    ? QCoreApplication::translate("EffectiveAccessPanel", "Effective access of %1:")
                    : QCoreApplication::translate("EffectiveAccessPanel",
                                                  "Effective access of %1, member of %2:");
    } else {
        shown = groups.empty() ? QCoreApplication::translate("EffectiveAccessPanel",
                                                             "Effective access of %1. The target "
                                                             "has no permission list: nothing is "
                                                             "decided.")
                               : QCoreApplication::translate("EffectiveAccessPanel",
                                                             "Effective access of %1, member of "
                                                             "%2. The target has no permission "
                                                             "list: nothing is decided.");
    }
    caption_->setText(groups.empty() ? shown.arg(Q(subject.Account()))
                                     : shown.arg(Q(subject.Account()), Q(groups)));

    FillAccess(standard_, access, permora::kStandardPermissions);
    FillAccess(rights_, access, permora::kEditorRights);

    // Only the rights audited somewhere.
    std::vector<const char*> audited;
    std::vector<std::vector<QString>> auditCells;
    for (const permora::NamedRights& right : permora::kEditorRights) {
        std::vector<QString> cells;
        bool any = false;
        for (int column = 0; column < kAccessColumnCount; ++column) {
            const permora::AuditCell cell = permora::AuditCellOf(access, column, right.mask);
            any = any || cell.firstLevel != 0;
            cells.push_back(Shown(permora::AuditCellPhrase(cell)));
        }
        if (any) {
            audited.push_back(right.name);
            auditCells.push_back(std::move(cells));
        }
    }
    SetRowNames(audits_, audited);
    for (int row = 0; row < static_cast<int>(auditCells.size()); ++row) {
        for (int column = 0; column < kAccessColumnCount; ++column) {
            const QString& text =
                auditCells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
            SetCell(audits_, row, column, text, text);
        }
    }
    const bool anyAudited = !audited.empty();
    auditCaption_->setText(
        anyAudited ? QCoreApplication::translate("EffectiveAccessPanel", "A&udited rights:")
        : access.hasAuditList ? QCoreApplication::translate("EffectiveAccessPanel",
                                                            "Nothing is audited for this account.")
                              : QCoreApplication::translate("EffectiveAccessPanel",
                                                            "The target has no auditing list."));
    auditCaption_->show();
    audits_->setVisible(anyAudited);

    for (QTableWidget* table : {standard_, rights_, audits_}) {
        table->setEnabled(true);
    }
    FitTables({standard_, rights_, audits_}, TableRoom());
    // The scroll bars follow the new sizes now, not once the event loop comes round.
    scroll_->widget()->layout()->activate();
    scroll_->setWidgetResizable(true);
    ShowDetails(standard_);
}

bool EffectiveAccessPanel::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a field views, instead of pressing the sheet's OK.
    const bool field = watched == account_ || watched == account_->lineEdit() || watched == groups_;
    if (event->type() == QEvent::KeyPress && field) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            view_->click();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn && !field) {
        auto* table = static_cast<QTableWidget*>(watched);
        ShowDetails(table);
        ShowCurrentCell(table);
    }
    return QWidget::eventFilter(watched, event);
}

// The width of the scroll area beside its vertical scroll bar, which the tables, taller than
// the page, have.
int EffectiveAccessPanel::TableRoom() const {
    return scroll_->width() - 2 * scroll_->frameWidth() -
           scroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
}

// The tables do not scroll; the page scrolls to the cell the arrows moved to.
void EffectiveAccessPanel::ShowCurrentCell(QTableWidget* table) {
    const QModelIndex current = table->currentIndex();
    if (!current.isValid()) {
        scroll_->ensureWidgetVisible(table);
        return;
    }
    const QRect cell = table->visualRect(current);
    const QPoint centre = table->viewport()->mapTo(scroll_->widget(), cell.center());
    scroll_->ensureVisible(centre.x(), centre.y(), cell.width() / 2 + 4,
                           cell.height() / 2 + table->horizontalHeader()->height() + 4);
}

void EffectiveAccessPanel::ShowDetails(QTableWidget* table) {
    const QTableWidgetItem* item = table->currentItem();
    QString text;
    if (item != nullptr) {
        const QString row = table->verticalHeaderItem(item->row())->text();
        const int column = std::clamp(item->column(), 0, kAccessColumnCount - 1);
        text = QCoreApplication::translate("EffectiveAccessPanel", kDetailsByColumn[column])
                   .arg(row, item->toolTip());
    } else if (table->isEnabled()) {
        text = QCoreApplication::translate("EffectiveAccessPanel",
                                           "Move to a cell to see the entries that decide it.");
    }
    details_->setText(text);
    // The line takes the height its text needs now, so that the cell scrolled to stays in view.
    layout()->activate();
}
