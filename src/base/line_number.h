// Line numbers: the reader's current line, whose decimal text is written only when a finding asks
// for it (most lines have none), and a stored line number as report text.
#pragma once

#include <cstdint>
#include <string_view>

namespace tavon {

class LineCounter {
  public:
    void set(std::uint64_t n) { n_ = n; }
    void next() { ++n_; }
    std::uint64_t number() const { return n_; }
    // The text stays valid until the next call of text() after the line has moved on.
    std::string_view text() const {
        if (text_of_ != n_) {
            from_ = sizeof text_;
            std::uint64_t n = n_;
            do {
                text_[--from_] = static_cast<char>('0' + n % 10);
                n /= 10;
            } while (n > 0);
            text_of_ = n_;
        }
        return {text_ + from_, sizeof text_ - from_};
    }

  private:
    std::uint64_t n_ = 1;
    mutable std::uint64_t text_of_ = 0;  // the number text_ holds; 0: none yet
    mutable char text_[24];
    mutable std::size_t from_ = sizeof text_;
};

// A stored line number as report text; 0 (a field never met) shows as one space.
class LineText {
  public:
    explicit LineText(std::uint64_t n) {
        from_ = sizeof text_;
        if (n == 0) {
            text_[--from_] = ' ';
            return;
        }
        while (n > 0) {
            text_[--from_] = static_cast<char>('0' + n % 10);
            n /= 10;
        }
    }
    operator std::string_view() const { return {text_ + from_, sizeof text_ - from_}; }

  private:
    char text_[24];
    std::size_t from_;
};

}  // namespace tavon
