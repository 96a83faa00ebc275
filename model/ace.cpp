#include "model/ace.h"

#include <utility>

namespace permora {

Ace::Ace(std::string account, std::uint8_t type)
    : AceType(type), Flags(type == kAuditType ? kDefaultAuditFlags : kDefaultFlags),
      Mask(type == kAuditType ? kDefaultAuditMask : kDefaultMask), NTAccount(std::move(account)) {}

Ace::Ace(std::string account, std::uint32_t mask, std::uint8_t type)
    : AceType(type), Flags(type == kAuditType ? kDefaultAuditFlags : kDefaultFlags), Mask(mask),
      NTAccount(std::move(account)) {}

Ace::Ace(std::string account, std::uint32_t mask, std::uint8_t type, std::uint8_t flags)
    : AceType(type), Flags(flags), Mask(mask), NTAccount(std::move(account)) {}

} // namespace permora
