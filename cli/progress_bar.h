// The progress of a run over many files, on a terminal: a bar, the files done of all, the files left
// and an estimate of the time left, rewritten in place at most ten times a second. It shows no file
// name, so that nothing a name holds reaches the terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace tavon::cli {

class ProgressBar {
  public:
    // `terminal`: where the bar goes; null shows nothing. `bytes`: the size of all files together,
    // by which the time left is estimated (by the count of files when it is 0).
    ProgressBar(std::FILE* terminal, std::size_t files, std::uint64_t bytes);

    // A file of `bytes` is done.
    void file_done(std::uint64_t bytes);
    // Redraws the bar when it is due (the clock moves on while big files are checked).
    void tick() { draw(false); }
    // Removes the bar from the screen.
    void clear();

    // The line for a moment of the run, `elapsed` after its start.
    std::string line(std::chrono::steady_clock::duration elapsed) const;

  private:
    void draw(bool now);

    std::FILE* terminal_;
    std::size_t files_, files_done_ = 0;
    std::uint64_t bytes_, bytes_done_ = 0;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now(), drawn_{};
    bool shown_ = false;
};

}  // namespace tavon::cli
