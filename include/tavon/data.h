// The code lists, registers and salary tariffs that a document is checked against: the set built
// into the program, or files of a data folder read at run time. A data folder holds any of the
// files below, in the formats of the program's data/ folder; each file present replaces the
// built-in list of that name, the others stay built in:
//
//   staty.txt pravni_formy.txt postaveni.txt dppv.txt nuts.txt vzdelani.txt kzam.txt
//   predkladatele.txt poskytovatele.txt scale1.csv scale2.csv scale3.csv scale5.csv
//   campaign.txt   (optional: the data set's name and date on its first line)
//
// Other files of the folder are ignored. A file that breaks its format is refused with an Error
// of kind BadData naming the file, the line and the reason.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "tavon/export.h"
#include "tavon/result.h"

namespace tavon {

class DataSet;

// A file of a data folder: its name (e.g. "kzam.txt") and its bytes.
struct DataFile {
    std::string name;
    std::string bytes;
};

using DataSetPtr = std::shared_ptr<const DataSet>;

// The set compiled into the program (samples, unless the build was given a campaign's files).
TAVON_API DataSetPtr built_in_data();

// A set from the given files.
TAVON_API Result<DataSetPtr> load_data(std::span<const DataFile> files);

// A set from the files of a folder.
TAVON_API Result<DataSetPtr> load_data_folder(const std::string& folder);

// One line in Czech (Windows-1250) that names the set: the built-in sample, or the campaign's name
// and the folder.
TAVON_API std::string describe_data_set(const DataSet& data);

}  // namespace tavon
