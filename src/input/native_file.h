// Files by name, the same on every system: names are bytes on Linux and UTF-8 on Windows, where
// the system's wide-character calls take them (the C library's narrow calls would read them in the
// ANSI code page and lose every letter outside it).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#if defined(_WIN32)
#include <cwchar>
#endif

namespace tavon {

#if defined(_WIN32)
// UTF-8 as UTF-16 for the system's wide calls; a byte that is no valid UTF-8 is taken as
// Windows-1250, so that names from old lists still work.
std::wstring wide_name(const std::string& name);
std::string utf8_name(const std::wstring& name);
#endif

// A name as a path of the system, and back.
std::filesystem::path native_path(const std::string& name);
std::string name_of(const std::filesystem::path& path);

// std::fopen with a name in the system's form.
std::FILE* open_file(const std::string& name, const char* mode);

// stat() of a name: whether it exists, is a folder, is a regular file, and its size.
struct FileStatus {
    bool exists = false;
    bool folder = false;
    bool regular = false;
    unsigned long long size = 0;
};
FileStatus status_of(const std::string& name);

}  // namespace tavon
