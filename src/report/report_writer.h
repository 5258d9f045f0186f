// The writer of a report's bytes: the header, the rows and the footer of each format, behind
// tavon::Report.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "report/text_writer.h"
#include "tavon/report.h"

namespace tavon {

class JsonReportWriter;

// The writer of a report's bytes in its format, with what the HTML summary and explanations need
// to know of the rows written.
class TAVON_INTERNAL Report::Writer {
  public:
    Writer(ReportFormat format, Output& out, long long max_rows);
    ~Writer();
    void header(std::string_view date_time, std::string_view document_name, std::string_view data_set);
    void finding(const Finding& f);
    void footer(const Totals& totals);
    void flush() { out_.flush(); }
    Result<void> status() const { return output_.status(); }
    long long rows_left_out() const { return rows_left_out_; }

  private:
    // The eight columns of a finding's row as the layouts write them.
    struct Row {
        std::string_view line, code, employer, employee, field, value, expected, description;
    };
    Row row_of(const Finding& f);
    void write_csv_row(const Row& row);
    void write_text_row(const Row& row);
    void write_xml_row(const Row& row);
    void write_html_row(const Row& row, bool error);
    static std::span<const Code> codes_in_order();
    void write_html_summary();
    void write_html_totals(const Totals& totals);
    void write_html_explanations();
    // HTML: a code that links to its explanation; the field names of a Prvek text, each linked.
    void write_code_link(std::string_view code);
    void write_field_links(std::string_view text);
    // HTML: an entry of the catalogue, a code or field it names linked when this report explains it.
    void write_entry(std::string_view html);
    void write_rows_left_out();

    ReportFormat format_;
    Output& output_;
    TextWriter out_;
    long long max_rows_;
    long long rows_ = 0;
    long long rows_left_out_ = 0;
    std::vector<int> rows_per_code_;  // HTML: rows written per code of the error table, for the summary
    std::vector<bool> fields_named_;  // fields named in the rows, by catalogue entry (HTML explanations)
    std::string scratch_[6];          // the texts of the row being written
    std::unique_ptr<JsonReportWriter> json_;  // JSON: the object being written
};

}  // namespace tavon
