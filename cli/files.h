// What the command needs to know of files before it touches any: whether two names are the same
// file, whether an existing report file may be replaced, and why a file failed, in Czech.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "tavon/report.h"
#include "tavon/result.h"

namespace tavon::cli {

// A file's identity: the device and the file number (on Windows the volume and the file index), so
// that "./a.xml", "sub/../a.xml", a symbolic link and a hard link to a.xml are one file. For a name
// that does not exist yet it is its folder's identity and the name within it.
struct FileIdentity {
    bool known = false;   // false: neither the file nor its folder exists
    bool exists = false;  // the file itself exists
    unsigned long long device = 0, number = 0;
    std::string name_in_folder;  // only for a file that does not exist yet

    static FileIdentity of(const std::string& path);
    static FileIdentity of(std::FILE* open_file);
    // Both name one existing file, or one file yet to be created in one folder.
    bool same_as(const FileIdentity& other) const;
};

// Whether a folder of that name exists.
bool is_folder(const std::string& path);

// The roles of the files of a run, as the messages name them.
enum class Role { Document, List, Listed, Report, Copy };

// "kontrolovaný soubor", "protokol", ... (Windows-1250).
std::string_view role_name(Role role);
// The same at the start of a sentence.
std::string role_name_capitalised(Role role);
// A failed open of an input: a missing folder on its path is told apart from a missing file.
Error refine_missing(Error why);

// The report format the command chooses for a report file name: by the text after the last dot of
// the file's own name (after the last "/" or "\\"), compared in lower case: "txt", "csv", "xml",
// "json"; anything else, or no dot, is HTML.
ReportFormat report_format_for(std::string_view report_name);

// The folder of the running executable, where an office puts its "data" folder; `argv0` is the
// fallback where the system does not say (empty when neither tells).
std::string program_folder(const char* argv0);

}  // namespace tavon::cli
