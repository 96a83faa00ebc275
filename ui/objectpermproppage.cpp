#include "ui/objectpermproppage.h"

#include "resources/templates/objectpermproppage.h"

#include <utility>

namespace {

namespace ids = res::ObjectPermPropPage;

const EntryEditorKind kPermissionEditor{
    {ids::kAllowBox, ids::kDenyBox},
    permora::kFullControlMask, // includes SYNCHRONIZE
    true,
    {0, 0},
};

} // namespace

ObjectPermPropPage::ObjectPermPropPage(const std::string& account, int level)
    : EntryEditorPage(ids::Template(), kPermissionEditor, level),
      AllowAce(std::make_unique<permora::Ace>(account, 0, permora::kAllowType)),
      DenyAce(std::make_unique<permora::Ace>(account, 0, permora::kDenyType)) {}

ObjectPermPropPage::ObjectPermPropPage(const permora::Ace& entry, int level)
    : EntryEditorPage(ids::Template(), kPermissionEditor, level),
      AllowAce(
          std::make_unique<permora::Ace>(entry.NTAccount, 0, permora::kAllowType, entry.Flags)),
      DenyAce(std::make_unique<permora::Ace>(entry.NTAccount, 0, permora::kDenyType, entry.Flags)) {
    CopyEntry(entry.AceType == permora::kAllowType ? *AllowAce : *DenyAce, entry);
}

ObjectPermPropPage::~ObjectPermPropPage() = default;

std::string ObjectPermPropPage::ShownAccount() {
    return AllowAce != nullptr ? std::string(AllowAce->NTAccount) : std::string();
}

int ObjectPermPropPage::ShownCode() {
    return AllowAce != nullptr ? AllowAce->Flags : 0;
}
