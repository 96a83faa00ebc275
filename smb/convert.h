#pragma once

// A share's descriptor turned into what a template holds: the text of its explicit entries,
// read through the template reader into a target, and the rights it grants per account.

#include "model/target.h"
#include "smb/descriptor_bytes.h"

#include <functional>
#include <string>
#include <vector>

namespace permora::smb {

// The name an entry's SID is written with in a template.
using AccountOf = std::function<std::string(const std::string& sid)>;

struct DescriptorText {
    std::string sddl;    // "O:...G:...D:P(...)": owner and group as well, for the reader to name
    int inherited = 0;   // entries marked inherited, left out
    int unsupported = 0; // entries of types a template cannot hold, left out
    bool explicitEntries = false; // an entry of its own, or
    bool protectedList = false;   // a list protected from inheritance
};

// The descriptor's text: its explicit entries only (allow, deny and audit entries; an entry
// marked inherited comes from the parent and is left out), the P, AI and AR marks of each
// list, and the audit part only when withAudit.
DescriptorText ToDescriptorText(const RawDescriptor& descriptor, bool withAudit,
                                const AccountOf& accountOf);

} // namespace permora::smb
