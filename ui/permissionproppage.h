#pragma once

#include "model/target.h"
#include "ui/entrylistpage.h"

#include <memory>
#include <string>

// The permission entries of a target, deny entries first, one row each.
class PermissionPropPage : public EntryListPage {
public:
    explicit PermissionPropPage(permora::TargetObject& target);
    ~PermissionPropPage() override;

protected:
    std::unique_ptr<EntryEditorPage> MakeEditor(std::string account) override;
    std::unique_ptr<EntryEditorPage> MakeEditor(const permora::Ace& entry) override;
};
