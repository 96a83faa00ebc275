#pragma once

#include "model/acl.h"
#include "model/target.h"
#include "ui/entryeditorpage.h"
#include "ui/toolkit/window.h"

#include <QCoreApplication>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// What tells the two entry list pages apart; everything else they share.
struct EntryListTraits {
    permora::ListKind list;
    std::uint16_t presentBit;     // rows are shown only while it is set
    std::uint16_t autoInheritBit; // set while the inheritance box is checked
    std::uint16_t protectedBit;   // set while it is unchecked, and always at level Storage
    const char* typeSample;       // sizes the Type column
    const char* accessHeading;    // heading of column 2
    const char* editorTitle;      // followed by the target's path
    const char* notFoundMessage;  // Edit found no entry at the row's position
};

// The texts of one row: Type, Name, Permission (or Access), Apply To. An auditing entry
// that audits neither success nor failure (only an imported file brings one) still gets a
// row, typed "None", so that row i always shows the entry at position i.
std::string EntryTypeText(const permora::Ace& entry, permora::ListKind list);
std::vector<std::string> EntryRow(const permora::Ace& entry, permora::ListKind list);

// The rows of a list in one walk, in the order EntryAt counts them. highlightRow (when
// given) receives the first row whose account equals highlight without regard to case,
// or -1.
std::vector<std::vector<std::string>> EntryRows(const permora::Acl& acl, permora::ListKind list,
                                                const std::string& highlight = {},
                                                int* highlightRow = nullptr);

// The entries at the given ascending positions, found in one walk; nullptr for a position
// the list does not reach.
std::vector<permora::Ace*> EntriesAt(const permora::Acl& acl, permora::ListKind list,
                                     const std::vector<int>& ascending);

// The editor columns an entry belongs to: bit 0 the first column (Allow, Successful), bit
// 1 the second (Deny, Failed). An auditing entry with both audit bits belongs to both, one
// with neither to none.
unsigned EntryColumns(const permora::Ace& entry, permora::ListKind list);

// True when an editor that ended with OK leaves the entry as it was: its name (in any
// letter case), flags and mask are unchanged and the other column is empty.
bool IsEntryUnchanged(const permora::Ace& entry, permora::ListKind list, EntryEditorPage& editor);

// One access list of a target entry by entry, as rows of a four-column list, with Add,
// Edit, Remove and the box that lets inheritable entries of the parent apply. Every
// change goes into the target's descriptor at once; the page never owns the target.
class EntryListPage : public tk::PropertyPage {
    Q_DECLARE_TR_FUNCTIONS(EntryListPage)

public:
    ~EntryListPage() override;

    permora::TargetObject& Target() const { return target_; }

    // Fills the rows (the caller has deleted them) and returns the row to select: the
    // first of highlightNTAccount, or 0.
    int FillEntryList(permora::SecurityDescriptor* descriptor,
                      const std::string& highlightNTAccount);

    void OnSetActive() override;

    // Handlers.
    void OnAdd();
    void OnEdit();
    void OnRemove();
    void OnInheritClicked();
    void OnListClick();
    void OnListKey(int key);

protected:
    EntryListPage(const tk::DialogTemplate& tmpl, const EntryListTraits& kind,
                  permora::TargetObject& target);

    virtual std::unique_ptr<EntryEditorPage> MakeEditor(std::string account) = 0;
    virtual std::unique_ptr<EntryEditorPage> MakeEditor(const permora::Ace& entry) = 0;

private:
    permora::Acl& List() const;
    // Runs the editor in its own one-page sheet; true when it ended with OK.
    bool RunEditor(EntryEditorPage& editor);
    // Hands the editor's non-empty working entries to the list, first column first, and
    // returns the account of the last one taken (empty when none was).
    std::string TakeEntries(EntryEditorPage& editor);
    // Rebuilds the rows and selects the row of highlight; returns that row.
    int Refill(const std::string& highlight);
    // After Edit or Remove: an empty list disables Edit and Remove and is no longer
    // present.
    void CheckEmptied();
    // Takes the rows of removed entries out of the list; empties the vector.
    void DeleteRows(std::vector<int>& descending, bool last);

    const EntryListTraits& kind_;
    permora::TargetObject& target_;
};

// A list page whose Add and Edit open an Editor, made for an account or from an entry.
template <class Editor> class EntryListPageWith : public EntryListPage {
protected:
    using EntryListPage::EntryListPage;

    std::unique_ptr<EntryEditorPage> MakeEditor(std::string account) override {
        return std::make_unique<Editor>(std::move(account), Target().SecurityLevel);
    }
    std::unique_ptr<EntryEditorPage> MakeEditor(const permora::Ace& entry) override {
        return std::make_unique<Editor>(entry, Target().SecurityLevel);
    }
};
