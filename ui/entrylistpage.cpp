#include "ui/entrylistpage.h"

#include "model/checks.h"
#include "model/names.h"
#include "resources/templates/entrylistpage.h"
#include "ui/inputntaccountdlg.h"
#include "ui/shown_names.h"
#include "ui/toolkit/modal_host.h"

#include <algorithm>
#include <utility>

namespace {

namespace ids = res::EntryListPage;

const tk::Handler<EntryListPage> kHandlers[] = {
    {ids::IDC_ADD, tk::Notify::Clicked, &EntryListPage::OnAdd},
    {ids::IDC_EDIT, tk::Notify::Clicked, &EntryListPage::OnEdit},
    {ids::IDC_REMOVE, tk::Notify::Clicked, &EntryListPage::OnRemove},
    {ids::IDC_INHERIT, tk::Notify::Clicked, &EntryListPage::OnInheritClicked},
    {ids::IDC_ENTRY_LIST, tk::Notify::Click, &EntryListPage::OnListClick},
    {ids::IDC_ENTRY_LIST, &EntryListPage::OnListKey},
};

// Calls fn for every entry in row order: deny entries then allow entries, or the audit
// entries.
template <class Fn> void ForEachEntry(const permora::Acl& acl, permora::ListKind list, Fn fn) {
    if (list == permora::ListKind::Permissions) {
        for (permora::Ace* e = acl.Deny.Head; e != nullptr; e = e->Next)
            fn(e);
        for (permora::Ace* e = acl.Allow.Head; e != nullptr; e = e->Next)
            fn(e);
    } else {
        for (permora::Ace* e = acl.Audit.Head; e != nullptr; e = e->Next)
            fn(e);
    }
}

} // namespace

std::string EntryTypeText(const permora::Ace& entry, permora::ListKind list) {
    return ShownNameText(permora::EntryTypeName(entry, list));
}

std::vector<std::string> EntryRow(const permora::Ace& entry, permora::ListKind list) {
    return {EntryTypeText(entry, list), entry.NTAccount,
            ShownNameText(permora::PermissionName(entry.Mask)),
            ShownNameText(permora::EntryApplyToName(entry, list))};
}

std::vector<std::vector<std::string>> EntryRows(const permora::Acl& acl, permora::ListKind list,
                                                const std::string& highlight, int* highlightRow) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(list == permora::ListKind::Permissions ? acl.Deny.Count + acl.Allow.Count
                                                        : acl.Audit.Count);
    int chosen = -1;
    ForEachEntry(acl, list, [&](const permora::Ace* entry) {
        if (chosen < 0 && !highlight.empty() && permora::EqualsNoCase(entry->NTAccount, highlight))
            chosen = static_cast<int>(rows.size());
        rows.push_back(EntryRow(*entry, list));
    });
    if (highlightRow != nullptr)
        *highlightRow = chosen;
    return rows;
}

std::vector<permora::Ace*> EntriesAt(const permora::Acl& acl, permora::ListKind list,
                                     const std::vector<int>& ascending) {
    std::vector<permora::Ace*> found(ascending.size(), nullptr);
    std::size_t next = 0;
    int position = 0;
    ForEachEntry(acl, list, [&](permora::Ace* entry) {
        while (next < ascending.size() && ascending[next] < position)
            ++next; // negative positions reach no entry
        while (next < ascending.size() && ascending[next] == position)
            found[next++] = entry;
        ++position;
    });
    return found;
}

unsigned EntryColumns(const permora::Ace& entry, permora::ListKind list) {
    if (list == permora::ListKind::Permissions)
        return entry.AceType == permora::kAllowType ? 1u : 2u;
    unsigned columns = 0;
    if ((entry.Flags & permora::kAuditSuccess) != 0)
        columns |= 1u;
    if ((entry.Flags & permora::kAuditFailure) != 0)
        columns |= 2u;
    return columns;
}

