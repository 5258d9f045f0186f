// Makes data sets: the built-in one from the tables generated at build time, others from data
// files read at run time.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "data/data_set.h"
#include "tavon/data.h"

namespace tavon {

class DataSetBuilder {
  public:
    static std::shared_ptr<DataSet> built_in();
    // The built-in set with the lists of the given files in place of its own.
    static Result<DataSetPtr> from_files(std::span<const DataFile> files, const std::string& folder);

  private:
    // Which registers the files replaced: a set is a sample unless all three are the campaign's.
    struct Replaced {
        bool occupations = false, submitters = false, providers = false;
    };
    // One file into the storage (a file of no known name is skipped); false, with the problem's
    // line and reason, when it breaks its format.
    static bool read_file(DataSet& set, DataSet::Storage& storage, const DataFile& file, Replaced& replaced,
                          int& line, std::string& reason);
    // The lists, registers and tariffs of the set, viewing the storage.
    static void take_storage(DataSet& set, DataSet::Storage& storage, const Replaced& replaced);
};

}  // namespace tavon
