// Checking a DUV document fed in pieces, as its bytes arrive: from a file, a network upload or a
// browser's file reader alike; and a file, a list of files or bytes in memory in one call.
//
//   tavon::Check check(findings);           // a tavon::FindingSink, e.g. a tavon::ReportWriter
//   while (std::size_t n = read(buffer))    // pieces of any size
//       check.feed({buffer, n});
//   tavon::Totals totals = check.finish();
//
// Findings reach the sink during feed() and finish(), in the order of reading, exactly as if the
// whole document had been read at once, however it is split.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "tavon/export.h"
#include "tavon/finding.h"
#include "tavon/result.h"

namespace tavon {

class DataSet;  // code lists, registers and tariffs: see tavon/data.h

// The normalised copy of the document, in pieces of text with "\n" line ends. Optional.
class TAVON_API CopySink {
  public:
    virtual ~CopySink() = default;
    virtual void write(std::string_view text) = 0;
};

// Told at the end of every employee record, for a progress display. Optional.
class TAVON_API ProgressSink {
  public:
    virtual ~ProgressSink() = default;
    virtual void employee_done(std::uint64_t line, std::string_view employee, std::string_view employer) = 0;
};

struct Options {
    // False: warnings (codes beginning with W) are counted in the totals but not delivered.
    bool report_warnings = true;
    // The code lists, registers and tariffs to check against; null means the built-in set.
    std::shared_ptr<const DataSet> data;
    // Where the normalised copy goes, and who is told of each employee record; both optional.
    CopySink* copy = nullptr;
    ProgressSink* progress = nullptr;
};

struct Totals {
    long long errors = 0;                 // findings whose code begins with E
    long long warnings = 0;               // findings whose code begins with W, delivered or not
    long long warnings_not_reported = 0;  // of those, left out because report_warnings was false
    // The input was read to its end: set by finish(). The totals of a check that stopped before
    // (its input broke off, or its caller gave up) count what was read until then.
    bool read_to_end = false;
};

class TAVON_API Check {
  public:
    explicit Check(FindingSink& findings, Options options = {});
    ~Check();
    Check(const Check&) = delete;
    Check& operator=(const Check&) = delete;

    // The next piece of the document, of any size (empty too). The bytes need to stay valid only
    // during the call.
    void feed(std::span<const char> bytes);
    void feed(const char* bytes, std::size_t size) { feed(std::span<const char>(bytes, size)); }
    // The document fed so far is complete, and another follows as its continuation, read as one
    // text with it (the files of a list): each is judged on its own bytes for its encoding and for
    // what follows its root's end.
    void next_document();
    // The end of the input: the findings that only the end can show. Returns the totals. Nothing
    // may be fed after it.
    Totals finish();
    // The totals so far (complete after finish()).
    Totals totals() const;

  private:
    struct Pipeline;
    std::unique_ptr<Pipeline> pipeline_;
};

// The whole of one document file. Fails when the file cannot be opened or read (nothing is
// checked then).
TAVON_API Result<Totals> check_file(const std::string& name, FindingSink& findings,
                                    const Options& options = {});

// The files of a list, read one after another as one text (a document delivered in several
// files). Fails when one cannot be opened or read: the findings up to that file have been
// delivered, those that only the end can show have not.
TAVON_API Result<Totals> check_files(std::span<const std::string> names, FindingSink& findings,
                                     const Options& options = {});

// A document in memory.
TAVON_API Totals check_bytes(std::span<const char> document, FindingSink& findings,
                             const Options& options = {});

}  // namespace tavon
