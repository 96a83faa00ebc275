#include "ui/entryeditorpage.h"

#include "model/acl.h"
#include "model/checks.h"
#include "model/names.h"
#include "model/target.h"
#include "resources/templates/entryeditorpage.h"
#include "ui/shown_names.h"
#include "ui/toolkit/modal_host.h"

#include <QApplication>
#include <QWidget>

namespace {

using permora::kFilesOnly;
using permora::kSubfoldersAndFilesOnly;
using permora::kSubfoldersOnly;
using permora::kThisFolderAndFiles;
using permora::kThisFolderAndSubfolders;
using permora::kThisFolderOnly;
using permora::kThisFolderSubfoldersAndFiles;

// The inheritance codes in the order the apply-onto choice lists them.
constexpr std::uint8_t kStorageCodes[] = {kThisFolderSubfoldersAndFiles, kThisFolderAndSubfolders,
                                          kFilesOnly};
constexpr std::uint8_t kFileDirectoryCodes[] = {
    kThisFolderOnly,     kThisFolderSubfoldersAndFiles, kThisFolderAndSubfolders,
    kThisFolderAndFiles, kSubfoldersAndFilesOnly,       kSubfoldersOnly,
    kFilesOnly,
};

namespace ids = res::EntryEditorPage;

// Both editors' name, apply-onto and Clear All; their boxes are bound row by row.
const tk::Handler<EntryEditorPage> kHandlers[] = {
    {ids::IDC_NAME, tk::Notify::Changed, &EntryEditorPage::OnNameChanged},
    {ids::IDC_APPLY_ONTO, tk::Notify::SelChange, &EntryEditorPage::OnApplyOntoChanged},
    {ids::IDC_CLEAR_ALL, tk::Notify::Clicked, &EntryEditorPage::OnClearAll},
};

} // namespace

std::span<const std::uint8_t> ApplyOntoCodes(int level) {
    if (level == permora::kLevelStorage)
        return kStorageCodes;
    return kFileDirectoryCodes;
}

EntryEditorPage::EntryEditorPage(const tk::DialogTemplate& tmpl, const EntryEditorKind& kind,
                                 int level)
    : tk::PropertyPage(tmpl), kind_(kind), level_(level) {
    // The name is checked when the focus leaves it for another control of the page; not
    // for the sheet's Cancel or for another window.
    QWidget* page = Widget();
    focusWatch_ = QObject::connect(qApp, &QApplication::focusChanged, page,
                                   [this, page](QWidget* from, QWidget* to) {
                                       if (from != nullptr && from == Control(ids::IDC_NAME) &&
                                           to != nullptr && page->isAncestorOf(to) && !ApplyName())
                                           SetFocus(ids::IDC_NAME);
                                   });
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < kRowCount; ++row)
            Bind(this, BoxId(row, column), tk::Notify::Clicked,
                 [this, row, column] { BoxClicked(row, column); });
    }
    Bind(this, kHandlers);
}

EntryEditorPage::~EntryEditorPage() {
    QObject::disconnect(focusWatch_);
}

void EntryEditorPage::CopyEntry(permora::Ace& part, const permora::Ace& entry,
                                std::uint8_t dropFlags) {
    part.AceType = entry.AceType;
    part.Flags = static_cast<std::uint8_t>(entry.Flags & ~dropFlags);
    part.Size = entry.Size;
    part.Mask = entry.Mask;
    part.NTAccount = entry.NTAccount;
}

void EntryEditorPage::OnSetActive() {
    // Setting the name below is the page's own doing, not the user's: no name check.
    filling_ = true;
    tk::ComboBox combo = GetComboBox(ids::IDC_APPLY_ONTO);
    combo.Clear();
    for (std::uint8_t code : ApplyOntoCodes(level_)) {
        combo.Add(ShownNameText(permora::ApplyToName(code)));
    }
    SetText(ids::IDC_NAME, ShownAccount());
    // A code the level does not offer, or one without a name, selects nothing; the
    // entries keep their flags until the user picks an item.
    const char* shown = permora::ApplyToName(ShownCode());
    combo.Select(shown != nullptr ? combo.FindPrefix(ShownNameText(shown)) : tk::LB_ERR);
    for (int column = 0; column < 2; ++column)
        for (int row = 0; row < kRowCount; ++row)
            SetCheck(BoxId(row, column), 0);
    for (int column = 0; column < 2; ++column)
        if (Entry(column) != nullptr)
            ShowMask(column, Entry(column)->Mask);
    filling_ = false;
    tk::PropertyPage::OnSetActive();
}

