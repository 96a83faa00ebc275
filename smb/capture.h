#pragma once

// Capture: a share's folders, from a starting folder down to a depth, as the targets of a
// template.

#include "model/target.h"
#include "smb/share.h"

#include <functional>
#include <string>

namespace permora::smb {

struct CaptureOptions {
    std::string as;            // the storage path that the share's root is
    int depth = 1;             // levels of subfolders below the starting folder
    bool explicitOnly = false; // only folders with explicit entries or a protected list
    bool audit = true;         // read and write audit parts
    bool names = false;        // write accounts by their names on the server
};

struct CaptureNotes {
    // A place where the template says less than the share holds: the target's path and
    // what is not written.
    std::function<void(const std::string& path, const std::string& warning)> warning;
    // A folder that could not be made a target, in words.
    std::function<void(const std::string& text)> problem;
};

struct CaptureOutcome {
    bool reached = false;      // the starting folder was read
    ShareError rootError;      // why it was not
    long long folders = 0;     // folders read
    long long targets = 0;     // targets made
    long long unreadable = 0;  // folders that could not be read (their subfolders unread too)
    long long invalid = 0;     // folders whose path a template does not admit, not walked
    long long auditUnread = 0; // targets whose audit part could not be read
    long long inherited = 0;   // inherited entries left out
    long long unsupported = 0; // entries of types a template cannot hold, left out
    long long unnamed = 0;     // accounts kept as SIDs with --names: no name, or no valid one
};

// Folder names in the order a capture walks them: letters compared without regard to ASCII
// case, then byte by byte.
bool FolderNameBefore(const std::string& a, const std::string& b);

// Walks the share from the address's folder and appends a target for each folder to into:
// depth first, each folder before its subfolders, the subfolders in name order.
CaptureOutcome CaptureShare(ShareSession& session, const ShareAddress& address,
                            const CaptureOptions& options, SecurityTemplate& into,
                            const CaptureNotes& notes);

} // namespace permora::smb
