#pragma once

// A real smbd for the share tests: a throw-away configuration under a temporary folder,
// accounts known only to it (LAB\ann, LAB\bob and LAB\root through nss_wrapper and a passdb
// of its own), listening on 127.0.0.1:445 of the test's private network namespace.
//
// tests/smb/run starts the test program in that namespace (unshare -n) as root; elsewhere
// the share tests are skipped.

#include <string>
#include <sys/types.h>
#include <vector>

namespace permora::smb_test {

inline constexpr const char* kDomainSid = "S-1-5-21-1111111111-2222222222-3333333333";
// The accounts are made in this order, so their SIDs are known.
inline constexpr const char* kAnnSid = "S-1-5-21-1111111111-2222222222-3333333333-1000";
inline constexpr const char* kBobSid = "S-1-5-21-1111111111-2222222222-3333333333-1001";
inline constexpr const char* kAnnPassword = "ann-Pa55";
inline constexpr const char* kBobPassword = "bob-Pa55";
inline constexpr const char* kRootPassword = "root-Pa55";

// Why the share tests cannot run here; empty when they can.
std::string WhySharesCannotRun();

class SmbServer {
public:
    SmbServer() = default;
    ~SmbServer();
    SmbServer(const SmbServer&) = delete;
    SmbServer& operator=(const SmbServer&) = delete;

    // Sets up the configuration, the accounts and the shares ("share" and "locked") and
    // starts smbd; false with the reason in error.
    [[nodiscard]] bool Start(std::string& error);
    void Stop();

    const std::string& Folder() const { return folder_; }
    // An authentication file for the account, of the given mode.
    std::string AuthFile(const std::string& user, const std::string& password,
                         unsigned mode = 0600) const;
    // Runs share_tool.py as LAB\root on the share with the given commands; false with its
    // messages in error.
    [[nodiscard]] bool Build(const std::string& share, const std::vector<std::string>& commands,
                             std::string& error) const;
    // Same, but returns what "show" commands printed.
    [[nodiscard]] std::string Show(const std::string& share, const std::string& path) const;

private:
    std::string folder_;
    pid_t smbd_ = -1;
};

} // namespace permora::smb_test