bool IsEntryUnchanged(const permora::Ace& entry, permora::ListKind list, EntryEditorPage& editor) {
    const permora::Ace* parts[2] = {editor.Entry(0).get(), editor.Entry(1).get()};
    if (parts[0] == nullptr || parts[1] == nullptr)
        return false;
    if (!permora::EqualsNoCase(parts[1]->NTAccount, entry.NTAccount))
        return false;
    const unsigned columns = EntryColumns(entry, list);
    if (columns == 0) {
        // An auditing entry that audits nothing shows no box; left without a box checked
        // it stays as it was rather than being dropped.
        return permora::IsMaskEmpty(parts[0]->Mask) && permora::IsMaskEmpty(parts[1]->Mask);
    }
    for (int column = 0; column < 2; ++column) {
        if ((columns & (1u << column)) == 0)
            continue;
        const permora::Ace& own = *parts[column];
        if (permora::IsMaskEmpty(parts[1 - column]->Mask) && own.Flags == entry.Flags &&
            own.Mask == entry.Mask)
            return true;
    }
    return false;
}

EntryListPage::EntryListPage(const tk::DialogTemplate& tmpl, const EntryListTraits& kind,
                             permora::TargetObject& target)
    : tk::PropertyPage(tmpl), kind_(kind), target_(target) {
    Bind(this, kHandlers);
}

EntryListPage::~EntryListPage() = default;

permora::Acl& EntryListPage::List() const {
    return kind_.list == permora::ListKind::Permissions ? target_.Descriptor->DaclList
                                                        : target_.Descriptor->SaclList;
}

void EntryListPage::OnSetActive() {
    tk::ListView list = GetListView(ids::IDC_ENTRY_LIST);
    list.SetMultiSelect(true);
    list.SetShowSelAlways(true);
    list.SetFullRowSelect(true);

    const int pad =
        12 * tk::SystemMetric(tk::Metric::CxBorder) + tk::SystemMetric(tk::Metric::CxHThumb);
    // The samples size the columns; a translation gives its own longest words.
    const int typeWidth = list.TextWidth(tr(kind_.typeSample).toStdString()) + pad;
    const int accessWidth = list.TextWidth(tr("List Folder Contents  ").toStdString()) + pad;
    const int applyToWidth =
        list.TextWidth(tr("This folder, subfolders and files  ").toStdString()) + pad;
    const std::string name = tr("Name").toStdString();
    // The name takes what is left; on a list too narrow for that it keeps its heading.
    const int nameWidth = std::max(list.ClientWidth() - typeWidth - accessWidth - applyToWidth,
                                   list.TextWidth(name) + pad);
    for (int column = list.ColumnCount() - 1; column >= 0; --column)
        list.DeleteColumn(column);
    list.InsertColumn(0, tr("Type").toStdString(), typeWidth);
    list.InsertColumn(1, name, nameWidth);
    list.InsertColumn(2, tr(kind_.accessHeading).toStdString(), accessWidth);
    list.InsertColumn(3, tr("Apply To").toStdString(), applyToWidth);

    list.DeleteAll();
    FillEntryList(target_.Descriptor.get(), std::string());
    if (list.RowCount() > 0)
        list.Select(0);

    permora::SecurityDescriptor* descriptor = target_.Descriptor.get();
    if (target_.SecurityLevel == permora::kLevelStorage) {
        if (descriptor != nullptr) {
            descriptor->Control |= kind_.protectedBit;
            descriptor->Control &= static_cast<std::uint16_t>(~kind_.autoInheritBit);
        }
        SetCheck(ids::IDC_INHERIT, 0);
        Enable(ids::IDC_INHERIT, false);
        Show(ids::IDC_INHERIT, false);
    } else if (descriptor != nullptr) {
        SetCheck(ids::IDC_INHERIT, (descriptor->Control & kind_.protectedBit) == 0 ? 1 : 0);
    }
    tk::PropertyPage::OnSetActive();
}

int EntryListPage::FillEntryList(permora::SecurityDescriptor* descriptor,
                                 const std::string& highlightNTAccount) {
    if (descriptor == nullptr)
        return 0;
    if ((descriptor->Control & kind_.presentBit) == 0) {
        Enable(ids::IDC_EDIT, false);
        Enable(ids::IDC_REMOVE, false);
        return 0;
    }
    const permora::Acl& acl =
        kind_.list == permora::ListKind::Permissions ? descriptor->DaclList : descriptor->SaclList;
    int chosen = -1;
    GetListView(ids::IDC_ENTRY_LIST)
        .SetRows(EntryRows(acl, kind_.list, highlightNTAccount, &chosen));
    return chosen < 0 ? 0 : chosen;
}

