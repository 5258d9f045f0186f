#include "cli/progress_bar.h"

namespace tavon::cli {
namespace {

constexpr int kBarWidth = 20;
constexpr auto kEvery = std::chrono::milliseconds(100);

// "1:05" or "2:03:45".
std::string duration_text(long long seconds) {
    char b[32];
    if (seconds >= 3600)
        std::snprintf(b, sizeof b, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        std::snprintf(b, sizeof b, "%lld:%02lld", seconds / 60, seconds % 60);
    return b;
}

}  // namespace

ProgressBar::ProgressBar(std::FILE* terminal, std::size_t files, std::uint64_t bytes)
    : terminal_(terminal), files_(files), bytes_(bytes) {}

void ProgressBar::file_done(std::uint64_t bytes) {
    ++files_done_;
    bytes_done_ += bytes;
    draw(files_done_ == files_);
}

std::string ProgressBar::line(std::chrono::steady_clock::duration elapsed) const {
    // The share done: by bytes, which tell the work better than a count of files of any size.
    const double done = bytes_ > 0   ? static_cast<double>(bytes_done_) / static_cast<double>(bytes_)
                        : files_ > 0 ? static_cast<double>(files_done_) / static_cast<double>(files_)
                                     : 1.0;
    std::string bar(kBarWidth, '-');
    bar.replace(0, static_cast<std::size_t>(done * kBarWidth), static_cast<std::size_t>(done * kBarWidth),
                '#');
    char b[160];
    std::snprintf(b, sizeof b, "[%s] %zu/%zu souboru, zbyva %zu", bar.c_str(), files_done_, files_,
                  files_ - files_done_);
    std::string text = b;
    const double seconds = std::chrono::duration<double>(elapsed).count();
    if (done > 0 && done < 1 && seconds >= 1)
        text += ", asi " + duration_text(static_cast<long long>(seconds * (1 - done) / done + 0.5));
    return text;
}

void ProgressBar::draw(bool now) {
    if (!terminal_) return;
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - drawn_ < kEvery) return;
    drawn_ = time;
    // At the start of the line, and the rest of an earlier, longer line wiped out.
    std::fprintf(terminal_, "\r%s\x1b[K", line(time - start_).c_str());
    std::fflush(terminal_);
    shown_ = true;
}

void ProgressBar::clear() {
    if (!terminal_ || !shown_) return;
    std::fputs("\r\x1b[K", terminal_);
    std::fflush(terminal_);
    shown_ = false;
}

}  // namespace tavon::cli
