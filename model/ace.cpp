#include "model/ace.h"

#include "model/pool.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace permora {

AccountName::AccountName(std::string_view text) {
    if (text.empty()) {
        return;
    }
    if (text.size() > kMaxSize) {
        throw std::length_error("account name too long");
    }
    const std::size_t size = text.size();
    void* block = TakeSmallBlock(sizeof(Text) + size + 1);
    text_ = ::new (block) Text{1, static_cast<std::uint32_t>(size)};
    char* chars = reinterpret_cast<char*>(text_ + 1);
    std::memcpy(chars, text.data(), size);
    chars[size] = '\0';
}

AccountName::AccountName(const AccountName& other) noexcept : text_(other.text_) {
    if (text_ != nullptr) {
        ++text_->holders;
    }
}

AccountName& AccountName::operator=(const AccountName& other) noexcept {
    if (this != &other && text_ != other.text_) {
        Release();
        text_ = other.text_;
        if (text_ != nullptr) {
            ++text_->holders;
        }
    }
    return *this;
}

AccountName& AccountName::operator=(AccountName&& other) noexcept {
    if (this != &other) {
        Release();
        text_ = std::exchange(other.text_, nullptr);
    }
    return *this;
}

AccountName::~AccountName() {
    Release();
}

void AccountName::Release() noexcept {
    if (text_ != nullptr && --text_->holders == 0) {
        const std::size_t bytes = sizeof(Text) + text_->size + 1;
        text_->~Text();
        GiveSmallBlock(text_, bytes);
    }
    text_ = nullptr;
}

Ace::Ace(AccountName account, std::uint8_t type)
    : AceType(type), Flags(type == kAuditType ? kDefaultAuditFlags : kDefaultFlags),
      Mask(type == kAuditType ? kDefaultAuditMask : kDefaultMask), NTAccount(std::move(account)) {}

Ace::Ace(AccountName account, std::uint32_t mask, std::uint8_t type)
    : AceType(type), Flags(type == kAuditType ? kDefaultAuditFlags : kDefaultFlags), Mask(mask),
      NTAccount(std::move(account)) {}

Ace::Ace(AccountName account, std::uint32_t mask, std::uint8_t type, std::uint8_t flags)
    : AceType(type), Flags(flags), Mask(mask), NTAccount(std::move(account)) {}

void* Ace::operator new(std::size_t size) {
    return TakeRecord<Ace>(size);
}

void Ace::operator delete(void* block, std::size_t size) noexcept {
    GiveRecord<Ace>(block, size);
}

} // namespace permora
