// The share and account options of capture and verify, and the logon.

#include "cli/share_login.h"

#include "cli/common.h"
#include "model/checks.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace permora::cli {

namespace {

// Reads a password from the terminal with echo off; false when there is no terminal.
bool PromptPassword(const std::string& prompt, std::string& password) {
    const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (tty < 0) {
        return false;
    }
    termios saved{};
    const bool haveTermios = ::tcgetattr(tty, &saved) == 0;
    if (!haveTermios) {
        ::close(tty);
        return false;
    }
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    (void)!::write(tty, prompt.data(), prompt.size());
    ::tcsetattr(tty, TCSAFLUSH, &quiet);
    char c = 0;
    password.clear();
    while (::read(tty, &c, 1) == 1 && c != '\n' && c != '\r') {
        password.push_back(c);
    }
    ::tcsetattr(tty, TCSAFLUSH, &saved);
    (void)!::write(tty, "\n", 1);
    ::close(tty);
    return true;
}

} // namespace

void AddShareOptions(CLI::App& command, ShareOptions& o) {
    command.add_option("--as", o.as, "The storage path that the share's root is (/vol/...)")
        ->required();
    command.add_option("-A,--authentication-file", o.authFile,
                       "Read the account and password from FILE (username =, password =, "
                       "domain = lines; yours alone, mode 0600)");
    command.add_option("-U,--user", o.user,
                       "Log on as DOMAIN\\user, with the password typed on the terminal");
    command.add_flag("--no-audit", o.noAudit, "Read and compare no audit parts");
}

int PrepareLogon(const ShareOptions& o, smb::ShareAddress& address, smb::Credentials& credentials,
                 const Io& io) {
    std::string problem;
    if (!smb::ParseShareAddress(o.address, address, problem)) {
        Complain(io.err, o.address + ": " + problem);
        return kUsage;
    }
    if (!IsPathValid(o.as)) {
        Complain(io.err, "--as " + o.as + ": " + PathProblem(o.as));
        return kUsage;
    }
    if (!o.authFile.empty()) {
        if (!smb::ReadAuthFile(o.authFile, credentials, problem)) {
            Complain(io.err, o.authFile + ": cannot use the authentication file: " + problem);
            return kUsage;
        }
        if (!o.user.empty()) {
            smb::SetAccount(o.user, credentials);
        }
        return kSuccess;
    }
    if (o.user.empty()) {
        Complain(io.err, "give an authentication file (-A FILE) or an account (-U DOMAIN\\user) "
                         "to log on with");
        return kUsage;
    }
    smb::SetAccount(o.user, credentials);
    if (!PromptPassword("Password for " + o.user + ": ", credentials.password)) {
        Complain(io.err, "no terminal to type the password on: give an authentication file "
                         "(-A FILE)");
        return kUsage;
    }
    return kSuccess;
}

std::string ReachProblem(const smb::ShareAddress& address, const smb::ShareError& error) {
    const std::string share = "//" + address.server + "/" + address.share;
    switch (error.kind) {
    case smb::Failure::Logon:
        return share + ": the server refused the logon: " + error.Reason();
    case smb::Failure::NoShare:
        return share + ": the server has no such share: " + error.Reason();
    case smb::Failure::NotFound:
        return address.Text() + ": no such folder on the share: " + error.Reason();
    case smb::Failure::Denied:
        return address.Text() + ": the account may not read the folder: " + error.Reason();
    case smb::Failure::Helper:
        return share + ": " + error.Reason();
    case smb::Failure::Unreachable:
    case smb::Failure::Other:
    case smb::Failure::None:
        break;
    }
    return share + ": cannot reach the share: " + error.Reason();
}

int LogOn(smb::ShareSession& session, const smb::ShareAddress& address,
          const smb::Credentials& credentials, const Io& io) {
    smb::ShareError error;
    if (!session.Connect(address, credentials, error)) {
        Complain(io.err, ReachProblem(address, error));
        return kFileFailed;
    }
    return kSuccess;
}

} // namespace permora::cli
