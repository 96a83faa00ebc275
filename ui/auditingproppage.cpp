#include "ui/auditingproppage.h"

#include "resources/templates/auditingproppage.h"

namespace {

const EntryListTraits kAuditingList{
    permora::ListKind::Auditing,
    permora::SE_SACL_PRESENT,
    permora::SE_SACL_AUTO_INHERIT_REQ,
    permora::SE_SACL_PROTECTED,
    QT_TRANSLATE_NOOP("EntryListPage", "Success  "),
    QT_TRANSLATE_NOOP("EntryListPage", "Access"),
    QT_TRANSLATE_NOOP("EntryListPage", "Auditing Entry for "),
    QT_TRANSLATE_NOOP("EntryListPage", "Cannot find the corresponding ace in SaclList."),
};

} // namespace

AuditingPropPage::AuditingPropPage(permora::TargetObject& target)
    : EntryListPageWith(res::AuditingPropPage::Template(), kAuditingList, target) {}

AuditingPropPage::~AuditingPropPage() = default;