void EntryEditorPage::ShowMask(int column, std::uint32_t mask) {
    if (mask == 0)
        return;
    const int other = 1 - column;
    if (permora::MaskCovers(mask, kind_.fullControlMask)) {
        SetCheck(BoxId(0, column), 1);
        if (kind_.exclusiveColumns)
            SetCheck(BoxId(0, other), 0);
    }
    for (int row = 1; row < kRowCount; ++row) {
        if ((mask & kRowBits[row]) == 0)
            continue;
        SetCheck(BoxId(row, column), 1);
        if (kind_.exclusiveColumns)
            SetCheck(BoxId(row, other), 0);
    }
}

void EntryEditorPage::ClearColumn(int column) {
    for (int row = 0; row < kRowCount; ++row)
        SetCheck(BoxId(row, column), 0);
    if (Entry(column) != nullptr)
        Entry(column)->Mask = kEmptyMask;
}

void EntryEditorPage::BoxClicked(int row, int column) {
    permora::Ace* own = Entry(column).get();
    const int other = 1 - column;
    permora::Ace* otherEntry = Entry(other).get();
    if (own == nullptr || otherEntry == nullptr)
        return;
    const bool checked = Check(BoxId(row, column)) != 0;
    if (row == 0) {
        // Unchecking Full Control leaves the rights as they are.
        if (!checked)
            return;
        own->Mask = kind_.fullControlMask;
        ShowMask(column, kind_.fullControlMask);
        if (kind_.exclusiveColumns)
            ClearColumn(other);
        return;
    }
    const std::uint32_t bit = kRowBits[row];
    if (checked) {
        own->Mask |= bit;
        if (kind_.exclusiveColumns) {
            otherEntry->Mask &= ~bit;
            SetCheck(BoxId(row, other), 0);
            SetCheck(BoxId(0, other), 0);
        }
    } else {
        own->Mask &= ~bit;
        SetCheck(BoxId(0, column), 0);
    }
}

void EntryEditorPage::OnClearAll() {
    ClearColumn(0);
    ClearColumn(1);
}

void EntryEditorPage::OnApplyOntoChanged() {
    const std::span<const std::uint8_t> codes = ApplyOntoCodes(level_);
    const int selection = GetComboBox(ids::IDC_APPLY_ONTO).Selection();
    if (selection < 0 || static_cast<std::size_t>(selection) >= codes.size())
        return;
    for (int column = 0; column < 2; ++column)
        if (Entry(column) != nullptr)
            Entry(column)->Flags =
                static_cast<std::uint8_t>(kind_.columnFlags[column] | codes[selection]);
}

void EntryEditorPage::OnNameChanged() {
    // While the name is typed nothing is said: the entries take each valid text quietly,
    // and the name is checked when the field is left or OK is pressed.
    if (filling_)
        return;
    const std::string name = Text(ids::IDC_NAME);
    if (!permora::IsValidAccountName(name))
        return;
    for (int column = 0; column < 2; ++column)
        if (Entry(column) != nullptr)
            Entry(column)->NTAccount = name;
}

bool EntryEditorPage::ApplyName() {
    const std::string name = Text(ids::IDC_NAME);
    if (!permora::IsValidAccountName(name)) {
        tk::MessageBox(this, tr("Invalid Account Name").toStdString(), tr("Error").toStdString());
        return false;
    }
    for (int column = 0; column < 2; ++column)
        if (Entry(column) != nullptr)
            Entry(column)->NTAccount = name;
    return true;
}

bool EntryEditorPage::OnKillActive() {
    if (ApplyName())
        return true;
    SetFocus(ids::IDC_NAME);
    return false;
}
