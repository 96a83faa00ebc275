#pragma once

#include "model/ace.h"
#include "ui/entryeditorpage.h"

#include <cstdint>
#include <memory>
#include <string>

// The editor of one auditing entry: a Successful and a Failed column, independent of each
// other. An entry that audits both is edited as two parts, one per column.
class ObjectAuditPropPage : public EntryEditorPage {
public:
    // A new entry for an account: both parts empty, applying to this folder, subfolders
    // and files.
    ObjectAuditPropPage(const std::string& account, int level);
    // An existing entry: its success part and its failed part, each with the entry's
    // mask; the entry is only read.
    ObjectAuditPropPage(const permora::Ace& entry, int level);
    ~ObjectAuditPropPage() override;

    std::unique_ptr<permora::Ace>& Entry(int column) override {
        return column == 0 ? SuccessAce : FailedAce;
    }

    std::unique_ptr<permora::Ace> SuccessAce;
    std::unique_ptr<permora::Ace> FailedAce;

protected:
    std::string ShownAccount() override;
    int ShownCode() override;

private:
    bool ShowsFailedPart() const;
};
