#include "ui/permissionproppage.h"

#include "resources/templates/permissionproppage.h"
#include "ui/objectpermproppage.h"

#include <utility>

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
    : EntryListPage(res::PermissionPropPage::Template(), kPermissionList, target) {}

PermissionPropPage::~PermissionPropPage() = default;

std::unique_ptr<EntryEditorPage> PermissionPropPage::MakeEditor(std::string account) {
    return std::make_unique<ObjectPermPropPage>(std::move(account), Target().SecurityLevel);
}

std::unique_ptr<EntryEditorPage> PermissionPropPage::MakeEditor(const permora::Ace& entry) {
    return std::make_unique<ObjectPermPropPage>(entry, Target().SecurityLevel);
}
