// capture: a template from the folders of an SMB share, as the share holds their security.

#include "smb/capture.h"
#include "cli/command.h"
#include "cli/common.h"
#include "cli/share_login.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>

namespace permora::cli {

namespace {

struct CaptureCliOptions {
    ShareOptions share;
    std::string output;
    int depth = 1;
    bool explicitOnly = false;
    bool names = false;
    bool eightBit = false;
};

int Capture(const CaptureCliOptions& o, const Io& io) {
    smb::ShareAddress address;
    smb::Credentials credentials;
    if (const int prepared = PrepareLogon(o.share, address, credentials, io);
        prepared != kSuccess) {
        return prepared;
    }
    smb::ShareSession session;
    if (const int logged = LogOn(session, address, credentials, io); logged != kSuccess) {
        return logged;
    }

    smb::CaptureOptions options;
    options.as = o.share.as;
    options.depth = o.depth;
    options.explicitOnly = o.explicitOnly;
    options.audit = !o.share.noAudit;
    options.names = o.names;
    smb::CaptureNotes notes;
    notes.warning = [&io](const std::string& path, const std::string& text) {
        io.err << path << ": warning: " << text << '\n';
    };
    notes.problem = [&io](const std::string& text) { Complain(io.err, text); };
    SecurityTemplate tmpl;
    const smb::CaptureOutcome outcome = smb::CaptureShare(session, address, options, tmpl, notes);
    if (!outcome.reached) {
        Complain(io.err, ReachProblem(address, outcome.rootError) + "; nothing was written");
        return kFileFailed;
    }
    if (outcome.unreadable > 0) {
        Complain(io.err, Plural(outcome.unreadable, "folder", "folders") +
                             " could not be read: a template without them would be "
                             "incomplete; nothing was written");
        return kFound;
    }

    const Encoding encoding = o.eightBit ? Encoding::EightBit : Encoding::Unicode;
    int saved = kSuccess;
    if (IsStandardOutput(o.output)) {
        saved = WriteToOutput(tmpl, encoding, io.out, io.err);
    } else {
        int reason = 0;
        saved = SaveResult(o.output, SaveTemplate(o.output, tmpl, encoding, LockWait::Yes, &reason),
                           io.err, reason);
    }
    if (saved != kSuccess) {
        return saved;
    }
    std::ostream& summary = SummaryStream(o.output, io.out, io.err);
    summary << Plural(outcome.folders, "folder", "folders") << " read from " << address.Text()
            << ": " << Plural(outcome.targets, "target", "targets") << " written";
    if (outcome.inherited > 0) {
        summary << ", " << Plural(outcome.inherited, "inherited entry", "inherited entries")
                << " left out";
    }
    if (outcome.invalid > 0) {
        summary << ", " << Plural(outcome.invalid, "folder", "folders")
                << " skipped with their subfolders (not a valid template path)";
    }
    if (outcome.auditUnread > 0) {
        summary << ", " << Plural(outcome.auditUnread, "target", "targets")
                << " without the audit part (the account may not read it)";
    }
    if (outcome.unsupported > 0) {
        summary << ", " << Plural(outcome.unsupported, "entry", "entries")
                << " of types a template cannot hold left out";
    }
    summary << '\n';
    const bool incomplete =
        outcome.invalid > 0 || outcome.auditUnread > 0 || outcome.unsupported > 0;
    return incomplete ? kFound : kSuccess;
}

Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<CaptureCliOptions>();
    command
        .add_option("ADDRESS", o->share.address,
                    "The share and the folder to start from: //server/share[/folder...]")
        ->required();
    AddShareOptions(command, o->share);
    command.add_option("-o,--output", o->output, "The file to write; - for standard output")
        ->required();
    command.add_option("--depth", o->depth, "Levels of subfolders below the starting folder")
        ->check(CLI::NonNegativeNumber)
        ->default_val(1);
    command.add_flag("--explicit", o->explicitOnly,
                     "Only folders with entries of their own or a list protected from "
                     "inheritance");
    command.add_flag("--names", o->names,
                     "Write accounts by their names on the server (DOMAIN\\name) instead of "
                     "SIDs");
    command.add_flag("--8bit", o->eightBit, "Write 8-bit text (UTF-16LE is the default)");
    return [o, io] { return Capture(*o, io); };
}

} // namespace

const Command kCapture = {
    "capture",
    "Write a template of the security of an SMB share's folders (talks to the server)",
    "  permora-cli capture //filer/home --as /vol/vol1/home -A ~/.filer.auth -o home.conf\n"
    "  permora-cli capture //filer/home/staff --as /vol/vol1/home --depth 3 --explicit \\\n"
    "      --names -A ~/.filer.auth -o -\n",
    "  0  written\n"
    "  1  written, but without some of what the share holds (audit parts the account may\n"
    "     not read, folders whose paths a template does not admit); or nothing written\n"
    "     because a folder could not be read\n"
    "  2  wrong usage, or an authentication file that others may read\n"
    "  3  the output could not be written, or the server, the share, the starting folder\n"
    "     or the logon failed (with the server's reason)\n",
    false,
    Define,
};

} // namespace permora::cli
