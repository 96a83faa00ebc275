#pragma once

#include "model/target.h"
#include "model/template_history.h"

#include "ui/templatedocument.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// The main window's list as a table over the template of a document: row i is target i,
// with its path, its style name and its level name, and its line as the tooltip. The rows
// follow the document's signals and tell the views in their own: rows inserted, removed or
// moved, a reset only for a change of many scattered rows.
//
// The texts are read from the template whenever they are shown, so the list keeps no
// copies; what a row keeps is a fingerprint of the path it came in with, so that a command
// can tell whether the row still stands for the target at its position. The model counts
// its rows itself: a change of the template is taken in at once, before anything reads
// the rows again, and the views always see a count that agrees with what they were told.
class TargetTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    TargetTableModel(TemplateDocument& document, std::array<QString, 3> headings,
                     QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Whether the row came in showing the path that the target at its position has now
    // (letters without regard to case).
    bool RowShowsTarget(int row) const;

private:
    using Runs = std::vector<std::pair<int, int>>; // first and last row of each run

    // Every row again from the template.
    void Reset();
    // Takes in the targets that were appended at the end of the template since the rows
    // last followed it.
    void TakeInAppended();
    void Removed(const std::vector<int>& rows);
    void Swapped(int upper);
    // The rows after Undo or Redo made the step's change.
    void Follow(const permora::TemplateStep* step, bool undone);
    // The descriptors of the targets at these rows changed: their tooltips did.
    void DescriptorsChanged(const std::vector<int>& rows);
    // The rows of these runs have gone from the template, or have come into it (positions as
    // they are afterwards).
    void TakeOut(const Runs& runs);
    void TakeIn(const Runs& runs);
    // The targets at upper and upper + 1 have changed places.
    void Exchanged(int upper);
    // Whether there is a row for every target: then a change can be followed row by row.
    bool InStep() const;
    std::uint64_t Fingerprint(int row) const;

    const permora::SecurityTemplate& template_;
    std::array<QString, 3> headings_;
    // For each row, the fingerprint of its path when it came in.
    std::vector<std::uint64_t> shown_;
    // Whether the rows agreed with the template before the change that is under way.
    bool inStep_ = true;
};
