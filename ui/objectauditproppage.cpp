#include "ui/objectauditproppage.h"

#include "resources/templates/objectauditproppage.h"

#include <utility>

namespace {

namespace ids = res::ObjectAuditPropPage;

using permora::kAuditBits;
using permora::kAuditFailure;
using permora::kAuditSuccess;

constexpr std::uint8_t kNewFlags = permora::kThisFolderSubfoldersAndFiles;

const EntryEditorKind kAuditEditor{
    {ids::kSuccessBox, ids::kFailedBox},
    permora::kAllRightsMask, // every right but SYNCHRONIZE
    false,
    {kAuditSuccess, kAuditFailure},
};

} // namespace

ObjectAuditPropPage::ObjectAuditPropPage(const std::string& account, int level)
    : EntryEditorPage(ids::Template(), kAuditEditor, level),
      SuccessAce(std::make_unique<permora::Ace>(account, 0, permora::kAuditType,
                                                kAuditSuccess | kNewFlags)),
      FailedAce(std::make_unique<permora::Ace>(account, 0, permora::kAuditType,
                                               kAuditFailure | kNewFlags)) {}

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

ObjectAuditPropPage::~ObjectAuditPropPage() = default;

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
