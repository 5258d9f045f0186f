// The findings sink of the pipeline: counts every finding, and hands it to the caller's sink
// unless it is a warning left out.
#pragma once

#include "base/reporter.h"
#include "tavon/check.h"
#include "tavon/finding.h"

namespace tavon {

class Findings final : public FindingReceiver {
  public:
    Findings(FindingSink& sink, bool report_warnings) : sink_(sink), report_warnings_(report_warnings) {}

    void receive(const Finding& f) override {
        if (f.severity() == Severity::Error) {
            ++totals.errors;
        } else {
            ++totals.warnings;
            if (!report_warnings_) {
                ++totals.warnings_not_reported;
                return;
            }
        }
        sink_.finding(f);
    }

    Totals totals;

  private:
    FindingSink& sink_;
    bool report_warnings_;
};

}  // namespace tavon
