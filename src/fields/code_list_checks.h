// Lookups of field values in the code lists and registers, with their findings.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/reporter.h"
#include "data/data_set.h"

namespace tavon {

// An identification number as the registers compare it: the text's decimal value, cut toward zero
// and wrapped into 32 bits.
std::uint32_t register_number(std::string_view text);

class CodeListChecks {
  public:
    CodeListChecks(const DataSet& data, Reporter& reporter, const Context& context)
        : data_(data), reporter_(reporter), context_(context) {}

    // The submitter's IČO in the register of submitters (ER212), unless its own check failed.
    void submitter(std::uint32_t ico, bool ico_failed);
    // The employer's IČO in the register of providers (WR204), and the submitter registered for it
    // against the file's submitter (WR202); skipped when the survey year (rok) failed.
    void provider(std::uint32_t provider, std::uint32_t submitter, bool year_failed, Where ico);

    void legal_form(std::string_view code);                    // AA0019, EL055
    void nuts(std::string_view code, std::string_view field);  // AA0179, AA0690, EL056
    void education(std::string_view code);                     // AA0223, EL048
    void state(std::string_view code);                         // AA0033, WL033 / EL047
    void occupation(std::string_view code);                    // AA0013, EL046 / WL039
    void employment_kind(std::string_view code);               // AA0130, EL004
    void employment_status(std::string_view code);             // AA0091, EL068

  private:
    const DataSet& data_;
    Reporter& reporter_;
    const Context& context_;
};

}  // namespace tavon
