#include "ui/targettablemodel.h"

#include "model/ascii_case.h"
#include "model/names.h"
#include "template_file/template_file.h"
#include "ui/shown_names.h"

#include <algorithm>
#include <utility>

namespace {

// Each insertion or removal moves the rows behind it; past a few runs one pass and a reset
// cost less.
constexpr std::size_t kMostRuns = 16;

// A tooltip shows this much of a target's line.
constexpr std::size_t kToolTipLength = 300;

// FNV-1a over the text with its letters folded: equal for texts that EqualsNoCase finds
// equal, and different for others but once in about 2^64.
std::uint64_t FingerprintNoCase(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(permora::FoldAscii(c));
        hash *= 1099511628211ULL;
    }
    return hash;
}

// Ascending, distinct positions as runs of neighbours.
std::vector<std::pair<int, int>> RunsOf(const std::vector<int>& rows) {
    std::vector<std::pair<int, int>> runs;
    for (const int row : rows) {
        if (!runs.empty() && runs.back().second + 1 == row)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    return runs;
}

// The runs must name rows that are there and as many as the template has lost (or gained,
// for TakeIn); anything else is followed by a reset rather than by signals that would not
// agree with the rows.
bool Fits(const std::vector<std::pair<int, int>>& runs, int rows, int change) {
    int count = 0;
    int next = 0;
    for (const auto& [first, last] : runs) {
        if (first < next || last < first || last >= rows)
            return false;
        count += last - first + 1;
        next = last + 2;
    }
    return count == change;
}

QString CellText(const permora::TargetObject& target, int column) {
    switch (column) {
    case 0:
        return QString::fromStdString(target.Path);
    case 1:
        return ShownName(permora::StyleName(target.SecurityStyle));
    case 2:
        return ShownName(permora::LevelName(target.SecurityLevel));
    default:
        return {};
    }
}

QString ToolTip(const permora::TargetObject& target) {
    std::string line = ToLine(target);
    if (line.size() > kToolTipLength) {
        line.resize(kToolTipLength);
        line += "\xe2\x80\xa6"; // ...
    }
    return QString::fromStdString(line);
}

} // namespace

TargetTableModel::TargetTableModel(TemplateDocument& document, std::array<QString, 3> headings,
                                   QObject* parent)
    : QAbstractTableModel(parent), template_(document.Template()), headings_(std::move(headings)) {
    Reset();
    connect(&document, &TemplateDocument::aboutToChangeTargets, this,
            [this] { inStep_ = InStep(); });
    connect(&document, &TemplateDocument::targetsAppended, this, &TargetTableModel::TakeInAppended);
    connect(&document, &TemplateDocument::targetsRemoved, this, &TargetTableModel::Removed);
    connect(&document, &TemplateDocument::targetsSwapped, this, &TargetTableModel::Swapped);
    connect(&document, &TemplateDocument::historyMoved, this, &TargetTableModel::Follow);
    connect(&document, &TemplateDocument::targetsReset, this, &TargetTableModel::Reset);
    connect(&document, &TemplateDocument::descriptorsChanged, this,
            &TargetTableModel::DescriptorsChanged);
}

int TargetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int TargetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant TargetTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const permora::TargetObject* target = template_.At(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return target != nullptr ? CellText(*target, index.column()) : QString();
    case Qt::ToolTipRole:
        return target != nullptr ? ToolTip(*target) : QString();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TargetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return headings_[static_cast<std::size_t>(section)];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TargetTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

std::uint64_t TargetTableModel::Fingerprint(int row) const {
    const permora::TargetObject* target = template_.At(row);
    return FingerprintNoCase(target != nullptr ? std::string_view(target->Path) : "");
}

bool TargetTableModel::RowShowsTarget(int row) const {
    return row >= 0 && row < rowCount() && template_.At(row) != nullptr &&
           shown_[static_cast<std::size_t>(row)] == Fingerprint(row);
}

void TargetTableModel::Reset() {
    beginResetModel();
    shown_.resize(static_cast<std::size_t>(template_.Count));
    for (int row = 0; row < template_.Count; ++row)
        shown_[static_cast<std::size_t>(row)] = Fingerprint(row);
    shown_.shrink_to_fit();
    endResetModel();
}

bool TargetTableModel::InStep() const {
    return shown_.size() == static_cast<std::size_t>(template_.Count);
}

void TargetTableModel::TakeInAppended() {
    const int rows = rowCount();
    if (template_.Count < rows) {
        Reset();
        return;
    }
    if (template_.Count > rows)
        TakeIn({{rows, template_.Count - 1}});
}

void TargetTableModel::Removed(const std::vector<int>& rows) {
    if (inStep_)
        TakeOut(RunsOf(rows));
    else
        Reset();
}

void TargetTableModel::Swapped(int upper) {
    if (inStep_)
        Exchanged(upper);
    else
        Reset();
}

void TargetTableModel::Exchanged(int upper) {
    if (upper < 0 || upper + 1 >= rowCount())
        return;
    // Qt names the row in front of which the moved row lands.
    beginMoveRows(QModelIndex(), upper + 1, upper + 1, QModelIndex(), upper);
    std::swap(shown_[static_cast<std::size_t>(upper)], shown_[static_cast<std::size_t>(upper) + 1]);
    endMoveRows();
}

void TargetTableModel::Follow(const permora::TemplateStep* step, bool undone) {
    if (!inStep_) {
        Reset();
        return;
    }
    using permora::StepKind;
    switch (step->Kind) {
    case StepKind::Descriptors:
        DescriptorsChanged(step->Indexes);
        break;
    case StepKind::Swap:
        Exchanged(step->Count);
        break;
    case StepKind::Append:
        if (!undone)
            TakeInAppended();
        else if (template_.Count < rowCount())
            TakeOut({{template_.Count, rowCount() - 1}});
        break;
    case StepKind::Remove:
        if (undone)
            TakeIn(RunsOf(step->Indexes));
        else
            TakeOut(RunsOf(step->Indexes));
        break;
    }
}

void TargetTableModel::TakeOut(const Runs& runs) {
    if (!Fits(runs, rowCount(), rowCount() - template_.Count)) {
        Reset();
        return;
    }
    if (runs.size() > kMostRuns) {
        std::vector<bool> gone(shown_.size());
        for (const auto& [first, last] : runs)
            std::fill(gone.begin() + first, gone.begin() + last + 1, true);
        beginResetModel();
        std::size_t kept = 0;
        for (std::size_t row = 0; row < shown_.size(); ++row) {
            if (!gone[row])
                shown_[kept++] = shown_[row];
        }
        shown_.resize(kept);
        endResetModel();
        return;
    }
    // From the last run back, so that each run's rows are still where the views know them.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        beginRemoveRows(QModelIndex(), run->first, run->second);
        shown_.erase(shown_.begin() + run->first, shown_.begin() + run->second + 1);
        endRemoveRows();
    }
}

void TargetTableModel::TakeIn(const Runs& runs) {
    if (!Fits(runs, template_.Count, template_.Count - rowCount())) {
        Reset();
        return;
    }
    if (runs.size() > kMostRuns) {
        // The rows that stay keep what they remember; the new ones take their paths now.
        std::vector<std::uint64_t> shown(static_cast<std::size_t>(template_.Count));
        auto run = runs.begin();
        std::size_t kept = 0;
        for (int row = 0; row < template_.Count; ++row) {
            while (run != runs.end() && run->second < row)
                ++run;
            const bool isNew = run != runs.end() && run->first <= row;
            shown[static_cast<std::size_t>(row)] = isNew ? Fingerprint(row) : shown_[kept++];
        }
        beginResetModel();
        shown_ = std::move(shown);
        endResetModel();
        return;
    }
    // In ascending order: each run lands where the rows before it already stand.
    for (const auto& [first, last] : runs) {
        std::vector<std::uint64_t> shown;
        shown.reserve(static_cast<std::size_t>(last) - static_cast<std::size_t>(first) + 1);
        for (int row = first; row <= last; ++row)
            shown.push_back(Fingerprint(row));
        beginInsertRows(QModelIndex(), first, last);
        shown_.insert(shown_.begin() + first, shown.begin(), shown.end());
        endInsertRows();
    }
}

void TargetTableModel::DescriptorsChanged(const std::vector<int>& rows) {
    if (rows.empty())
        return;
    const auto [low, high] = std::minmax_element(rows.begin(), rows.end());
    const int first = std::max(0, *low);
    const int last = std::min(rowCount() - 1, *high);
    if (first <= last)
        emit dataChanged(index(first, 0), index(last, columnCount() - 1), {Qt::ToolTipRole});
}
