// The line the reader stands on: counted as line feeds are read, from 1, in 64 bits so that no
// line number of any input is ever cut.
#pragma once

#include <cstdint>

namespace tavon {

class LineCounter {
  public:
    void set(std::uint64_t n) { n_ = n; }
    void next() { ++n_; }
    std::uint64_t number() const { return n_; }

  private:
    std::uint64_t n_ = 1;
};

}  // namespace tavon
