#include "model/target.h"

#include "model/links.h"

#include <algorithm>
#include <utility>

namespace permora {

// ---------------------------------------------------------------------------------------
// SecurityDescriptor

SecurityDescriptor::SecurityDescriptor(std::unique_ptr<Ace> entry) {
    if (!entry) {
        return;
    }
    if (entry->AceType == kAuditType) {
        Control = SE_SACL_PRESENT;
        SaclList.Add(std::move(entry));
    } else {
        Control = SE_DACL_PRESENT;
        DaclList.Add(std::move(entry));
    }
}

SecurityDescriptor::~SecurityDescriptor() {
    SaclList.Clear();
    DaclList.Clear();
    Control = 0;
}

std::unique_ptr<SecurityDescriptor> SecurityDescriptor::Clone() const {
    auto copy = std::make_unique<SecurityDescriptor>();
    copy->Control = Control;
    copy->DaclList = DaclList.Clone();
    copy->SaclList = SaclList.Clone();
    return copy;
}

std::unique_ptr<SecurityDescriptor> MakeDefaultDescriptor() {
    return std::make_unique<SecurityDescriptor>(std::make_unique<Ace>("Everyone", kAllowType));
}

// ---------------------------------------------------------------------------------------
// TargetObject

TargetObject::TargetObject(std::string path, std::unique_ptr<SecurityDescriptor> descriptor)
    : Path(std::move(path)), Descriptor(std::move(descriptor)) {}

// ---------------------------------------------------------------------------------------
// SecurityTemplate

SecurityTemplate::~SecurityTemplate() {
    Clear();
}

int SecurityTemplate::Append(std::unique_ptr<TargetObject> target) {
    if (!target) {
        return 0;
    }
    links::Append(target.release(), Head, Tail);
    ++Count;
    return 1;
}

TargetObject* SecurityTemplate::At(int index) const {
    if (index < 0 || index >= Count) {
        return nullptr;
    }
    // Walk from the nearer end: the rows near the bottom of a long template are reached as
    // quickly as those near the top.
    if (index <= Count / 2) {
        TargetObject* target = Head;
        for (int i = 0; i < index && target != nullptr; ++i) {
            target = target->Next;
        }
        return target;
    }
    TargetObject* target = Tail;
    for (int i = Count - 1; i > index && target != nullptr; --i) {
        target = target->Prev;
    }
    return target;
}

std::unique_ptr<TargetObject> SecurityTemplate::Unlink(TargetObject* target) {
    links::Unlink(target, Head, Tail);
    --Count;
    return std::unique_ptr<TargetObject>(target);
}

int SecurityTemplate::RemoveMany(std::vector<int> indexes) {
    return static_cast<int>(TakeMany(std::move(indexes)).size());
}

std::vector<std::unique_ptr<TargetObject>> SecurityTemplate::TakeMany(std::vector<int> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    auto wanted = std::lower_bound(indexes.begin(), indexes.end(), 0);

    std::vector<std::unique_ptr<TargetObject>> taken;
    taken.reserve(static_cast<std::size_t>(indexes.end() - wanted));
    int position = 0;
    TargetObject* target = Head;
    while (target != nullptr && wanted != indexes.end()) {
        TargetObject* next = target->Next;
        if (*wanted == position) {
            taken.push_back(Unlink(target));
            ++wanted;
        }
        target = next;
        ++position;
    }
    return taken;
}

void SecurityTemplate::InsertMany(const std::vector<int>& indexes,
                                  std::vector<std::unique_ptr<TargetObject>> targets) {
    // cursor is the target at position `position` of the growing list (null past the end).
    TargetObject* cursor = Head;
    int position = 0;
    const std::size_t count = std::min(indexes.size(), targets.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (!targets[i]) {
            continue;
        }
        while (cursor != nullptr && position < indexes[i]) {
            cursor = cursor->Next;
            ++position;
        }
        links::InsertBefore(targets[i].release(), cursor, Head, Tail);
        ++Count;
        ++position;
    }
}

void SecurityTemplate::Clear() {
    TargetObject* target = Head;
    Head = nullptr;
    Tail = nullptr;
    Count = 0;
    while (target != nullptr) {
        std::unique_ptr<TargetObject> owned(target);
        target = target->Next;
        owned->Next = nullptr;
        owned->Prev = nullptr;
    }
}

void SecurityTemplate::SwapWithNext(TargetObject* target) {
    TargetObject* next = target->Next;
    if (next == nullptr) {
        return;
    }
    TargetObject* before = target->Prev;
    TargetObject* after = next->Next;
    if (before != nullptr) {
        before->Next = next;
    } else {
        Head = next;
    }
    next->Prev = before;
    next->Next = target;
    target->Prev = next;
    target->Next = after;
    if (after != nullptr) {
        after->Prev = target;
    } else {
        Tail = target;
    }
}

void SecurityTemplate::MoveUp(int index) {
    if (index < 1 || index >= Count) {
        return;
    }
    TargetObject* target = At(index);
    if (target != nullptr && target->Prev != nullptr) {
        SwapWithNext(target->Prev);
    }
}

void SecurityTemplate::MoveDown(int index) {
    if (index < 0 || index >= Count - 1) {
        return;
    }
    TargetObject* target = At(index);
    if (target != nullptr) {
        SwapWithNext(target);
    }
}

} // namespace permora
