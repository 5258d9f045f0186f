// The belun command: arguments, files, console and exit codes, on top of the validator library.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "cli/console.h"

namespace tavon::cli {

// The whole run over the arguments after the program name, with the console written to `console`;
// the process exit code.
int run(std::span<const std::string_view> arguments, std::ostream& console, ConsoleKind kind = {});

}  // namespace tavon::cli
