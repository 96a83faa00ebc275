#pragma once

#include "model/target.h"
#include "ui/entrylistpage.h"
#include "ui/objectpermproppage.h"

// The permission entries of a target, deny entries first, one row each.
class PermissionPropPage : public EntryListPageWith<ObjectPermPropPage> {
public:
    explicit PermissionPropPage(permora::TargetObject& target);
    ~PermissionPropPage() override;
};
