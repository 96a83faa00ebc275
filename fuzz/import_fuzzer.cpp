// Feeds arbitrary file bytes through the import: the line decoder in blocks, then each line
// read into a fresh target as the import does. Whatever was read must write back into lines
// that read again.

#include "template_file/template_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace permora;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "import fuzzer: %s\n", what);
        std::abort();
    }
}

// Reads lines as the import does; returns the number of targets appended.
int ReadLines(const char* data, std::size_t size, std::size_t blockSize, SecurityTemplate& into,
              bool& failed) {
    int appended = 0;
    failed = false;
    LineDecoder decoder([&](const std::string& line, int) {
        Check(!line.empty(), "empty line delivered");
        auto target = std::make_unique<TargetObject>(std::string(), MakeDefaultDescriptor());
        int messages = 0;
        const int result =
            ReadTargetLine(line, *target, [&messages](const std::string&) { ++messages; });
        Check(result == 0 || result == 1, "result other than 0 or 1");
        if (result != 0) {
            Check(messages > 0, "a line failed without a message");
            failed = true;
            return false;
        }
        into.Append(std::move(target));
        ++appended;
        return true;
    });
    for (std::size_t at = 0; at < size; at += blockSize) {
        const std::size_t count = size - at < blockSize ? size - at : blockSize;
        if (!decoder.Feed(data + at, count)) {
            break;
        }
    }
    decoder.Finish();
    return appended;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    // The first byte chooses the block size, so that line ends fall on block boundaries.
    const std::size_t blockSize = size > 0 ? 1 + data[0] % 17 : 1;

    SecurityTemplate tmpl;
    bool failed = false;
    const int appended = ReadLines(bytes, size, blockSize, tmpl, failed);
    Check(appended == tmpl.Count, "appended count differs from the template");

    for (const Encoding encoding : {Encoding::Unicode, Encoding::EightBit}) {
        const std::string written =
            encoding == Encoding::Unicode ? EncodeUnicode(tmpl) : Encode8Bit(tmpl);
        SecurityTemplate again;
        const int reread = ReadLines(written.data(), written.size(), 4096, again, failed);
        Check(!failed, "a written line does not read back");
        Check(reread == tmpl.Count, "a written target was lost");
    }
    return 0;
}
