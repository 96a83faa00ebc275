// The main window's rows as a table over the document's template: each change the document
// makes is told to the views as the rows it moves, takes out or brings in, and every row
// still stands for the target at its position afterwards.

#include "ui/targettablemodel.h"

#include "model/target.h"
#include "model/template_history.h"
#include "ui/templatedocument.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

using permora::SecurityTemplate;
using permora::TargetObject;

const std::array<QString, 3> kHeadings = {QStringLiteral("Target Object"),
                                          QStringLiteral("Security Style"),
                                          QStringLiteral("Security Level")};

void Fill(SecurityTemplate& tmpl, int count) {
    for (int i = 0; i < count; ++i)
        tmpl.Append(std::make_unique<TargetObject>("/vol/t" + std::to_string(i),
                                                   permora::MakeDefaultDescriptor()));
}

std::vector<int> EveryOther(int count) {
    std::vector<int> rows;
    for (int row = 0; row < count; row += 2)
        rows.push_back(row);
    return rows;
}

// What the views heard.
struct Heard {
    explicit Heard(const QAbstractItemModel& model) {
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { ++resets; });
        QObject::connect(
            &model, &QAbstractItemModel::rowsInserted,
            [this](const QModelIndex&, int first, int last) { inserted += last - first + 1; });
        QObject::connect(
            &model, &QAbstractItemModel::rowsRemoved,
            [this](const QModelIndex&, int first, int last) { removed += last - first + 1; });
        QObject::connect(&model, &QAbstractItemModel::rowsMoved, [this] { ++moves; });
    }
    int resets = 0;
    int inserted = 0;
    int removed = 0;
    int moves = 0;
};

void ExpectRowsStandForTargets(const TargetTableModel& rows, const SecurityTemplate& tmpl) {
    ASSERT_EQ(rows.rowCount(), tmpl.Count);
    for (int row = 0; row < rows.rowCount(); ++row)
        EXPECT_TRUE(rows.RowShowsTarget(row)) << row;
    if (tmpl.Count > 0) {
        EXPECT_EQ(rows.index(tmpl.Count - 1, 0).data().toString().toStdString(), tmpl.Tail->Path);
    }
}

