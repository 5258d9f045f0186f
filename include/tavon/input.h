// Reading documents and lists of documents from files. Names are bytes as the system gives them
// (UTF-8 on Windows, where they are opened by their wide form).
#pragma once

#include <cstddef>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tavon/export.h"
#include "tavon/result.h"

namespace tavon {

// A document file open for reading. Only a readable regular file opens: a folder, a pipe or a
// device is refused at once, without waiting for it.
class TAVON_API InputFile {
  public:
    static Result<InputFile> open(const std::string& name);

    InputFile(InputFile&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // The next bytes into `buffer`; 0 at the end of the file (or when reading failed: failed()).
    std::size_t read(std::span<char> buffer);
    bool failed() const;

  private:
    explicit InputFile(std::FILE* file) : file_(file) {}
    std::FILE* file_;
};

// The whole of a small file (a list, a data file), opened as InputFile opens it; TooLarge when it
// holds more than `limit` bytes.
TAVON_API Result<std::string> read_small_file(const std::string& name, std::size_t limit);

// The documents a list names, in its order. Names are separated by white space; a name that
// begins with a double quote runs to the next one and may hold any character (a doubled quote
// inside stands for one), so that names with spaces can be listed. An unquoted "..." after the
// first name ends the list.
TAVON_API std::vector<std::string> list_names(std::string_view list);

// The largest list file read, and the longest name it may hold: far beyond any real list.
inline constexpr std::size_t kMaxListBytes = 16 << 20;
inline constexpr std::size_t kMaxListName = 4096;

}  // namespace tavon
