#include "ui/permissionproppage.h"

#include "resources/templates/permissionproppage.h"

namespace {

const EntryListTraits kPermissionList{
    permora::ListKind::Permissions,
    permora::SE_DACL_PRESENT,
    permora::SE_DACL_AUTO_INHERIT_REQ,
    permora::SE_DACL_PROTECTED,
    QT_TRANSLATE_NOOP("EntryListPage", "Allow  "),
    QT_TRANSLATE_NOOP("EntryListPage", "Permission"),
    QT_TRANSLATE_NOOP("EntryListPage", "Permission Entry for "),
    QT_TRANSLATE_NOOP("EntryListPage", "Cannot find the corresponding ace in DaclList."),
};

} // namespace

PermissionPropPage::PermissionPropPage(permora::TargetObject& target)
    : EntryListPageWith(res::PermissionPropPage::Template(), kPermissionList, target) {}

PermissionPropPage::~PermissionPropPage() = default;
