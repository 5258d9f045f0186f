// Validating a DUV document: the validator reads a source once, from start to end, and delivers
// every finding to a sink, in the order of reading.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "tavon/check.h"
#include "tavon/finding.h"
#include "tavon/source.h"

namespace tavon {

struct Result {
    // False when the source failed to open a later document of a list (Source::failed_name):
    // the run stopped there, and the end-of-document findings were not made.
    bool completed = true;
    Totals totals;
};

class Validator {
  public:
    explicit Validator(Options options = {}) : options_(std::move(options)) {}
    Validator(const Validator&) = delete;
    Validator& operator=(const Validator&) = delete;

    // One whole run over the source. Runs are independent of each other.
    Result run(Source& source, FindingSink& findings, CopySink* copy = nullptr,
               ProgressSink* progress = nullptr);

  private:
    Options options_;
};

}  // namespace tavon
