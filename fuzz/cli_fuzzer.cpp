// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the commands of permora-cli that read files: as a template for
// check, show, diff, convert and replace-account, and as a list of paths for add. No command
// may crash; one that fails leaves the files it would have written as they were; what
// convert writes converts again to the same bytes.

#include "cli/cli.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "cli fuzzer: %s\n", what);
        std::abort();
    }
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// One folder for the whole run, made at the first input; in memory where the system has
// such a folder, since every save syncs its file to disk.
const std::string& Folder() {
    static const std::string folder = [] {
        std::string name = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/permora-cli-fuzz-XXXXXX"
                                                           : "/tmp/permora-cli-fuzz-XXXXXX";
        Check(::mkdtemp(name.data()) != nullptr, "no temporary folder");
        return name;
    }();
    return folder;
}

int Run(std::initializer_list<std::string> args, const std::string& input = {}) {
    std::vector<const char*> argv{"permora-cli"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = permora::cli::Run(static_cast<int>(argv.size()), argv.data(), in, out, err);
    Check(status >= 0 && status <= 3, "exit status out of range");
    return status;
}

const std::string kModel = "cb56f6f4\r\n1,0,\"/vol/a\",0,\"D:(A;CIOI;0x1200a9;;;Everyone)\"\r\n";
const std::string kSentinel = "left as it was";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string input = Folder() + "/input.conf";
    const std::string model = Folder() + "/model.conf";
    const std::string out = Folder() + "/out.conf";
    const std::string again = Folder() + "/again.conf";
    WriteBytes(input, bytes);
    WriteBytes(model, kModel);

    Run({"check", "--strict", input});
    Run({"show", input});
    Run({"show", "--json", input});
    Run({"diff", input, model});
    Run({"diff", "--json", model, input});

    // A convert that fails writes nothing; one that succeeds writes a file that converts to
    // the same bytes.
    WriteBytes(out, kSentinel);
    const int converted = Run({"convert", input, "-o", out});
    const std::string written = ReadBytes(out);
    if (converted != 0) {
        Check(written == kSentinel, "a failed convert touched its output");
    } else {
        Check(Run({"convert", out, "-o", again}) == 0, "a converted file does not convert");
        Check(ReadBytes(again) == written, "a converted file converts to other bytes");
    }
    Run({"convert", "--keep-going", "--8bit", input, model, "-o", out});

    // The bytes as a list of paths, from a file and from standard input.
    const int added = Run({"add", model, "--paths", input, "--output", out, "--like", "/vol/a"});
    if (added == 0) {
        Check(Run({"check", out}) == 0, "add wrote a template with errors");
    }
    WriteBytes(out, kSentinel);
    if (Run({"add", model, "--paths", "-", "--output", out}, bytes) != 0) {
        Check(ReadBytes(out) == kSentinel, "a failed add touched its output");
    }

    WriteBytes(out, kSentinel);
    const int replaced = Run({"replace-account", input, "everyone", "LAB\\x", "--output", out});
    if (replaced != 0) {
        Check(ReadBytes(out) == kSentinel, "a failed replace-account touched its output");
    }
    Check(ReadBytes(model) == kModel, "a command changed a file it only reads");
    return 0;
}
