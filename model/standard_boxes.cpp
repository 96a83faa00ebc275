#include "model/standard_boxes.h"

#include "model/checks.h"

#include <memory>

namespace permora::boxes {

namespace {

// The rights a click takes away with those of its box, so that afterwards neither Full
// Control nor Modify covers the entry.
constexpr std::uint32_t kTakenWithEveryBox = kDelete | kDeleteChild | kWriteDac | kWriteOwner;

// The bits a click keeps.
constexpr std::uint32_t kKeepWithoutExecute = ~(kExecute | kTakenWithEveryBox);
constexpr std::uint32_t kKeepWithoutRead = ~(kReadExecuteMask | kTakenWithEveryBox);
constexpr std::uint32_t kKeepWithoutWrite = ~(kWriteMask | kTakenWithEveryBox);

// What an unchecked box leaves of the entry.
constexpr std::uint32_t kModifyOffMask = kReadWriteExecuteSyncMask;
constexpr std::uint32_t kFullControlOffMask = kModifySyncMask;

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

    // The entry a check of the row enters in the own column, merged by the list into a
    // fitting entry of the account or placed beside them.
    void Enter(Row row) {
        const StandardRow& standard = kStandardRows[static_cast<std::size_t>(row)];
        dacl_.Add(std::make_unique<Ace>(account_, standard.MaskFor(own_), own_, standard.flags));
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
            click.Enter(kFullControl);
        }
        click.RemoveOtherColumn();
        return std::nullopt;
    }
    // Only an entry that is Full Control and nothing else can give it up here.
    if (first == nullptr || first->Mask != kFullControlMask ||
        first->Flags != kThisFolderSubfoldersAndFiles) {
        return BoxMessage::NotOnlyFullControl;
    }
    first->Mask = kFullControlOffMask;
    return std::nullopt;
}

std::optional<BoxMessage> Modify(Click& click, bool checked) {
    Ace* entry = click.WithFlags(click.Own(), kThisFolderSubfoldersAndFiles);
    if (checked) {
        click.Enter(kModify);
        click.Keep(click.WithFlags(click.Other(), kThisFolderSubfoldersAndFiles), ~kModifyMask);
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
        click.Enter(kReadExecute);
        click.Keep(click.WithFlags(click.Other(), kThisFolderSubfoldersAndFiles),
                   ~kReadExecuteMask);
        return std::nullopt;
    }
    Ace* entry = click.WithFlags(click.Own(), kThisFolderSubfoldersAndFiles);
    if (entry == nullptr) {
        return BoxMessage::CannotFind;
    }
    click.Keep(entry, kKeepWithoutExecute);
    click.Enter(kListFolder);
    return std::nullopt;
}

std::optional<BoxMessage> ListFolder(Click& click, bool checked) {
    Ace* ownFirst = click.First(click.Own());
    Ace* otherFirst = click.First(click.Other());
    if (checked) {
        click.Enter(kListFolder);
        // Both found before either changes: taking bits may remove an entry.
        Ace* both = FindAceWithFlags(otherFirst, kThisFolderSubfoldersAndFiles);
        Ace* folders = FindAceWithFlags(otherFirst, kThisFolderAndSubfolders);
        click.Keep(both, kKeepWithoutRead);
        click.Keep(folders, kKeepWithoutRead);
        return std::nullopt;
    }
    Ace* both = FindAceWithFlags(ownFirst, kThisFolderSubfoldersAndFiles);
    Ace* folders = FindAceWithFlags(ownFirst, kThisFolderAndSubfolders);
    if (both == nullptr && folders == nullptr) {
        return BoxMessage::CannotFind;
    }
    click.Keep(both, kKeepWithoutExecute);
    click.Keep(folders, kKeepWithoutRead);
    return std::nullopt;
}

std::optional<BoxMessage> Read(Click& click, bool checked) {
    if (checked) {
        click.Enter(kRead);
        click.Keep(click.WithFlags(click.Other(), kThisFolderSubfoldersAndFiles), kKeepWithoutRead);
        return std::nullopt;
    }
    Ace* entry = click.WithFlags(click.Own(), kThisFolderSubfoldersAndFiles);
    if (entry == nullptr) {
        return BoxMessage::CannotFind;
    }
    // Reading is taken from files and folders alike; folders stay listable when they
    // were executable before.
    const bool listed = MaskCovers(entry->Mask, kReadExecuteMask);
    click.Keep(entry, kKeepWithoutRead);
    if (listed) {
        click.Enter(kListFolder);
    }
    return std::nullopt;
}

std::optional<BoxMessage> Write(Click& click, bool checked) {
    if (checked) {
        click.Enter(kWrite);
        click.Keep(click.WithFlags(click.Other(), kThisFolderSubfoldersAndFiles),
                   kKeepWithoutWrite);
        return std::nullopt;
    }
    Ace* entry = click.WithFlags(click.Own(), kThisFolderSubfoldersAndFiles);
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
        if (MaskCovers(mask, kStandardRows[static_cast<std::size_t>(row)].shows)) {
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
    if (flags == kThisFolderOnly || flags == kThisFolderAndFiles ||
        flags == kThisFolderAndSubfolders || (flags & kInheritOnly) != 0) {
        auto& column = boxes.Column(entry.AceType);
        column[kSpecial] = true;
        if (flags == kThisFolderAndSubfolders) {
            if (MaskCovers(entry.Mask, kStandardRows[kListFolder].shows)) {
                column[kListFolder] = true;
            }
            if (entry.Mask == kStandardRows[kListFolder].MaskFor(entry.AceType)) {
                column[kSpecial] = false;
            }
        }
        return;
    }
    if (flags == kThisFolderSubfoldersAndFiles) {
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
