// Line numbers: the reader's current line with its decimal text kept up to date without
// formatting per line, and a stored line number as report text.
#pragma once

#include <cstdint>
#include <string_view>

namespace tavon {

class LineCounter {
  public:
    LineCounter() { set(1); }
    void set(std::uint64_t n);
    void next() {
        ++n_;
        char* p = text_ + sizeof text_ - 1;
        while (*p == '9') *p-- = '0';
        if (p < text_ + from_) {
            from_ = static_cast<int>(p - text_);
            *p = '1';
        } else {
            ++*p;
        }
    }
    std::uint64_t number() const { return n_; }
    std::string_view text() const { return {text_ + from_, sizeof text_ - from_}; }

  private:
    std::uint64_t n_ = 1;
    char text_[24];
    int from_ = 23;
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

inline void LineCounter::set(std::uint64_t n) {
    n_ = n;
    for (char& c : text_) c = '0';
    from_ = sizeof text_;
    do {
        text_[--from_] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n > 0);
}

}  // namespace tavon
