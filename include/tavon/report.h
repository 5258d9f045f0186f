// The error report in its four formats (HTML, plain text, CSV, XML) and the normalised copy of the
// document: both written in Windows-1250 with CR LF line ends to an output of the caller's.
#pragma once

#include <cstddef>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tavon/finding.h"
#include "tavon/validator.h"

namespace tavon {

// Where report bytes go.
class Output {
  public:
    virtual ~Output() = default;
    virtual void write(const char* data, std::size_t size) = 0;
};

// Bytes collected in memory.
class StringOutput : public Output {
  public:
    void write(const char* data, std::size_t size) override { bytes.append(data, size); }
    std::string bytes;
};

// A file written whole or not at all. The bytes go to a new file in the same folder, which
// commit() puts in place of the named one; until then, and when the run fails or is killed, a file
// of that name stays as it was and nothing of the new one is left behind. Write failures are
// remembered, not lost.
class FileOutput : public Output {
  public:
    FileOutput() = default;
    ~FileOutput() override;  // discards an uncommitted file
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    // False when the file cannot be written there (its folder is missing or closed to us, or the
    // name is a folder or no regular file); `why` then says why.
    bool open(const std::string& name, OpenError& why);
    bool is_open() const { return file_ != nullptr || finished_; }
    void write(const char* data, std::size_t size) override;
    // Writes out and closes the new file, ready to be put in place; false when a write or the
    // close failed (a full disk).
    bool finish();
    // Puts the written file in place of the named one (finishing it first). When `backup` is given
    // and the named file exists and is not empty, that file is kept under the name `backup` (an
    // older file of that name is replaced). False when a write, the close or the renaming failed;
    // nothing is replaced then.
    bool commit(const std::string& backup = {});
    // Throws the written bytes away; the named file stays as it was.
    void discard();
    // Why the last write, close or renaming failed.
    OpenError write_error() const { return write_error_; }

  private:
    void fail(OpenError why);

    std::FILE* file_ = nullptr;
    std::string name_;        // the file to replace
    std::string temporary_;   // the new file's own name, once it has one
    void* handle_ = nullptr;  // Windows: the new file's handle
    int descriptor_ = -1;     // Linux: the new file's descriptor, when it has no name yet
    bool failed_ = false;
    bool finished_ = false;
    OpenError write_error_ = OpenError::None;
    int mode_ = -1;  // the named file's permissions, kept for the new one (-1: it did not exist)
};

enum class ReportFormat { Html, Text, Csv, Xml };

// The format the command line chooses for a report file name: by the text after the last dot of
// the file's own name (after the last "/" or "\\"), compared in lower case: "txt", "csv", "xml";
// anything else, or no dot, is HTML.
ReportFormat report_format_for(std::string_view report_name);

// The 20-character date and time of a report header: "06/07/2006  14:03:59".
std::string report_date_time(const std::tm& local_time);

class TextWriter;

// The rows a report holds at most: far beyond any real delivery (twenty times the findings of a
// 250 MB document with a fault in every record), so that a broken export cannot fill a disk. After
// them one line says that the rest is left out; the totals count every finding.
inline constexpr long long kMaxReportRows = 20'000'000;

// Whether the first bytes of a file are the start of a report of this program, in any format:
// the whole header as written (for any date, file name and data set). Only such a file, or an
// empty one, may be replaced by a report.
bool is_report_start(std::string_view first_bytes);

// Writes the report: the header, one row per finding, then the footer with the totals (and, in
// HTML, the summary per code and the explanations of the codes and fields the report names).
class ReportWriter : public FindingSink {
  public:
    // `max_rows`: the rows written at most (kMaxReportRows; fewer only for tests).
    ReportWriter(ReportFormat format, Output& out, long long max_rows = kMaxReportRows);
    ~ReportWriter() override;

    // `data_set` names the code lists and registers checked against (describe_data_set); the
    // HTML report shows it, the other formats keep their layout.
    void header(std::string_view date_time, std::string_view document_name, std::string_view data_set = {});
    void finding(const Finding& f) override;
    void footer(const Totals& totals);
    // Findings not written because the report already held kMaxReportRows rows.
    long long rows_left_out() const { return rows_left_out_; }
    // Text written as it stands (line ends as CR LF), e.g. a message that ends a failed run.
    void raw(std::string_view text);
    // Hands every buffered byte to the output.
    void flush();

  private:
    // HTML: a code that links to its explanation; the field names of a Prvek text, each linked.
    void write_code_link(std::string_view code);
    void write_field_links(std::string_view text);
    // HTML: an entry of the catalogue, a code or field it names linked when this report explains it.
    void write_entry(std::string_view html);

    void write_rows_left_out();

    ReportFormat format_;
    std::unique_ptr<TextWriter> out_;
    long long max_rows_;
    long long rows_ = 0;
    long long rows_left_out_ = 0;
    std::vector<int> rows_per_code_;  // HTML: rows written per code of the error table, for the summary
    std::vector<bool> fields_named_;  // fields named in the rows, by catalogue entry (HTML explanations)
};

// The normalised copy: the pieces the validator hands over, with CR LF line ends, and the closing
// "</DUV>" when the run has ended.
class CopyWriter : public CopySink {
  public:
    explicit CopyWriter(Output& out);
    ~CopyWriter() override;
    void write(std::string_view text) override;
    void finish();
    void flush();

  private:
    std::unique_ptr<TextWriter> out_;
};

}  // namespace tavon
