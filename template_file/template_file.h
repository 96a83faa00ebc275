#pragma once

#include "model/target.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace permora {

// Receives each reader message, in order ("   Invalid File", "Wrong ace type.", ...).
using MessageSink = std::function<void(const std::string& message)>;

// Reader: 0 for success, 1 for failure; messages go to the sink before returning.
int ReadTargetLine(const std::string& line, TargetObject& target, const MessageSink& sink);
int ReadDescriptor(const std::string& text, SecurityDescriptor& descriptor,
                   const MessageSink& sink);
int ReadAce(const std::string& body, Acl& acl, const MessageSink& sink);

// The bytes of a whole template file.
std::string EncodeUnicode(const SecurityTemplate& tmpl); // FF FE, UTF-16LE, CR LF units
std::string Encode8Bit(const SecurityTemplate& tmpl);    // 8-bit text, CR LF

// Turns file bytes into the lines the import processes, as text-mode reading sees them:
// a UTF-16LE byte-order mark skipped, zero bytes and bytes 0x80 and above dropped, CR, LF
// and CR LF ending a line, a byte 0x1A ending the data, empty lines and header lines
// skipped. Bytes may come in blocks of any size.
class LineDecoder {
public:
    using LineFn = std::function<bool(const std::string& line)>; // false stops the decoding
    explicit LineDecoder(LineFn onLine);
    // Returns false once a line callback asked to stop or the data has ended (0x1A).
    bool Feed(const char* data, std::size_t size);
    // Delivers a last line that has no line end. Returns false when a line callback asked
    // to stop (now or earlier).
    bool Finish();

private:
    bool Deliver();

    LineFn onLine_;
    std::string line_;
    bool ended_ = false;
    bool stopped_ = false; // a line callback asked to stop
    bool lastWasCr_ = false;
};

std::vector<std::string> DecodeLines(std::string_view bytes);

enum class Encoding { Unicode, EightBit };
enum class SaveStatus { Saved, OpenFailed, WriteFailed };

// Writes the template to a new file in the target's folder and then replaces the target
// with it; on failure the previous file is left as it was and the partial file removed.
SaveStatus SaveTemplate(const std::string& path, const SecurityTemplate& tmpl, Encoding encoding);

struct ImportOutcome {
    bool opened = false;     // false: the file could not be opened; nothing was read
    bool complete = false;   // every line was read; false when a line or the read failed
    int appended = 0;        // targets appended to the template
    bool readFailed = false; // reading stopped on an error of the file system
};

// Reads the file and appends one target per line to the template, stopping at the first
// line that fails (its messages go to the sink; the targets of earlier lines stay).
ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into,
                             const MessageSink& sink);

} // namespace permora
