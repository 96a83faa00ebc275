#include "ui/command_line.h"

#include <permora_version.h>

#include <CLI/CLI.hpp>

CommandLine ParseCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& err) {
    CommandLine result;
    CLI::App app("Permora: an editor for the file-security templates of a network storage "
                 "system.",
                 "permora");
    app.set_version_flag("--version", std::string("permora ") + PERMORA_VERSION,
                         "Print the version and exit");
    app.add_option("FILE", result.files,
                   "Template files to import at start, in order; with one file, saves write "
                   "back to it")
        ->type_name("");
    app.add_flag("--vnc-tcp", result.vncTcp,
                 "Without a display: serve VNC on a port of 127.0.0.1 too, which every account "
                 "of this machine can reach");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        result.exit = true;
        // A mistake in the arguments ends with 2, as permora-cli's do; help and the version
        // with 0.
        result.exitCode = app.exit(error, out, err) == 0 ? 0 : 2;
        result.files.clear();
    }
    return result;
}
