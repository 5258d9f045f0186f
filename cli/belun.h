// The belun command: arguments, files, console and exit codes, on top of the validator library.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "cli/console.h"

namespace tavon::cli {

// The whole run over the arguments after the program name, with the console written to `console`;
// the process exit code. `program_folder` is the folder of the executable, where a folder named
// "data" is the data set used when no -d is given (empty: none).
int run(std::span<const std::string_view> arguments, std::ostream& console, ConsoleKind kind = {},
        const std::string& program_folder = {});

}  // namespace tavon::cli
