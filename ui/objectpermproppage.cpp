#include "ui/objectpermproppage.h"

#include "resources/templates/objectpermproppage.h"

#include <utility>

namespace {

namespace ids = res::ObjectPermPropPage;

const EntryEditorKind kPermissionEditor{
    {ids::kAllowBox, ids::kDenyBox},
    0x001F01FF, // Full Control includes SYNCHRONIZE
    true,
    {0, 0},
};

const tk::Handler<ObjectPermPropPage> kHandlers[] = {
    {ids::IDC_NAME, tk::Notify::Changed, &ObjectPermPropPage::OnNameChanged},
    {ids::IDC_APPLY_ONTO, tk::Notify::SelChange, &ObjectPermPropPage::OnApplyOntoChanged},
    {ids::IDC_CLEAR_ALL, tk::Notify::Clicked, &ObjectPermPropPage::OnClearAll},
};

} // namespace

ObjectPermPropPage::ObjectPermPropPage(const std::string& account, int level)
    : EntryEditorPage(ids::Template(), kPermissionEditor, level),
      AllowAce(std::make_unique<permora::Ace>(account, 0, permora::kAllowType)),
      DenyAce(std::make_unique<permora::Ace>(account, 0, permora::kDenyType)) {
    BindHandlers();
}

ObjectPermPropPage::ObjectPermPropPage(const permora::Ace& entry, int level)
    : EntryEditorPage(ids::Template(), kPermissionEditor, level),
      AllowAce(
          std::make_unique<permora::Ace>(entry.NTAccount, 0, permora::kAllowType, entry.Flags)),
      DenyAce(std::make_unique<permora::Ace>(entry.NTAccount, 0, permora::kDenyType, entry.Flags)) {
    permora::Ace& part = entry.AceType == permora::kAllowType ? *AllowAce : *DenyAce;
    part.AceType = entry.AceType;
    part.Flags = entry.Flags;
    part.Size = entry.Size;
    part.Mask = entry.Mask;
    part.NTAccount = entry.NTAccount;
    BindHandlers();
}

ObjectPermPropPage::~ObjectPermPropPage() = default;

void ObjectPermPropPage::BindHandlers() {
    Bind(this, kHandlers);
}

std::string ObjectPermPropPage::ShownAccount() {
    return AllowAce != nullptr ? std::string(AllowAce->NTAccount) : std::string();
}

int ObjectPermPropPage::ShownCode() {
    return AllowAce != nullptr ? AllowAce->Flags : 0;
}
