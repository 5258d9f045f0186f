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

// A file created (or emptied) for writing. Write failures are remembered, not lost.
class FileOutput : public Output {
  public:
    FileOutput() = default;
    ~FileOutput() override;
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    // False when the file cannot be created; `why` then says why.
    bool open(const std::string& name, OpenError& why);
    bool is_open() const { return file_ != nullptr; }
    void write(const char* data, std::size_t size) override;
    // Flushes and closes; false when any write or the close failed.
    bool close();
    // Why the last write or close failed.
    OpenError write_error() const { return write_error_; }

  private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    OpenError write_error_ = OpenError::None;
};

enum class ReportFormat { Html, Text, Csv, Xml };

// The format the command line chooses for a report file name: by the text after the last dot of
// the file's own name (after the last "/" or "\\"), compared in lower case: "txt", "csv", "xml";
// anything else, or no dot, is HTML.
ReportFormat report_format_for(std::string_view report_name);

// The 20-character date and time of a report header: "06/07/2006  14:03:59".
std::string report_date_time(const std::tm& local_time);

class TextWriter;

// Writes the report: the header, one row per finding, then the footer with the totals (and, in
// HTML, the summary per code and the explanations of the codes and fields the report names).
class ReportWriter : public FindingSink {
  public:
    ReportWriter(ReportFormat format, Output& out);
    ~ReportWriter() override;

    // `data_set` names the code lists and registers checked against (describe_data_set); the
    // HTML report shows it, the other formats keep their layout.
    void header(std::string_view date_time, std::string_view document_name, std::string_view data_set = {});
    void finding(const Finding& f) override;
    void footer(const Totals& totals);
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

    ReportFormat format_;
    std::unique_ptr<TextWriter> out_;
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
