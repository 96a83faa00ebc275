#include "model/standard_boxes.h"

#include "model/checks.h"

#include <memory>

namespace permora::boxes {

namespace {

constexpr std::uint8_t kThisFolderSubfoldersFiles = kObjectInherit | kContainerInherit; // 0x03
constexpr std::uint8_t kThisFolderSubfolders = kContainerInherit;                       // 0x02

// The bits a click takes away. Each set also holds delete, delete child, change
// permissions and take ownership, so that afterwards neither Full Control nor Modify
// covers the entry.
constexpr std::uint32_t kKeepWithoutExecute = 0xFFF2FF9F; // set X
constexpr std::uint32_t kKeepWithoutRead = 0xFFF0FF16;    // set R
constexpr std::uint32_t kKeepWithoutWrite = 0xFFF2FEA9;   // set W

constexpr std::uint32_t kModifyAllowMask = 0x301BF;
constexpr std::uint32_t kModifyDenyMask = 0x1301BF;
constexpr std::uint32_t kModifyOffMask = 0x1201BF;      // Modify taken off Full Control
constexpr std::uint32_t kFullControlOffMask = 0x1301BF; // Full Control taken off
constexpr std::uint32_t kReadExecuteAllowMask = 0x200A9;
constexpr std::uint32_t kReadExecuteDenyMask = 0x1200A9;
constexpr std::uint32_t kListFolderMask = 0x1200A9;
constexpr std::uint32_t kReadEntryMask = 0x120089;
constexpr std::uint32_t kWriteEntryMask = 0x100116;

// The entries of one account in one click, the click's own column and the other one.
class Click {
public:
    Click(Acl& dacl, const std::string& account, std::uint8_t type)
        : dacl_(dacl), account_(account), own_(type == kAllowType ? kAllowType : kDenyType),
          other_(own_ == kAllowType ? kDenyType : kAllowType) {}

    std::uint8_t Own() const { return own_; }
    Ace* First(std::uint8_t type) const { return dacl_.Find(account_, type); }
    Ace* WithFlags(std::uint8_t type, std::uint8_t flags) const {
        return FindAceWithFlags(First(type), flags);
    }

    // A new entry of the own column, merged by the list into a fitting entry of the account
    // or placed beside them.
    void Enter(std::uint8_t flags, std::uint32_t mask) {
        auto entry = std::make_unique<Ace>(account_, mask, own_, flags);
        dacl_.Add(std::move(entry));
    }

    // Clears bits of an entry; an entry left without rights is removed.
    void Keep(Ace* entry, std::uint32_t keep) {
        if (entry == nullptr) {
            return;
        }
        entry->Mask &= keep;
        if (IsMaskEmpty(entry->Mask)) {
            dacl_.Remove(entry);
        }
    }

    void RemoveOtherColumn() {
        (own_ == kAllowType ? dacl_.Deny : dacl_.Allow).RemoveAccount(account_);
    }

