#pragma once

// What capture and verify share: the options that name a share and an account, and the
// logon.

#include "cli/command.h"
#include "smb/share.h"

#include <string>

namespace CLI {
class App;
}

namespace permora::cli {

struct ShareOptions {
    std::string address; // //server/share[/folder...]
    std::string as;      // the storage path of the share's root
    std::string authFile;
    std::string user; // for the password prompt
    bool noAudit = false;
};

// Adds ADDRESS (or, with addressName, that positional), --as, -A, -U and --no-audit.
void AddShareOptions(CLI::App& command, ShareOptions& options);

// Reads the address and the credentials: from the authentication file, or the account of -U
// and a password typed on the terminal. Returns kSuccess, or kUsage after saying why.
int PrepareLogon(const ShareOptions& options, smb::ShareAddress& address,
                 smb::Credentials& credentials, const Io& io);

// Logs on to the share. Returns kSuccess, or kFileFailed after saying why (with the server's
// reason).
int LogOn(smb::ShareSession& session, const smb::ShareAddress& address,
          const smb::Credentials& credentials, const Io& io);

// "cannot reach //server/share: ..." and the like, for a failure to log on or to read the
// starting folder.
std::string ReachProblem(const smb::ShareAddress& address, const smb::ShareError& error);

} // namespace permora::cli
