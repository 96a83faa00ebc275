#pragma once

// One share on a server, reached through the helper: its address, the account that logs on
// and what the server answers.

#include "smb/helper_channel.h"

#include <string>
#include <string_view>
#include <vector>

namespace permora::smb {

// "//server/share/sub/folder": the server, the share and the folder under its root (as its
// names, none for the root).
struct ShareAddress {
    std::string server;
    std::string share;
    std::vector<std::string> folder;
    // "//server/share" and the folder's names joined by "/".
    [[nodiscard]] std::string Text() const;
};

// Reads an address; false with what is wrong in problem. "\\server\share" is taken too.
[[nodiscard]] bool ParseShareAddress(std::string_view text, ShareAddress& address,
                                     std::string& problem);

struct Credentials {
    std::string domain;
    std::string user;
    std::string password;
    Credentials() = default;
    Credentials(const Credentials&) = default;
    Credentials& operator=(const Credentials&) = default;
    ~Credentials(); // the password is overwritten before its memory is let go
};

// Reads an authentication file in the form Samba's clients read ("username = ...",
// "password = ...", "domain = ..."; "username" may be "DOMAIN\user"). The file must belong
// to the user and let nobody else read or write it. False with the reason in problem.
[[nodiscard]] bool ReadAuthFile(const std::string& path, Credentials& credentials,
                                std::string& problem);
// "DOMAIN\user" or "user" into the credentials' domain and user.
void SetAccount(std::string_view account, Credentials& credentials);

// What went wrong, by what it means to the commands.
enum class Failure {
    None,
    Unreachable, // the server did not answer, or refused the connection
    Logon,       // the server refused the account or password
    NoShare,     // the server has no such share
    NotFound,    // no such folder
    Denied,      // the account may not read it
    Helper,      // the helper is missing or failed
    Other,
};

struct ShareError {
    Failure kind = Failure::None;
    std::string status; // the server's status code ("c000006d"), or empty
    std::string text;   // the server's words for it

    // The words and the code: "Access denied (NT_STATUS c0000022)".
    [[nodiscard]] std::string Reason() const;
};

struct FolderRead {
    bool auditRead = false;
    std::string descriptor; // self-relative bytes
    std::vector<std::string> subfolders;
};

class ShareSession {
public:
    // Starts the helper and logs on to the share.
    [[nodiscard]] bool Connect(const ShareAddress& address, const Credentials& credentials,
                               ShareError& error);
    // The folder's descriptor (with its audit part when audit is set and the account may
    // read it) and, with list, its subfolders' names as the server sends them. path holds the
    // folder's names from the share's root.
    [[nodiscard]] bool ReadFolder(const std::vector<std::string>& path, bool audit, bool list,
                                  FolderRead& folder, ShareError& error);
    // The SID of each name ("" where the server knows none), through the server's account
    // lookup, in the order given.
    [[nodiscard]] bool LookupNames(const std::vector<std::string>& names,
                                   std::vector<std::string>& sids, ShareError& error);
    // The "DOMAIN\name" of each SID ("" where the server knows none).
    [[nodiscard]] bool LookupSids(const std::vector<std::string>& sids,
                                  std::vector<std::string>& names, ShareError& error);

private:
    bool Ask(const Record& request, Record& answer, ShareError& error, Failure failureKind);
    HelperChannel helper_;
};

} // namespace permora::smb
