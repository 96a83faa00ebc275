#pragma once

#include "model/target.h"
#include "ui/entrylistpage.h"

#include <memory>
#include <string>

// The auditing entries of a target, one row each.
class AuditingPropPage : public EntryListPage {
public:
    explicit AuditingPropPage(permora::TargetObject& target);
    ~AuditingPropPage() override;

protected:
    std::unique_ptr<EntryEditorPage> MakeEditor(std::string account) override;
    std::unique_ptr<EntryEditorPage> MakeEditor(const permora::Ace& entry) override;
};
