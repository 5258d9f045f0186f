// The code lists, registers and salary tariffs that a document is checked against.
#pragma once

#include <memory>

namespace tavon {

class DataSet;

// The set compiled into the program (samples, unless the build was given a campaign's files).
std::shared_ptr<const DataSet> built_in_data();

}  // namespace tavon
