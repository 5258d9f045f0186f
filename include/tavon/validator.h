// Validating a DUV document: the validator reads a source once, from start to end, and delivers
// every finding to a sink, in the order of reading.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "tavon/finding.h"
#include "tavon/source.h"

namespace tavon {

class DataSet;  // code lists, registers and tariffs: see tavon/data.h

struct Options {
    // False: warnings (codes beginning with W) are counted in the totals but not delivered.
    bool report_warnings = true;
    // The code lists, registers and tariffs to check against; null means the built-in set.
    std::shared_ptr<const DataSet> data;
};

struct Totals {
    long long errors = 0;                 // findings whose code begins with E
    long long warnings = 0;               // findings whose code begins with W, delivered or not
    long long warnings_not_reported = 0;  // of those, left out because report_warnings was false
};

struct Result {
    // False when the source failed to open a later document of a list (Source::failed_name):
    // the run stopped there, and the end-of-document findings were not made.
    bool completed = true;
    Totals totals;
};

// The normalised copy of the document, in pieces of text with "\n" line ends. Optional.
class CopySink {
  public:
    virtual ~CopySink() = default;
    virtual void write(std::string_view text) = 0;
};

// Told at the end of every employee record, for a progress display. Optional.
class ProgressSink {
  public:
    virtual ~ProgressSink() = default;
    virtual void employee_done(std::uint64_t line, std::string_view employee, std::string_view employer) = 0;
};

class Validator {
  public:
    explicit Validator(Options options = {});
    ~Validator();
    Validator(const Validator&) = delete;
    Validator& operator=(const Validator&) = delete;

    // One whole run over the source. Runs are independent of each other.
    Result run(Source& source, FindingSink& findings, CopySink* copy = nullptr,
               ProgressSink* progress = nullptr);

  private:
    Options options_;
};

}  // namespace tavon
