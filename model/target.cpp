#include "model/target.h"

#include "model/links.h"
#include "model/pool.h"

#include <algorithm>
#include <cstddef>
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

void* SecurityDescriptor::operator new(std::size_t size) {
    return TakeRecord<SecurityDescriptor>(size);
}

void SecurityDescriptor::operator delete(void* block, std::size_t size) noexcept {
    GiveRecord<SecurityDescriptor>(block, size);
}

std::unique_ptr<SecurityDescriptor> SecurityDescriptor::Clone() const {
    auto copy = std::make_unique<SecurityDescriptor>();
    copy->Control = Control;
    copy->DaclList = DaclList.Clone();
    copy->SaclList = SaclList.Clone();
    return copy;
}

AceList& ListOfType(SecurityDescriptor& descriptor, std::uint8_t type) {
    return (type == kAuditType ? descriptor.SaclList : descriptor.DaclList).MemberOf(type);
}

const AceList& ListOfType(const SecurityDescriptor& descriptor, std::uint8_t type) {
    return (type == kAuditType ? descriptor.SaclList : descriptor.DaclList).MemberOf(type);
}

std::unique_ptr<SecurityDescriptor> MakeDefaultDescriptor() {
    return std::make_unique<SecurityDescriptor>(std::make_unique<Ace>("Everyone", kAllowType));
}

// ---------------------------------------------------------------------------------------
// TargetObject

SparseText& SparseText::operator=(std::string_view text) {
    if (text.empty()) {
        text_.reset();
    } else if (text_) {
        text_->assign(text);
    } else {
        text_ = std::make_unique<std::string>(text);
    }
    return *this;
}

const std::string& SparseText::Text() const {
    static const std::string none;
    return text_ ? *text_ : none;
}

TargetObject::TargetObject(std::string path, std::unique_ptr<SecurityDescriptor> descriptor)
    : Path(std::move(path)), Descriptor(std::move(descriptor)) {}

void* TargetObject::operator new(std::size_t size) {
    return TakeRecord<TargetObject>(size);
}

void TargetObject::operator delete(void* block, std::size_t size) noexcept {
    GiveRecord<TargetObject>(block, size);
}

// ---------------------------------------------------------------------------------------
// SecurityTemplate

SecurityTemplate::~SecurityTemplate() {
    Clear();
}

bool SecurityTemplate::Append(std::unique_ptr<TargetObject> target) {
    if (!target) {
        return false;
    }
    order_.push_back(target.get());
    links::Append(target.release(), Head, Tail);
    ++Count;
    return true;
}

TargetObject* SecurityTemplate::At(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= order_.size()) {
        return nullptr;
    }
    return order_[static_cast<std::size_t>(index)];
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
    const auto first = std::lower_bound(indexes.begin(), indexes.end(), 0);
    const auto last = std::lower_bound(first, indexes.end(), static_cast<int>(order_.size()));

    std::vector<std::unique_ptr<TargetObject>> taken;
    if (first == last) {
        return taken;
    }
    taken.reserve(static_cast<std::size_t>(last - first));
    for (auto wanted = first; wanted != last; ++wanted) {
        TargetObject*& slot = order_[static_cast<std::size_t>(*wanted)];
        taken.push_back(Unlink(slot));
        slot = nullptr;
    }
    // The targets behind the first one taken close up in one pass.
    order_.erase(std::remove(order_.begin() + *first, order_.end(), nullptr), order_.end());
    return taken;
}

void SecurityTemplate::InsertMany(const std::vector<int>& indexes,
                                  std::vector<std::unique_ptr<TargetObject>> targets) {
    const std::size_t count = std::min(indexes.size(), targets.size());
    if (count == 0) {
        return;
    }
    // The order after the insertion, merged in one pass from the targets that stay and the
    // ones that come back.
    std::vector<TargetObject*> merged;
    merged.reserve(order_.size() + count);
    std::size_t staying = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!targets[i]) {
            continue;
        }
        const std::size_t position = static_cast<std::size_t>(std::max(indexes[i], 0));
        while (merged.size() < position && staying < order_.size()) {
            merged.push_back(order_[staying++]);
        }
        TargetObject* next = staying < order_.size() ? order_[staying] : nullptr;
        merged.push_back(targets[i].get());
        links::InsertBefore(targets[i].release(), next, Head, Tail);
        ++Count;
    }
    merged.insert(merged.end(), order_.begin() + static_cast<std::ptrdiff_t>(staying),
                  order_.end());
    order_ = std::move(merged);
}

void SecurityTemplate::Clear() {
    TargetObject* target = Head;
    Head = nullptr;
    Tail = nullptr;
    Count = 0;
    order_ = {};
    while (target != nullptr) {
        std::unique_ptr<TargetObject> owned(target);
        target = target->Next;
        owned->Next = nullptr;
        owned->Prev = nullptr;
    }
}

void SecurityTemplate::SwapAt(int upper) {
    TargetObject* target = order_[static_cast<std::size_t>(upper)];
    TargetObject* next = order_[static_cast<std::size_t>(upper) + 1];
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
    std::swap(order_[static_cast<std::size_t>(upper)], order_[static_cast<std::size_t>(upper) + 1]);
}

void SecurityTemplate::MoveUp(int index) {
    if (index < 1 || index >= static_cast<int>(order_.size())) {
        return;
    }
    SwapAt(index - 1);
}

void SecurityTemplate::MoveDown(int index) {
    if (index < 0 || index >= static_cast<int>(order_.size()) - 1) {
        return;
    }
    SwapAt(index);
}

} // namespace permora
