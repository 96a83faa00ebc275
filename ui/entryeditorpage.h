#pragma once

#include "model/ace.h"
#include "ui/toolkit/window.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

// The inheritance codes that the apply-onto choice offers at a security level, in the
// order of its items: three at level Storage, seven at File/Directory ("This folder only"
// is offered only there).
std::span<const std::uint8_t> ApplyOntoCodes(int level);

// What tells the two entry editors apart; everything else they share.
struct EntryEditorKind {
    // Check box ids per column (0: Allow or Successful, 1: Deny or Failed), rows 0 to 13.
    const int* boxes[2];
    // The mask that the Full Control row stands for.
    std::uint32_t fullControlMask;
    // Permission editors keep the columns apart: a right allowed is not denied. The audit
    // editor audits success and failure independently.
    bool exclusiveColumns;
    // Flag bits each column's entry carries besides its inheritance code (SA, FA).
    std::uint8_t columnFlags[2];
};

// One entry edited right by right: an account name, an apply-onto choice and fourteen rows
// of check boxes in two columns. The page owns one working entry per column and keeps them
// up to date on every click; the opener reads them after OK and takes away the ones a list
// accepts. The target's lists are never touched here.
class EntryEditorPage : public tk::PropertyPage {
    Q_DECLARE_TR_FUNCTIONS(EntryEditorPage)

public:
    static constexpr int kRowCount = 14;
    static constexpr std::uint32_t kEmptyMask = permora::kSynchronize;
    // The access bit of each row; row 0 (Full Control) stands for the whole mask.
    static constexpr std::uint32_t kRowBits[kRowCount] = {
        0,
        permora::kExecute,
        permora::kReadData,
        permora::kReadAttributes,
        permora::kReadEa,
        permora::kWriteData,
        permora::kAppendData,
        permora::kWriteAttributes,
        permora::kWriteEa,
        permora::kDeleteChild,
        permora::kDelete,
        permora::kReadControl,
        permora::kWriteDac,
        permora::kWriteOwner,
    };

    ~EntryEditorPage() override;

    // The working entry of a column; empty once the opener has taken it.
    virtual std::unique_ptr<permora::Ace>& Entry(int column) = 0;
    int BoxId(int row, int column) const { return kind_.boxes[column][row]; }

    // Checks the boxes of a column for the rights in mask; never unchecks one of its own.
    void ShowMask(int column, std::uint32_t mask);
    // Unchecks a whole column and empties its entry's mask.
    void ClearColumn(int column);

    void OnSetActive() override;
    // OK applies the name in the field, or says it is invalid and keeps the page open.
    bool OnKillActive() override;

    // Handlers.
    void OnNameChanged();
    void OnApplyOntoChanged();
    void OnClearAll();

protected:
    EntryEditorPage(const tk::DialogTemplate& tmpl, const EntryEditorKind& kind, int level);

    // Makes a working entry a copy of entry, without the flag bits in dropFlags.
    static void CopyEntry(permora::Ace& part, const permora::Ace& entry,
                          std::uint8_t dropFlags = 0);

    // The account name and inheritance code that activation shows.
    virtual std::string ShownAccount() = 0;
    virtual int ShownCode() = 0;

private:
    void BoxClicked(int row, int column);
    // Gives both entries the name in the field; when it is not a valid account name, says
    // so once and leaves them as they are.
    bool ApplyName();

    const EntryEditorKind& kind_;
    int level_;
    bool filling_ = false;
    QMetaObject::Connection focusWatch_;
};
