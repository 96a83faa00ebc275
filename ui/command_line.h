#pragma once

#include <ostream>
#include <string>
#include <vector>

// What the editor's command line asks for: `permora [--vnc-tcp] [FILE...]`, `--help`,
// `--version`.
struct CommandLine {
    // Help, the version or a mistake was printed: end with exitCode, open no window.
    bool exit = false;
    int exitCode = 0;
    // Imported at start, in order, each as if chosen with Import.
    std::vector<std::string> files;
    // Without a display: VNC on a port of 127.0.0.1 as well as on this account's socket.
    bool vncTcp = false;
};

// Parses the arguments (argv[0] is the program). Help and the version go to out, a
// mistake in the arguments to err. Needs no application object and no display.
CommandLine ParseCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err);
