// Makes data sets: the built-in one from the tables generated at build time, others from data
// files read at run time.
#pragma once

#include <memory>
#include <span>

#include "data/data_set.h"
#include "tavon/data.h"

namespace tavon {

class DataSetBuilder {
  public:
    static std::shared_ptr<DataSet> built_in();
    // The built-in set with the lists of the given files in place of its own.
    static Result<DataSetPtr> from_files(std::span<const DataFile> files, const std::string& folder);
};

}  // namespace tavon
