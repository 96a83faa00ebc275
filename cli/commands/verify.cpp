// verify: whether an SMB share holds what a template says, target by target, and whether
// the template's accounts exist on the server.

#include "smb/verify.h"
#include "cli/command.h"
#include "cli/common.h"
#include "cli/share_login.h"
#include "model/ascii_case.h"
#include "model/effective_access.h"
#include "model/names.h"
#include "model/well_known.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace permora::cli {

namespace {

struct VerifyOptions {
    std::string file;
    ShareOptions share;
    bool json = false;
    bool accountsOnly = false;
};

struct Verdict {
    const TargetObject* target = nullptr;
    std::int64_t line = 0;
    enum class State { Agrees, Differs, NotVerified } state = State::Agrees;
    std::string reason; // why it was not verified
    smb::Comparison comparison;
    bool auditUnread = false;
    int inherited = 0;
};

// The line number of each target of a template read whole: the lines the reader is handed,
// in order.
std::vector<std::int64_t> TargetLines(const std::string& bytes) {
    std::vector<std::int64_t> lines;
    LineDecoder decoder([&lines](const std::string&, std::int64_t number) {
        lines.push_back(number);
        return true;
    });
    decoder.Feed(bytes.data(), bytes.size());
    decoder.Finish();
    return lines;
}

bool IsUnder(const std::string& path, const std::string& root) {
    if (root == "/") {
        return path.starts_with("/");
    }
    return path == root || (path.starts_with(root) && path[root.size()] == '/');
}

// The folder names of a path under root.
std::vector<std::string> NamesUnder(const std::string& path, const std::string& root) {
    std::vector<std::string> names;
    std::size_t start = root == "/" ? 1 : root.size() + 1;
    while (start <= path.size() && start < path.size() + 1 && path.size() > root.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start) {
            names.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

std::string RightsWords(std::uint32_t rights) {
    const char* name = PermissionName(rights);
    return name != nullptr ? std::string(name) + " (" + Hex(rights) + ")" : Hex(rights);
}

class Verifier {
public:
    Verifier(const VerifyOptions& o, const Io& io) : o_(o), io_(io) {}

    int Run() {
        smb::ShareAddress address;
        smb::Credentials credentials;
        if (const int prepared = PrepareLogon(o_.share, address, credentials, io_);
            prepared != kSuccess) {
            return prepared;
        }
        std::string root = o_.share.as;
        while (root.size() > 1 && root.back() == '/') {
            root.pop_back();
        }
        root_ = root;
        std::string prefix = root;
        for (const std::string& name : address.folder) {
            prefix += (prefix == "/" ? "" : "/") + name;
        }

        // The template, read whole, and the line of each target.
        std::string bytes;
        if (IsStandardInput(o_.file)) {
            bytes.assign(std::istreambuf_iterator<char>(io_.in), {});
        } else {
            std::ifstream file(o_.file, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(file), {});
        }
        std::istringstream again(bytes);
        const int loaded =
            LoadWhole(o_.file, tmpl_, io_.err, &again, "; nothing was verified", kUsage);
        if (loaded != kSuccess) {
            return kUsage;
        }
        const std::vector<std::int64_t> lines = TargetLines(bytes);
        int index = 0;
        for (const TargetObject* t = tmpl_.Head; t != nullptr; t = t->Next, ++index) {
            if (IsUnder(t->Path, prefix)) {
                Verdict v;
                v.target = t;
                v.line = static_cast<std::size_t>(index) < lines.size() ? lines[index] : 0;
                verdicts_.push_back(std::move(v));
            }
        }
        if (verdicts_.empty()) {
            Complain(io_.err, o_.file + ": no target lies under " + prefix +
                                  "; nothing was verified (is --as right?)");
            return kUsage;
        }

        smb::ShareSession session;
        if (const int logged = LogOn(session, address, credentials, io_); logged != kSuccess) {
            return logged;
        }
        CheckAccounts(session);
        if (!o_.accountsOnly) {
            for (Verdict& v : verdicts_) {
                VerifyTarget(session, v);
            }
        }
        return Report(address.Text());
    }

private:
    void CheckAccounts(smb::ShareSession& session) {
        std::vector<std::string> names;
        std::map<std::string, std::vector<std::int64_t>> linesOf;
        for (const Verdict& v : verdicts_) {
            if (v.target->SecurityStyle != kStyleNtfs || !v.target->Descriptor) {
                continue;
            }
            for (const std::string& account : AccountsOf(*v.target->Descriptor)) {
                auto& used = linesOf[FoldCase(account)];
                if (used.empty()) {
                    names.push_back(account);
                }
                if (used.empty() || used.back() != v.line) {
                    used.push_back(v.line);
                }
            }
        }
        smb::ShareError error;
        if (!smb::ResolveAccounts(session, names, sidOf_, unknown_, error)) {
            lookupFailed_ = "the server's accounts could not be looked up: " + error.Reason();
        }
        for (const std::string& name : unknown_) {
            unknownLines_.push_back(linesOf[FoldCase(name)]);
        }
        namesChecked_ = static_cast<long long>(names.size());
        for (const std::string& name : names) {
            const std::string& sid = sidOf_[FoldCase(name)];
            if (!sid.empty() && !nameOfSid_.contains(sid)) {
                nameOfSid_[sid] = name;
            }
        }
    }

    std::string KeyOf(const std::string& account) {
        const auto found = sidOf_.find(FoldCase(account));
        if (found != sidOf_.end() && !found->second.empty()) {
            return found->second;
        }
        return "name:" + FoldCase(account);
    }

    std::string AccountWords(const std::string& key) const {
        if (key.starts_with("name:")) {
            return key.substr(5);
        }
        if (const auto found = nameOfSid_.find(key); found != nameOfSid_.end()) {
            return found->second;
        }
        if (const WellKnownAccount* known = FindBySid(key); known != nullptr) {
            return std::string(known->alias);
        }
        return key;
    }

    void VerifyTarget(smb::ShareSession& session, Verdict& v) {
        const TargetObject& t = *v.target;
        if (t.SecurityStyle != kStyleNtfs) {
            v.state = Verdict::State::NotVerified;
            v.reason = "a target of style " + StyleText(t.SecurityStyle) +
                       "; only NTFS targets are compared";
            return;
        }
        smb::FolderRead read;
        smb::ShareError error;
        const bool audit = !o_.share.noAudit;
        if (!session.ReadFolder(NamesUnder(t.Path, root_), audit, false, read, error)) {
            v.state = Verdict::State::NotVerified;
            v.reason = error.kind == smb::Failure::NotFound ? "no such folder on the share"
                       : error.kind == smb::Failure::Denied
                           ? "the account may not read the folder"
                           : "the folder could not be read: " + error.Reason();
            return;
        }
        const std::optional<smb::RawDescriptor> raw = smb::ParseDescriptor(read.descriptor);
        if (!raw) {
            v.state = Verdict::State::NotVerified;
            v.reason = "the server sent a descriptor that cannot be read";
            return;
        }
        const bool withAudit = audit && read.auditRead;
        v.auditUnread = audit && !read.auditRead;
        for (const auto* list : {&raw->dacl, withAudit ? &raw->sacl : nullptr}) {
            if (list != nullptr && *list) {
                for (const smb::RawEntry& e : (*list)->entries) {
                    v.inherited += (e.flags & smb::kInheritedFlag) != 0 ? 1 : 0;
                }
            }
        }
        const SecurityDescriptor none;
        v.comparison = smb::Compare(
            t.Descriptor ? *t.Descriptor : none,
            [this](const std::string& account) { return KeyOf(account); }, *raw, withAudit);
        v.state = v.comparison.Agrees() ? Verdict::State::Agrees : Verdict::State::Differs;
    }

    static const char* StateName(Verdict::State state) {
        switch (state) {
        case Verdict::State::Agrees:
            return "agrees";
        case Verdict::State::Differs:
            return "differs";
        case Verdict::State::NotVerified:
            break;
        }
        return "not verified";
    }

    std::string Lines(const std::vector<std::int64_t>& lines) const {
        std::string text = o_.file + (lines.size() == 1 ? " line " : " lines ");
        for (std::size_t i = 0; i < lines.size(); ++i) {
            text += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
        }
        return text;
    }

    int Report(const std::string& share) {
        long long agree = 0;
        long long differ = 0;
        long long notVerified = 0;
        long long inherited = 0;
        long long auditUnread = 0;
        for (const Verdict& v : verdicts_) {
            agree += v.state == Verdict::State::Agrees ? 1 : 0;
            differ += v.state == Verdict::State::Differs ? 1 : 0;
            notVerified += v.state == Verdict::State::NotVerified ? 1 : 0;
            inherited += v.inherited;
            auditUnread += v.auditUnread ? 1 : 0;
        }
        if (!lookupFailed_.empty()) {
            Complain(io_.err, lookupFailed_);
        }
        if (o_.json) {
            PrintJson(share, agree, differ, notVerified, inherited);
        } else {
            PrintText(share, agree, differ, notVerified, inherited);
        }
        const bool accountsBad = !unknown_.empty() || !lookupFailed_.empty();
        if (o_.accountsOnly) {
            return accountsBad ? kFound : kSuccess;
        }
        return accountsBad || differ > 0 || notVerified > 0 || auditUnread > 0 ? kFound : kSuccess;
    }

    void PrintText(const std::string& share, long long agree, long long differ,
                   long long notVerified, long long inherited) {
        std::ostream& out = io_.out;
        for (std::size_t i = 0; i < unknown_.size(); ++i) {
            out << unknown_[i] << ": no such account on the server (" << Lines(unknownLines_[i])
                << ")\n";
        }
        if (o_.accountsOnly) {
            out << Plural(namesChecked_, "account", "accounts") << " of "
                << Plural(static_cast<long long>(verdicts_.size()), "target", "targets")
                << " looked up on " << share << ": "
                << Plural(static_cast<long long>(unknown_.size()), "unknown account",
                          "unknown accounts")
                << '\n';
            return;
        }
        for (const Verdict& v : verdicts_) {
            const std::string& path = v.target->Path;
            if (v.auditUnread) {
                io_.err << path
                        << ": warning: the audit part cannot be read with this account; it is "
                           "not compared\n";
            }
            if (v.state == Verdict::State::NotVerified) {
                out << path << ": not verified: " << v.reason << '\n';
                continue;
            }
            if (v.state == Verdict::State::Agrees) {
                continue;
            }
            out << path << ": differs\n";
            if (v.comparison.shareHasNoPermissionList) {
                out << "  the share has no permission list (it lets everyone in)\n";
            }
            for (const smb::MarkDifference& m : v.comparison.marks) {
                out << "  " << m.list << ": "
                    << (m.templateProtects ? "protected in the template, not on the share"
                                           : "protected on the share, not in the template")
                    << '\n';
            }
            for (const smb::RightsDifference& d : v.comparison.rights) {
                out << "  " << (d.templateHas ? "template only: " : "share only: ") << d.kind << ' '
                    << AccountWords(d.account) << ": " << RightsWords(d.rights) << ", "
                    << smb::PlacesWords(d.places) << '\n';
            }
        }
        out << Plural(static_cast<long long>(verdicts_.size()), "target", "targets") << " under "
            << root_ << " against " << share << ": " << agree << " agree, " << differ << " differ, "
            << notVerified << " not verified; "
            << Plural(inherited, "inherited entry", "inherited entries")
            << " on the share not compared";
        if (!unknown_.empty()) {
            out << "; "
                << Plural(static_cast<long long>(unknown_.size()), "unknown account",
                          "unknown accounts");
        }
        out << '\n';
    }

    void PrintJson(const std::string& share, long long agree, long long differ,
                   long long notVerified, long long inherited) {
        nlohmann::ordered_json doc;
        doc["template"] = o_.file;
        doc["share"] = share;
        doc["as"] = root_;
        nlohmann::ordered_json accounts = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < unknown_.size(); ++i) {
            accounts.push_back({{"name", unknown_[i]},
                                {"problem", "no such account on the server"},
                                {"lines", unknownLines_[i]}});
        }
        doc["unknownAccounts"] = accounts;
        if (!o_.accountsOnly) {
            nlohmann::ordered_json targets = nlohmann::ordered_json::array();
            for (const Verdict& v : verdicts_) {
                nlohmann::ordered_json item;
                item["path"] = v.target->Path;
                item["line"] = v.line;
                item["state"] = StateName(v.state);
                if (v.state == Verdict::State::NotVerified) {
                    item["reason"] = v.reason;
                }
                item["auditCompared"] = !o_.share.noAudit && !v.auditUnread;
                item["inheritedEntries"] = v.inherited;
                if (v.state == Verdict::State::Differs) {
                    nlohmann::ordered_json differences = nlohmann::ordered_json::array();
                    for (const smb::RightsDifference& d : v.comparison.rights) {
                        const char* permission = PermissionName(d.rights);
                        differences.push_back(
                            {{"side", d.templateHas ? "template" : "share"},
                             {"account", AccountWords(d.account)},
                             {"sid", d.account.starts_with("name:")
                                         ? nlohmann::ordered_json()
                                         : nlohmann::ordered_json(d.account)},
                             {"kind", d.kind},
                             {"mask", Hex(d.rights)},
                             {"permission", permission != nullptr
                                                ? nlohmann::ordered_json(permission)
                                                : nlohmann::ordered_json()},
                             {"places", smb::PlacesWords(d.places)}});
                    }
                    item["differences"] = differences;
                    nlohmann::ordered_json marks = nlohmann::ordered_json::array();
                    for (const smb::MarkDifference& m : v.comparison.marks) {
                        marks.push_back({{"list", m.list},
                                         {"protectedInTemplate", m.templateProtects},
                                         {"protectedOnShare", !m.templateProtects}});
                    }
                    item["marks"] = marks;
                    item["shareHasNoPermissionList"] = v.comparison.shareHasNoPermissionList;
                }
                targets.push_back(item);
            }
            doc["targets"] = targets;
        }
        doc["summary"] = {{"targets", verdicts_.size()},
                          {"agree", agree},
                          {"differ", differ},
                          {"notVerified", notVerified},
                          {"inheritedEntries", inherited},
                          {"accountsLookedUp", namesChecked_},
                          {"unknownAccounts", unknown_.size()}};
        io_.out << doc.dump(2) << '\n';
    }

    const VerifyOptions& o_;
    const Io& io_;
    std::string root_;
    SecurityTemplate tmpl_;
    std::vector<Verdict> verdicts_;
    std::map<std::string, std::string> sidOf_;     // folded name -> SID ("" unknown)
    std::map<std::string, std::string> nameOfSid_; // SID -> the template's first name for it
    std::vector<std::string> unknown_;
    std::vector<std::vector<std::int64_t>> unknownLines_;
    std::string lookupFailed_;
    long long namesChecked_ = 0;
};

Runner Define(CLI::App& command, const Io& io) {
    auto o = std::make_shared<VerifyOptions>();
    command.add_option("TEMPLATE", o->file, "The template file; - for standard input")->required();
    command
        .add_option("ADDRESS", o->share.address,
                    "The share: //server/share (or a folder of it: //server/share/folder)")
        ->required();
    AddShareOptions(command, o->share);
    command.add_flag("--json", o->json, "Print the result as JSON");
    command.add_flag("--accounts-only", o->accountsOnly,
                     "Only look up the template's accounts on the server; read no folder");
    return [o, io] { return Verifier(*o, io).Run(); };
}

} // namespace

const Command kVerify = {
    "verify",
    "Compare the targets under --as with what an SMB share holds, and look up their accounts "
    "(talks to the server)",
    "  permora-cli verify home.conf //filer/home --as /vol/vol1/home -A ~/.filer.auth\n"
    "  permora-cli verify home.conf //filer/home --as /vol/vol1/home -A ~/.filer.auth "
    "--accounts-only\n",
    "  0  every target under --as agrees with the share, and every account exists\n"
    "  1  a target differs or was not verified, an account does not exist, or an audit\n"
    "     part could not be read (without --no-audit)\n"
    "  2  wrong usage, a template that cannot be read whole, an authentication file that\n"
    "     others may read, or no target under --as\n"
    "  3  the server, the share or the logon failed (with the server's reason)\n",
    false,
    Define,
};

} // namespace permora::cli