bool EntryListPage::RunEditor(EntryEditorPage& editor) {
    tk::PropertySheet sheet(tr(kind_.editorTitle).toStdString() + target_.Path);
    sheet.AddPage(&editor);
    return sheet.DoModal() == tk::IDOK;
}

std::string EntryListPage::TakeEntries(EntryEditorPage& editor) {
    std::string highlight;
    for (int column = 0; column < 2; ++column) {
        std::unique_ptr<permora::Ace>& part = editor.Entry(column);
        if (part == nullptr || permora::IsMaskEmpty(part->Mask))
            continue;
        std::string account = part->NTAccount;
        // A list that takes the entry empties the editor's pointer: it no longer
        // destroys it.
        if (List().Add(part))
            highlight = std::move(account);
    }
    return highlight;
}

int EntryListPage::Refill(const std::string& highlight) {
    tk::ListView list = GetListView(ids::IDC_ENTRY_LIST);
    list.DeleteAll();
    const int row = FillEntryList(target_.Descriptor.get(), highlight);
    if (row < list.RowCount())
        list.Select(row);
    return row;
}

void EntryListPage::CheckEmptied() {
    // A list with rows always has one selected here: no row selected means no row left.
    if (GetListView(ids::IDC_ENTRY_LIST).RowCount() > 0)
        return;
    Enable(ids::IDC_EDIT, false);
    Enable(ids::IDC_REMOVE, false);
    target_.Descriptor->Control &= static_cast<std::uint16_t>(~kind_.presentBit);
}

void EntryListPage::OnAdd() {
    if (target_.Descriptor == nullptr)
        return;
    InputNTAccountDlg accountDialog(this);
    if (accountDialog.DoModal() != tk::IDOK)
        return;
    std::unique_ptr<EntryEditorPage> editor = MakeEditor(accountDialog.NTAccount);
    if (!RunEditor(*editor))
        return;
    if (permora::IsMaskEmpty(editor->Entry(0)->Mask) &&
        permora::IsMaskEmpty(editor->Entry(1)->Mask))
        return;
    std::string highlight;
    for (int column = 0; column < 2; ++column) {
        std::unique_ptr<permora::Ace>& part = editor->Entry(column);
        std::string account = part->NTAccount;
        if (List().Add(part)) {
            target_.Descriptor->Control |= kind_.presentBit;
            highlight = std::move(account);
        }
    }
    const int row = Refill(highlight);
    Enable(ids::IDC_EDIT, true);
    Enable(ids::IDC_REMOVE, true);
    tk::ListView list = GetListView(ids::IDC_ENTRY_LIST);
    if (row < list.RowCount())
        list.Select(row);
}

void EntryListPage::OnEdit() {
    if (target_.Descriptor == nullptr)
        return;
    const std::vector<int> selected = GetListView(ids::IDC_ENTRY_LIST).SelectedRows();
    if (selected.empty())
        return;
    permora::Ace* entry = List().EntryAt(selected.front(), kind_.list);
    if (entry == nullptr) {
        tk::MessageBox(this, tr(kind_.notFoundMessage).toStdString(), tr("Error").toStdString());
        return;
    }
    std::unique_ptr<EntryEditorPage> editor = MakeEditor(*entry);
    if (!RunEditor(*editor))
        return;
    if (IsEntryUnchanged(*entry, kind_.list, *editor))
        return;
    List().Remove(entry);
    Refill(TakeEntries(*editor));
    CheckEmptied();
}

