// The error report in its formats (HTML, plain text, CSV, XML, JSON) and the normalised copy of the
// document, written with CR LF line ends to an output of the caller's: in Windows-1250, the JSON
// report in UTF-8.
//
//   tavon::FileOutput file;                         // or a StringOutput, or an Output of your own
//   if (auto opened = file.open("chyby.htm"); !opened) ...
//   tavon::Report report(tavon::ReportFormat::Html, file, {"duv.xml"});
//   tavon::Check check(report);                     // the report takes the findings
//   ... check.feed(...) ...
//   auto written = report.finish(check.finish());   // the summary and totals
//   if (written) written = file.commit();           // the file in place
#pragma once

#include <cstddef>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "tavon/check.h"
#include "tavon/export.h"
#include "tavon/finding.h"
#include "tavon/result.h"

namespace tavon {

// Where report bytes go.
class TAVON_API Output {
  public:
    virtual ~Output() = default;
    virtual void write(const char* data, std::size_t size) = 0;
    // Why writing failed, once it has; ok until then.
    virtual Result<void> status() const { return {}; }
};

// Bytes collected in memory.
class TAVON_API StringOutput : public Output {
  public:
    void write(const char* data, std::size_t size) override { bytes.append(data, size); }
    std::string bytes;
};

// A file written whole or not at all. The bytes go to a new file in the same folder, which
// commit() puts in place of the named one; until then, and when the run fails or is killed, a file
// of that name stays as it was and nothing of the new one is left behind. Write failures are
// remembered, not lost.
class TAVON_API FileOutput : public Output {
  public:
    FileOutput() = default;
    ~FileOutput() override;  // discards an uncommitted file
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    // Fails when the file cannot be written there (its folder is missing or closed to us, or the
    // name is a folder or no regular file).
    Result<void> open(const std::string& name);
    bool is_open() const { return file_ != nullptr || finished_; }
    void write(const char* data, std::size_t size) override;
    Result<void> status() const override;
    // Writes out and closes the new file, ready to be put in place; fails when a write or the
    // close failed (a full disk).
    Result<void> finish();
    // Puts the written file in place of the named one (finishing it first). When `backup` is given
    // and the named file exists and is not empty, that file is kept under the name `backup` (an
    // older file of that name is replaced). Nothing is replaced when it fails.
    Result<void> commit(const std::string& backup = {});
    // Throws the written bytes away; the named file stays as it was.
    void discard();

  private:
    void start(const std::string& name);  // a previous file and its failures forgotten
    void name_unnamed();                  // Linux: the finished file's name beside the named one
    void fail(Error::Kind why);

    std::FILE* file_ = nullptr;
    std::string name_;                         // the file to replace
    std::string temporary_;                    // the new file's own name, once it has one
    [[maybe_unused]] void* handle_ = nullptr;  // Windows: the new file's handle
    int descriptor_ = -1;  // Linux: the new file's descriptor while it has no name (after finish() a copy)
    bool failed_ = false;
    bool finished_ = false;
    Error::Kind write_error_ = Error::Kind::Other;
    int mode_ = -1;  // the named file's permissions, kept for the new one (-1: it did not exist)
};

// Json: one object in UTF-8 with the findings as data (docs/report.schema.json describes it).
enum class ReportFormat { Html, Text, Csv, Xml, Json };

// What a report's header shows.
struct ReportHeader {
    ReportHeader(std::string document_name = {}, std::string data_set = {},
                 std::time_t time = std::time(nullptr))
        : document_name(std::move(document_name)), data_set(std::move(data_set)), time(time) {}

    std::string document_name;  // the document checked, as named (UTF-8 or Windows-1250)
    std::string data_set;       // describe_data_set(): the HTML and JSON reports show it
    std::time_t time;           // the date and time of the check: local time, in JSON UTC
};

// The rows a report holds at most: far beyond any real delivery (twenty times the findings of a
// 250 MB document with a fault in every record), so that a broken export cannot fill a disk. After
// them one line says that the rest is left out; the totals count every finding.
inline constexpr long long kMaxReportRows = 20'000'000;

// A report: its header is written when it is made, a row per finding it receives, and the summary
// and totals when it is finished.
class TAVON_API Report : public FindingSink {
  public:
    // `max_rows`: the rows written at most (kMaxReportRows; fewer only for tests).
    Report(ReportFormat format, Output& out, const ReportHeader& header, long long max_rows = kMaxReportRows);
    ~Report() override;
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    void finding(const Finding& f) override;
    // The summary (HTML), the totals and the end, all bytes handed to the output; fails when the
    // output did. Nothing is written after it. The JSON report says whether the input was read to
    // its end (Totals::read_to_end: check.finish(), not check.totals() of a check given up).
    Result<void> finish(const Totals& totals);
    // Findings not written because the report already held its most rows.
    long long rows_left_out() const;

    class Writer;  // the library's own

  private:
    std::unique_ptr<Writer> writer_;
};

// The normalised copy: the pieces the check hands over, with CR LF line ends, and the closing
// "</DUV>" when it is finished.
class TAVON_API Copy : public CopySink {
  public:
    explicit Copy(Output& out);
    ~Copy() override;
    void write(std::string_view text) override;
    // The end of the copy, all bytes handed to the output; fails when the output did.
    Result<void> finish();

  private:
    class Writer;
    std::unique_ptr<Writer> writer_;
};

// Whether the first bytes of a file are the start of a report of this program, in any format:
// the whole header as written (for any date, file name and data set). Only such a file, or an
// empty one, may be replaced by a report.
TAVON_API bool is_report_start(std::string_view first_bytes);

// Whether an existing file holds something other than a report of this program (its whole
// header), so that writing a report over it would lose it. False for a file that does not exist,
// is empty, is no regular file (opening it for the report then fails), or cannot be read.
TAVON_API bool holds_foreign_content(const std::string& path);

// A Windows-1250 text as a cell of the CSV report writes it (for tables of one's own beside the
// reports): quoted when it holds ; " CR or LF, with an apostrophe before a text a spreadsheet would
// take for a formula, the bytes Windows-1250 leaves undefined as "?".
TAVON_API std::string csv_cell(std::string_view text);

}  // namespace tavon