// Each change, its Undo and its Redo reach the views as rows moved, taken out or brought
// in; many scattered runs as one reset, which costs less than a signal per run.
TEST(TargetTableModelTest, ChangesUndoAndRedoAreToldAsTheRowsTheyMove) {
    struct Case {
        const char* name;
        std::function<permora::TemplateStep(TemplateDocument&)> change;
        int changed; // rows inserted, removed or moved each way
        bool reset;  // told as one reset instead
    };
    const Case cases[] = {
        {"append",
         [](TemplateDocument& doc) {
             EXPECT_TRUE(doc.Append(
                 std::make_unique<TargetObject>("/vol/new", permora::MakeDefaultDescriptor())));
             return permora::AppendStep(1);
         },
         1, false},
        {"remove one", [](TemplateDocument& doc) { return doc.Remove({5}); }, 1, false},
        {"remove three runs",
         [](TemplateDocument& doc) {
             return doc.Remove({0, 1, 7, 39, 38});
         },
         5, false},
        {"remove every other row", [](TemplateDocument& doc) { return doc.Remove(EveryOther(40)); },
         20, true},
        {"swap",
         [](TemplateDocument& doc) {
             doc.Swap(38);
             return permora::SwapStep(38);
         },
         1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemplateDocument doc;
        const SecurityTemplate& tmpl = doc.Template();
        Fill(doc.Template(), 40);
        TargetTableModel rows(doc, kHeadings);
        Heard heard(rows);
        doc.Commit(c.change(doc), c.name, {}, {});
        ExpectRowsStandForTargets(rows, tmpl);
        ASSERT_NE(doc.Undo(), nullptr);
        ExpectRowsStandForTargets(rows, tmpl);
        ASSERT_NE(doc.Redo(), nullptr);
        ExpectRowsStandForTargets(rows, tmpl);
        EXPECT_EQ(doc.Redo(), nullptr);
        EXPECT_EQ(heard.resets, c.reset ? 3 : 0);
        if (!c.reset) {
            EXPECT_EQ(heard.inserted + heard.removed + heard.moves, 3 * c.changed);
        }
    }
}

// A row remembers the path it came in with: a path changed behind the list no longer
// matches, the row keeps that through moves of other rows, and a reset takes the new path.
TEST(TargetTableModelTest, ARowRemembersThePathItCameInWith) {
    TemplateDocument doc;
    SecurityTemplate& tmpl = doc.Template();
    Fill(tmpl, 4);
    TargetTableModel rows(doc, kHeadings);
    tmpl.At(1)->Path = "/vol/changed";
    EXPECT_EQ(rows.index(1, 0).data().toString(), QStringLiteral("/vol/changed"));
    EXPECT_FALSE(rows.RowShowsTarget(1));
    EXPECT_TRUE(rows.RowShowsTarget(0));
    doc.Swap(1); // the row moves with its target and still remembers the old path
    EXPECT_FALSE(rows.RowShowsTarget(2));
    EXPECT_TRUE(rows.RowShowsTarget(1));
    // Letters compare without regard to case.
    tmpl.At(0)->Path = "/VOL/T0";
    EXPECT_TRUE(rows.RowShowsTarget(0));
    doc.Refresh();
    EXPECT_TRUE(rows.RowShowsTarget(2));
    EXPECT_FALSE(rows.RowShowsTarget(4));
    EXPECT_FALSE(rows.RowShowsTarget(-1));
}

// Targets appended behind the rows' back are taken in at the end with the next append; a
// change made while the rows do not show the whole template is followed by a reset, never
// by signals about rows the views do not have.
TEST(TargetTableModelTest, RowsThatFellBehindTheTemplateCatchUp) {
    TemplateDocument doc;
    SecurityTemplate& tmpl = doc.Template();
    Fill(tmpl, 3);
    TargetTableModel rows(doc, kHeadings);
    Heard heard(rows);
    Fill(tmpl, 1);
    EXPECT_EQ(rows.rowCount(), 3);
    doc.AppendWith([](SecurityTemplate& t) {
        Fill(t, 1);
        return true;
    });
    EXPECT_EQ(heard.inserted, 2);
    ExpectRowsStandForTargets(rows, tmpl);

    Fill(tmpl, 1);
    const permora::TemplateStep step = doc.Remove({0, 5});
    EXPECT_EQ(step.Indexes, (std::vector<int>{0, 5}));
    EXPECT_EQ(heard.resets, 1);
    ExpectRowsStandForTargets(rows, tmpl);

    // Rows beyond the template read as empty cells.
    tmpl.Clear();
    EXPECT_EQ(rows.index(0, 0).data().toString(), QString());
    doc.AppendWith([](SecurityTemplate&) { return true; });
    EXPECT_EQ(rows.rowCount(), 0);
}

TEST(TargetTableModelTest, CellsShowPathStyleAndLevelByName) {
    TemplateDocument doc;
    SecurityTemplate& tmpl = doc.Template();
    Fill(tmpl, 2);
    tmpl.At(1)->SecurityStyle = permora::kStyleNfsV3;
    tmpl.At(1)->SecurityLevel = 7; // a value without a name
    TargetTableModel rows(doc, kHeadings);
    const auto cells = [&](int row) {
        QStringList texts;
        for (int column = 0; column < rows.columnCount(); ++column)
            texts.push_back(rows.index(row, column).data().toString());
        return texts.join(QStringLiteral(" | ")).toStdString();
    };
    EXPECT_EQ(cells(0), "/vol/t0 | NTFS | File/Directory");
    EXPECT_EQ(cells(1), "/vol/t1 | NFSV3 ACL | ");
    EXPECT_EQ(rows.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), kHeadings[2]);
}

} // namespace