void EntryListPage::OnRemove() {
    if (target_.Descriptor == nullptr)
        return;
    tk::ListView list = GetListView(ids::IDC_ENTRY_LIST);
    const std::vector<int> selected = list.SelectedRows(); // ascending
    // Found in one walk; removing an entry leaves the others where they are, and the rows
    // are handled from the bottom up so that no row still to be handled moves.
    const std::vector<permora::Ace*> entries = EntriesAt(List(), kind_.list, selected);
    std::vector<int> removed; // rows whose entries are gone, from the bottom up
    for (std::size_t i = selected.size(); i-- > 0;) {
        const int row = selected[i];
        const std::string type = list.Cell(row, 0);
        const std::string name = list.Cell(row, 1);
        permora::Ace* entry = entries[i];
        if (entry == nullptr) {
            DeleteRows(removed, false);
            tk::MessageBox(this, tr("Cannot find the ace.").toStdString(),
                           tr("Error").toStdString());
            return;
        }
        if (!permora::EqualsNoCase(name, entry->NTAccount) ||
            type != EntryTypeText(*entry, kind_.list)) {
            DeleteRows(removed, false);
            tk::MessageBox(this, tr("Ace item does not match.").toStdString(),
                           tr("Error").toStdString());
            continue;
        }
        List().Remove(entry);
        removed.push_back(row);
    }
    DeleteRows(removed, true);
}

// The rows of removed entries leave the list together rather than one by one, which
// comes to the same: each deleted row is followed by row 0 selected, and a list left
// empty is no longer present. Before a message the rows go one by one, so that the rows
// still to be handled stay selected; at the end the list is rebuilt without them.
void EntryListPage::DeleteRows(std::vector<int>& descending, bool last) {
    if (descending.empty())
        return;
    tk::ListView list = GetListView(ids::IDC_ENTRY_LIST);
    if (!last) {
        for (int row : descending)
            list.DeleteRow(row);
    } else {
        const int count = list.RowCount();
        std::vector<char> gone(static_cast<std::size_t>(count), 0);
        for (int row : descending)
            gone[static_cast<std::size_t>(row)] = 1;
        std::vector<int> newIndex(static_cast<std::size_t>(count), -1);
        std::vector<std::vector<std::string>> rows;
        rows.reserve(static_cast<std::size_t>(count) - descending.size());
        const int columns = list.ColumnCount();
        for (int row = 0; row < count; ++row) {
            if (gone[static_cast<std::size_t>(row)] != 0)
                continue;
            newIndex[static_cast<std::size_t>(row)] = static_cast<int>(rows.size());
            std::vector<std::string> cells;
            cells.reserve(static_cast<std::size_t>(columns));
            for (int column = 0; column < columns; ++column)
                cells.push_back(list.Cell(row, column));
            rows.push_back(std::move(cells));
        }
        // Rows that stay selected: those whose texts did not match, and row 0.
        std::vector<int> keep;
        for (int row : list.SelectedRows())
            if (newIndex[static_cast<std::size_t>(row)] >= 0)
                keep.push_back(newIndex[static_cast<std::size_t>(row)]);
        list.SetRows(std::move(rows));
        for (int row : keep)
            list.Select(row);
    }
    descending.clear();
    if (list.RowCount() > 0 && !list.IsSelected(0))
        list.Select(0);
    CheckEmptied();
}

void EntryListPage::OnInheritClicked() {
    if (target_.Descriptor == nullptr)
        return;
    std::uint16_t& control = target_.Descriptor->Control;
    if (Check(ids::IDC_INHERIT) != 0) {
        control |= kind_.autoInheritBit;
        control &= static_cast<std::uint16_t>(~kind_.protectedBit);
    } else {
        control |= kind_.protectedBit;
        control &= static_cast<std::uint16_t>(~kind_.autoInheritBit);
    }
}

void EntryListPage::OnListClick() {
    const int count = GetListView(ids::IDC_ENTRY_LIST).SelectedCount();
    if (count == 0) {
        Enable(ids::IDC_EDIT, false);
        Enable(ids::IDC_REMOVE, false);
    } else if (count == 1) {
        Enable(ids::IDC_EDIT, true);
        Enable(ids::IDC_REMOVE, true);
    } else {
        Enable(ids::IDC_EDIT, false);
    }
}

void EntryListPage::OnListKey(int key) {
    if (key == tk::VK_DELETE)
        OnRemove();
}
