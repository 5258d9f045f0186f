// The findings sink of the pipeline: completes every finding from the error table (its description,
// and the expected text that "?" asks for), counts it, and hands it to the caller's sink unless it
// is a warning left out.
#pragma once

#include "base/reporter.h"
#include "tavon/check.h"
#include "tavon/finding.h"

namespace tavon {

class Findings final : public FindingReceiver {
  public:
    Findings(FindingSink& sink, bool report_warnings) : sink_(sink), report_warnings_(report_warnings) {}

    void receive(std::string_view line, std::string_view code, std::string_view employer,
                 std::string_view employee, std::string_view field, std::string_view value,
                 std::string_view expected) override;

    Totals totals;

  private:
    FindingSink& sink_;
    bool report_warnings_;
};

}  // namespace tavon
