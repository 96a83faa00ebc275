#pragma once

#include "model/target.h"
#include "ui/entrylistpage.h"
#include "ui/objectauditproppage.h"

// The auditing entries of a target, one row each.
class AuditingPropPage : public EntryListPageWith<ObjectAuditPropPage> {
public:
    explicit AuditingPropPage(permora::TargetObject& target);
    ~AuditingPropPage() override;
};
