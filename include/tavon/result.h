// How an operation of the library fails: a Result holds its value or an Error with the reason.
#pragma once

#include <string>
#include <utility>
#include <variant>

#include "tavon/export.h"

namespace tavon {

struct Error {
    enum class Kind {
        NotFound,        // the file does not exist
        FolderMissing,   // a folder on its path does not exist
        AccessDenied,    // no permission
        IsFolder,        // it is a folder
        NotRegularFile,  // a device, a pipe or anything else that is not a plain file
        InUse,           // open in another program (Windows sharing violation)
        DiskFull,        // no space left on the device
        TooLarge,        // larger than any real file of its kind (a list, a data file)
        BadData,         // a data file breaks its format: `line` and `reason` say where and how
        Other
    };
    Error() = default;
    Error(Kind kind, std::string file, int line = 0, std::string reason = {})
        : kind(kind), file(std::move(file)), line(line), reason(std::move(reason)) {}

    Kind kind = Kind::Other;
    std::string file;    // the file concerned, as it was named
    int line = 0;        // BadData: the line of the file (0: the file as a whole)
    std::string reason;  // BadData: what is wrong, in Czech (Windows-1250)
};

// Why a file failed, in Czech (Windows-1250), e.g. "soubor neexistuje"; for BadData the reason.
TAVON_API std::string describe(const Error& error);

template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : value_(std::move(value)) {}
    Result(Error error) : value_(std::move(error)) {}

    bool ok() const { return value_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(value_); }
    const T& value() const { return std::get<0>(value_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<1>(value_); }

  private:
    std::variant<T, Error> value_;
};

// An operation that has no value: it worked, or it failed with an Error.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const Error& error() const { return error_; }

  private:
    Error error_;
    bool ok_ = true;
};

}  // namespace tavon
