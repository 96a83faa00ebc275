#pragma once

namespace permora {

// The two lists of entries a user edits: the permissions (a descriptor's deny entries, then
// its allow entries) and the auditing entries.
enum class ListKind { Permissions, Auditing };

} // namespace permora
