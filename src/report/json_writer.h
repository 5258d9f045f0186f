// The JSON report: one object in UTF-8, written as the findings come, so that its memory does not
// grow with them. docs/report.schema.json describes it.
//
//   {"program":"TAVON_v0.9","report_version":1,"file":"duv.xml","data_set":"...",
//    "time":"2006-07-06T12:03:59Z","findings":[
//   {"line":12,"code":"ES301","severity":"E","employer":"20000006",...,"description":"..."},
//   ...
//   ],"findings_left_out":0,"totals":{"errors":1,"warnings":0,"warnings_not_reported":0},
//    "read_to_end":true}
//
// A finding per line; its empty texts are left out, as is the line when it has none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "report/text_writer.h"
#include "tavon/check.h"
#include "tavon/finding.h"

namespace tavon {

class JsonReportWriter {
  public:
    explicit JsonReportWriter(TextWriter& out);

    // Everything before the findings. `time`: ISO 8601 in UTC; `document_name` UTF-8 or
    // Windows-1250 (as a report header takes it); `data_set` Windows-1250.
    void header(std::string_view time, std::string_view document_name, std::string_view data_set);
    void finding(const Finding& f);
    // The findings' end, how many were left out (with the note saying so when any were), the totals.
    void footer(const Totals& totals, long long rows_left_out, std::string_view note);

  private:
    // A JSON string of UTF-8 text: quotes, backslashes and control characters escaped.
    void utf8_string(std::string_view utf8);
    // A JSON string of a Windows-1250 text, converted to UTF-8.
    void string(std::string_view windows1250);
    // The name of the next member of the object being written.
    void key(std::string_view name);
    void number(std::uint64_t n);
    // A member holding a text; none when the text is empty.
    void text(std::string_view name, const Text& text);

    TextWriter& out_;
    std::string utf8_;  // the text being converted, its room reused
    long long findings_ = 0;
    bool first_member_ = true;
};

}  // namespace tavon