    std::uint8_t Other() const { return other_; }

private:
    Acl& dacl_;
    const std::string& account_;
    std::uint8_t own_;
    std::uint8_t other_;
};

std::optional<BoxMessage> FullControl(Click& click, bool checked) {
    Ace* first = click.First(click.Own());
    if (checked) {
        if (first != nullptr) {
            first->Mask = kFullControlMask;
        } else {
            click.Enter(kThisFolderSubfoldersFiles, kFullControlMask);
        }
        click.RemoveOtherColumn();
        return std::nullopt;
    }
    // Only an entry that is Full Control and nothing else can give it up here.
    if (first == nullptr || first->Mask != kFullControlMask ||
        first->Flags != kThisFolderSubfoldersFiles) {
        return BoxMessage::NotOnlyFullControl;
    }
    first->Mask = kFullControlOffMask;
    return std::nullopt;
}

std::optional<BoxMessage> Modify(Click& click, bool checked) {
    Ace* entry = click.WithFlags(click.Own(), kThisFolderSubfoldersFiles);
    if (checked) {
        click.Enter(kThisFolderSubfoldersFiles,
                    click.Own() == kAllowType ? kModifyAllowMask : kModifyDenyMask);
        click.Keep(click.WithFlags(click.Other(), kThisFolderSubfoldersFiles), ~kModifyAllowMask);
        return std::nullopt;
    }
    if (entry == nullptr) {
        return click.Own() == kAllowType ? BoxMessage::CannotFind
                                         : BoxMessage::CannotFindModifyDeny;
    }
    entry->Mask = kModifyOffMask;
    return std::nullopt;
}

std::optional<BoxMessage> ReadExecute(Click& click, bool checked) {
    if (checked) {
        click.Enter(kThisFolderSubfoldersFiles,
                    click.Own() == kAllowType ? kReadExecuteAllowMask : kReadExecuteDenyMask);
        click.Keep(click.WithFlags(click.Other(), kThisFolderSubfoldersFiles),
                   ~kReadExecuteAllowMask);
        return std::nullopt;
    }
    Ace* entry = click.WithFlags(click.Own(), kThisFolderSubfoldersFiles);
    if (entry == nullptr) {
        return BoxMessage::CannotFind;
    }
    click.Keep(entry, kKeepWithoutExecute);
    click.Enter(kThisFolderSubfolders, kListFolderMask);
    return std::nullopt;
}

std::optional<BoxMessage> ListFolder(Click& click, bool checked) {
    Ace* ownFirst = click.First(click.Own());
    Ace* otherFirst = click.First(click.Other());
    if (checked) {
        click.Enter(kThisFolderSubfolders, kListFolderMask);
        // Both found before either changes: taking bits may remove an entry.
        Ace* both = FindAceWithFlags(otherFirst, kThisFolderSubfoldersFiles);
        Ace* folders = FindAceWithFlags(otherFirst, kThisFolderSubfolders);
        click.Keep(both, kKeepWithoutRead);
        click.Keep(folders, kKeepWithoutRead);
        return std::nullopt;
    }
    Ace* both = FindAceWithFlags(ownFirst, kThisFolderSubfoldersFiles);
    Ace* folders = FindAceWithFlags(ownFirst, kThisFolderSubfolders);
    if (both == nullptr && folders == nullptr) {
        return BoxMessage::CannotFind;
    }
    click.Keep(both, kKeepWithoutExecute);
    click.Keep(folders, kKeepWithoutRead);
    return std::nullopt;
}

std::optional<BoxMessage> Read(Click& click, bool checked) {
    if (checked) {
        click.Enter(kThisFolderSubfoldersFiles, kReadEntryMask);
        click.Keep(click.WithFlags(click.Other(), kThisFolderSubfoldersFiles), kKeepWithoutRead);
        return std::nullopt;
    }
    Ace* entry = click.WithFlags(click.Own(), kThisFolderSubfoldersFiles);
    if (entry == nullptr) {
        return BoxMessage::CannotFind;
    }
    // Reading is taken from files and folders alike; folders stay listable when they
    // were executable before.
    const bool listed = MaskCovers(entry->Mask, kReadExecuteAllowMask);
    click.Keep(entry, kKeepWithoutRead);
    if (listed) {
        click.Enter(kThisFolderSubfolders, kListFolderMask);
    }
    return std::nullopt;
}

std::optional<BoxMessage> Write(Click& click, bool checked) {
    if (checked) {
        click.Enter(kThisFolderSubfoldersFiles, kWriteEntryMask);
        click.Keep(click.WithFlags(click.Other(), kThisFolderSubfoldersFiles), kKeepWithoutWrite);
        return std::nullopt;
    }
    Ace* entry = click.WithFlags(click.Own(), kThisFolderSubfoldersFiles);
    if (entry == nullptr) {
        return BoxMessage::CannotFind;
    }
    click.Keep(entry, kKeepWithoutWrite);
    return std::nullopt;
}

} // namespace

void ShowStandardAce(BoxStates& boxes, std::uint32_t mask, std::uint8_t type) {
    const bool allow = type == kAllowType;
    bool matched = false;
    for (int row = 0; row < kStandardRowCount; ++row) {
        if (MaskCovers(mask, kRowMasks[static_cast<std::size_t>(row)])) {
            boxes.allow[static_cast<std::size_t>(row)] = allow;
            boxes.deny[static_cast<std::size_t>(row)] = !allow;
            matched = true;
        }
    }
    if (!matched) {
        boxes.allow[kSpecial] = allow;
        boxes.deny[kSpecial] = !allow;
    }
}

void ShowAce(BoxStates& boxes, const Ace& entry, Messages& messages) {
    if (entry.Mask == 0) {
        messages.push_back(BoxMessage::NoMask);
        return;
    }
    const std::uint8_t flags = entry.Flags;
    if (flags == kNoPropagate || flags == kObjectInherit || flags == kContainerInherit ||
        (flags & kInheritOnly) != 0) {
        auto& column = boxes.Column(entry.AceType);
        column[kSpecial] = true;
        if (flags == kThisFolderSubfolders) {
            if (MaskCovers(entry.Mask, kRowMasks[kListFolder])) {
                column[kListFolder] = true;
            }
            if (entry.Mask == kListFolderMask) {
                column[kSpecial] = false;
            }
        }
        return;
    }
    if (flags == kThisFolderSubfoldersFiles) {
        ShowStandardAce(boxes, entry.Mask, entry.AceType);
        return;
    }
    messages.push_back(BoxMessage::UnexpectedFlags);
}

BoxStates DeriveBoxStates(const Acl& dacl, std::string_view account, Messages& messages) {
    BoxStates boxes;
    for (std::uint8_t type : {kAllowType, kDenyType}) {
        for (const Ace* entry = dacl.Find(account, type);
             entry != nullptr && EqualsNoCase(entry->NTAccount, account); entry = entry->Next) {
            ShowAce(boxes, *entry, messages);
        }
    }
    return boxes;
}

Ace* FindAceWithFlags(Ace* start, std::uint8_t flags) {
    if (start == nullptr) {
        return nullptr;
    }
    for (Ace* entry = start; entry != nullptr && EqualsNoCase(entry->NTAccount, start->NTAccount);
         entry = entry->Next) {
        if (entry->Flags == flags) {
            return entry;
        }
    }
    return nullptr;
}

std::optional<BoxMessage> ApplyStandardClick(Acl& dacl, const std::string& account, Row row,
                                             std::uint8_t type, bool checked) {
    Click click(dacl, account, type);
    switch (row) {
    case kFullControl:
        return FullControl(click, checked);
    case kModify:
        return Modify(click, checked);
    case kReadExecute:
        return ReadExecute(click, checked);
    case kListFolder:
        return ListFolder(click, checked);
    case kRead:
        return Read(click, checked);
    case kWrite:
        return Write(click, checked);
    case kSpecial:
    case kRowCount:
        break;
    }
    return std::nullopt;
}

} // namespace permora::boxes
