#include "ui/objectauditproppage.h"

#include "resources/templates/objectauditproppage.h"

#include <utility>

namespace {

namespace ids = res::ObjectAuditPropPage;

using permora::kAuditBits;
using permora::kAuditFailure;
using permora::kAuditSuccess;

constexpr std::uint8_t kNewFlags = permora::kObjectInherit | permora::kContainerInherit;

const EntryEditorKind kAuditEditor{
    {ids::kSuccessBox, ids::kFailedBox},
    0x000F01FF, // every right, without SYNCHRONIZE
    false,
    {kAuditSuccess, kAuditFailure},
};

const tk::Handler<ObjectAuditPropPage> kHandlers[] = {
    {ids::IDC_NAME, tk::Notify::Changed, &ObjectAuditPropPage::OnNameChanged},
    {ids::IDC_APPLY_ONTO, tk::Notify::SelChange, &ObjectAuditPropPage::OnApplyOntoChanged},
    {ids::IDC_CLEAR_ALL, tk::Notify::Clicked, &ObjectAuditPropPage::OnClearAll},
    {ids::kSuccessBox[0], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<0, 0>},
    {ids::kFailedBox[0], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<0, 1>},
    {ids::kSuccessBox[1], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<1, 0>},
    {ids::kFailedBox[1], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<1, 1>},
    {ids::kSuccessBox[2], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<2, 0>},
    {ids::kFailedBox[2], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<2, 1>},
    {ids::kSuccessBox[3], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<3, 0>},
    {ids::kFailedBox[3], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<3, 1>},
    {ids::kSuccessBox[4], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<4, 0>},
    {ids::kFailedBox[4], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<4, 1>},
    {ids::kSuccessBox[5], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<5, 0>},
    {ids::kFailedBox[5], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<5, 1>},
    {ids::kSuccessBox[6], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<6, 0>},
    {ids::kFailedBox[6], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<6, 1>},
    {ids::kSuccessBox[7], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<7, 0>},
    {ids::kFailedBox[7], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<7, 1>},
    {ids::kSuccessBox[8], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<8, 0>},
    {ids::kFailedBox[8], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<8, 1>},
    {ids::kSuccessBox[9], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<9, 0>},
    {ids::kFailedBox[9], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<9, 1>},
    {ids::kSuccessBox[10], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<10, 0>},
    {ids::kFailedBox[10], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<10, 1>},
    {ids::kSuccessBox[11], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<11, 0>},
    {ids::kFailedBox[11], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<11, 1>},
    {ids::kSuccessBox[12], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<12, 0>},
    {ids::kFailedBox[12], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<12, 1>},
    {ids::kSuccessBox[13], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<13, 0>},
    {ids::kFailedBox[13], tk::Notify::Clicked, &ObjectAuditPropPage::OnBoxClicked<13, 1>},
};

void CopyEntry(permora::Ace& part, const permora::Ace& entry, std::uint8_t dropBit) {
    part.AceType = entry.AceType;
    part.Flags = static_cast<std::uint8_t>(entry.Flags & ~dropBit);
    part.Size = entry.Size;
    part.Mask = entry.Mask;
    part.NTAccount = entry.NTAccount;
}

} // namespace

ObjectAuditPropPage::ObjectAuditPropPage(const std::string& account, int level)
    : EntryEditorPage(ids::Template(), kAuditEditor, level),
      SuccessAce(std::make_unique<permora::Ace>(account, 0, permora::kAuditType,
                                                kAuditSuccess | kNewFlags)),
      FailedAce(std::make_unique<permora::Ace>(account, 0, permora::kAuditType,
                                               kAuditFailure | kNewFlags)) {
    BindHandlers();
}

// An entry that audits success and failure is split into both parts, each with the
// entry's mask and one audit bit. A part the entry does not have starts empty with the
// entry's own inheritance code, the one the apply-onto choice shows.
ObjectAuditPropPage::ObjectAuditPropPage(const permora::Ace& entry, int level)
    : ObjectAuditPropPage(entry.NTAccount, level) {
    const auto code = static_cast<std::uint8_t>(entry.Flags & ~kAuditBits);
    SuccessAce->Flags = kAuditSuccess | code;
    FailedAce->Flags = kAuditFailure | code;
    if ((entry.Flags & kAuditSuccess) != 0)
        CopyEntry(*SuccessAce, entry, kAuditFailure);
    if ((entry.Flags & kAuditFailure) != 0)
        CopyEntry(*FailedAce, entry, kAuditSuccess);
}

ObjectAuditPropPage::~ObjectAuditPropPage() {
    DetachHandlers();
}

void ObjectAuditPropPage::BindHandlers() {
    Bind(this, kHandlers);
}

// The part that carries the entry names its code and account: the success part, unless
// it is empty while the failed part is not (an entry that audits failures only).
bool ObjectAuditPropPage::ShowsFailedPart() const {
    if (SuccessAce == nullptr)
        return FailedAce != nullptr;
    return SuccessAce->Mask == 0 && FailedAce != nullptr && FailedAce->Mask != 0;
}

int ObjectAuditPropPage::ShownCode() {
    const permora::Ace* part = ShowsFailedPart() ? FailedAce.get() : SuccessAce.get();
    return part != nullptr ? (part->Flags & ~kAuditBits) : 0;
}

std::string ObjectAuditPropPage::ShownAccount() {
    const permora::Ace* part = ShowsFailedPart() ? FailedAce.get() : SuccessAce.get();
    return part != nullptr ? std::string(part->NTAccount) : std::string();
}
