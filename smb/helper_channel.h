#pragma once

// The helper process that speaks SMB for permora-cli (permora-smb-helper, installed beside
// the program) and the records exchanged with it over a socket: a count of fields, then
// each field as its length and bytes, every count little-endian 32-bit.

#include <string>
#include <sys/types.h>
#include <vector>

namespace permora::smb {

using Record = std::vector<std::string>;

// Where the helper is: beside the running program's installed tree
// (../libexec/permora/permora-smb-helper), or in its build tree (../smb/permora-smb-helper).
// Empty when it is in neither place.
std::string HelperPath();

class HelperChannel {
public:
    HelperChannel() = default;
    ~HelperChannel();
    HelperChannel(const HelperChannel&) = delete;
    HelperChannel& operator=(const HelperChannel&) = delete;

    // Starts the helper; false (with the reason in error) when it could not be started.
    [[nodiscard]] bool Start(const std::string& program, std::string& error);
    // Sends a request and waits for its answer; false when the helper has gone away (or
    // answered with something that is not a record).
    [[nodiscard]] bool Ask(const Record& request, Record& answer);

private:
    bool Send(const Record& record);
    bool Receive(Record& record);
    bool ReadExact(char* data, std::size_t size);
    void Stop();

    int socket_ = -1;
    pid_t child_ = -1;
};

} // namespace permora::smb
