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
    {ids::kAllowBox[0], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<0, 0>},
    {ids::kDenyBox[0], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<0, 1>},
    {ids::kAllowBox[1], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<1, 0>},
    {ids::kDenyBox[1], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<1, 1>},
    {ids::kAllowBox[2], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<2, 0>},
    {ids::kDenyBox[2], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<2, 1>},
    {ids::kAllowBox[3], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<3, 0>},
    {ids::kDenyBox[3], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<3, 1>},
    {ids::kAllowBox[4], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<4, 0>},
    {ids::kDenyBox[4], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<4, 1>},
    {ids::kAllowBox[5], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<5, 0>},
    {ids::kDenyBox[5], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<5, 1>},
    {ids::kAllowBox[6], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<6, 0>},
    {ids::kDenyBox[6], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<6, 1>},
    {ids::kAllowBox[7], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<7, 0>},
    {ids::kDenyBox[7], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<7, 1>},
    {ids::kAllowBox[8], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<8, 0>},
    {ids::kDenyBox[8], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<8, 1>},
    {ids::kAllowBox[9], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<9, 0>},
    {ids::kDenyBox[9], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<9, 1>},
    {ids::kAllowBox[10], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<10, 0>},
    {ids::kDenyBox[10], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<10, 1>},
    {ids::kAllowBox[11], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<11, 0>},
    {ids::kDenyBox[11], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<11, 1>},
    {ids::kAllowBox[12], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<12, 0>},
    {ids::kDenyBox[12], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<12, 1>},
    {ids::kAllowBox[13], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<13, 0>},
    {ids::kDenyBox[13], tk::Notify::Clicked, &ObjectPermPropPage::OnBoxClicked<13, 1>},
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

ObjectPermPropPage::~ObjectPermPropPage() {
    DetachHandlers();
}

void ObjectPermPropPage::BindHandlers() {
    Bind(this, kHandlers);
}

std::string ObjectPermPropPage::ShownAccount() {
    return AllowAce != nullptr ? std::string(AllowAce->NTAccount) : std::string();
}

int ObjectPermPropPage::ShownCode() {
    return AllowAce != nullptr ? AllowAce->Flags : 0;
}
