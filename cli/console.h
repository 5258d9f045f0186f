// The console of the command: program texts (Windows-1250) in the console's character set, file
// names as the user gave them, texts from files with their control characters made harmless, and
// the progress line only where a person watches it.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

namespace tavon::cli {

struct ConsoleKind {
    bool terminal = false;  // standard output is a terminal (or a Windows console), not a log or a pipe
    bool utf8 = false;      // the console's character set is UTF-8 (else Windows-1250)
};

class Console {
  public:
    Console(std::ostream& out, ConsoleKind kind) : out_(out), kind_(kind) {}

    // A text of the program (Windows-1250).
    Console& operator<<(std::string_view text);
    Console& operator<<(char c) { return *this << std::string_view(&c, 1); }
    // A file name as the command line or a list gave it (UTF-8 or Windows-1250 bytes).
    Console& name(std::string_view raw);
    // A text read from a file (Windows-1250): a value, a data set's name, a data file's problem.
    Console& data(std::string_view text);

    // The progress line at the end of an employee record, rewritten in place at most about ten
    // times a second; only on a terminal.
    void progress(std::uint64_t line, std::string_view employee, std::string_view employer);
    // Clears the progress line (on a terminal), so that no rest of it stays on the screen.
    void clear_progress();
    void flush() { out_.flush(); }

  private:
    std::ostream& out_;
    ConsoleKind kind_;
    bool progress_shown_ = false;
    std::int64_t last_progress_ms_ = 0;
};

}  // namespace tavon::cli
