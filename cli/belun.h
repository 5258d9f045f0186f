// The belun command: arguments, files, console and exit codes, on top of the validator library.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "cli/console.h"
#include "tavon/finding.h"

namespace tavon::cli {

// How the arguments are read. The command takes them as a person types them; belun-batch, whose
// names come from a folder listing, takes each as a file name.
struct RunOptions {
    // Every argument is a file name of any length: no switch, no @list, no 60-character limit.
    bool names_only = false;
    // Also receives every finding that the report receives (belun-batch counts the codes); optional.
    FindingSink* findings = nullptr;
};

// The whole run over the arguments after the program name, with the console written to `console`;
// the process exit code. `program_folder` is the folder of the executable, where a folder named
// "data" is the data set used when no -d is given (empty: none).
int run(std::span<const std::string_view> arguments, std::ostream& console, ConsoleKind kind = {},
        const std::string& program_folder = {}, RunOptions options = {});

}  // namespace tavon::cli
