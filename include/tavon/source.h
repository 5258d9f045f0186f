// The bytes to validate. A source is pulled in blocks; it may hold several documents that are read
// one after another as one text (a list of files).
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavon {

// Why a file could not be opened.
enum class OpenError {
    None,
    NotFound,        // the file does not exist
    FolderMissing,   // a folder on its path does not exist
    AccessDenied,    // no permission
    IsFolder,        // it is a folder
    NotRegularFile,  // a device, a pipe or anything else that is not a plain file
    InUse,           // open in another program (Windows sharing violation)
    DiskFull,        // no space left on the device
    TooLarge,        // larger than any real file of its kind (a list, a data file)
    Other
};

class Source {
  public:
    enum class Next { Continues, Ended, Failed };

    virtual ~Source() = default;
    // Copies up to `capacity` bytes of the current document into `buffer`; 0 when it is exhausted.
    virtual std::size_t read(char* buffer, std::size_t capacity) = 0;
    // Called when the current document is exhausted: Continues when another document now follows
    // it in the same text, Failed when the next one cannot be opened (see failed_name, failure).
    virtual Next next_document() { return Next::Ended; }
    // The name of the document being read; empty for bytes that have none.
    virtual std::string_view document_name() const { return {}; }
    // After Next::Failed: the name that could not be opened, and why.
    virtual std::string_view failed_name() const { return {}; }
    virtual OpenError failure() const { return OpenError::None; }
};

// Bytes in memory, read as one document. The bytes must outlive the source.
class MemorySource : public Source {
  public:
    explicit MemorySource(std::span<const char> bytes, std::string name = {});
    std::size_t read(char* buffer, std::size_t capacity) override;
    std::string_view document_name() const override { return name_; }

  private:
    std::span<const char> rest_;
    std::string name_;
};

// Bytes supplied by a function, e.g. chunks of a file read elsewhere: it fills the buffer and
// returns the count, 0 at the end.
class CallbackSource : public Source {
  public:
    using Reader = std::function<std::size_t(char* buffer, std::size_t capacity)>;
    explicit CallbackSource(Reader reader, std::string name = {});
    std::size_t read(char* buffer, std::size_t capacity) override { return reader_(buffer, capacity); }
    std::string_view document_name() const override { return name_; }

  private:
    Reader reader_;
    std::string name_;
};

struct CloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, CloseFile>;

// Opens a file for reading; only a readable plain file is accepted (a pipe or a device is refused
// without waiting for it). Names are UTF-8 on Windows. Null, with the reason in `why`, when it cannot
// be opened.
FilePtr open_input_file(const std::string& name, OpenError& why);

// The whole of a small file (a list, a data file), opened as open_input_file does; false, with the
// reason, when it cannot be read or holds more than `limit` bytes (OpenError::TooLarge).
bool read_small_file(const std::string& name, std::size_t limit, std::string& bytes, OpenError& why);

// The documents a list names, in its order. Names are separated by white space; a name that
// begins with a double quote runs to the next one and may hold any character (a doubled quote
// inside stands for one), so that names with spaces can be listed. An unquoted "..." after the
// first name ends the list.
std::vector<std::string> list_names(std::string_view list);

// The largest list file read, and the longest name it may hold: far beyond any real list.
inline constexpr std::size_t kMaxListBytes = 16 << 20;
inline constexpr std::size_t kMaxListName = 4096;

// One file, read as one document.
class FileSource : public Source {
  public:
    FileSource(FilePtr file, std::string name);
    std::size_t read(char* buffer, std::size_t capacity) override;
    std::string_view document_name() const override { return name_; }

  private:
    FilePtr file_;
    std::string name_;
};

// The documents named by a list (list_names), read one after another as one text.
class ListSource : public Source {
  public:
    // Opens a named document; null, with the reason, when it cannot (or must not) be read.
    using Opener = std::function<FilePtr(const std::string& name, OpenError& why)>;

    // When the list names no document, `first_fallback` is the name tried instead (the list
    // argument itself, so that its failure names what the user wrote).
    ListSource(std::vector<std::string> names, std::string first_fallback, Opener opener = open_input_file);

    // Opens the first document of the list; false when it cannot be opened (failed_name, failure).
    bool open_first();

    std::size_t read(char* buffer, std::size_t capacity) override;
    Next next_document() override;
    std::string_view document_name() const override { return name_; }
    std::string_view failed_name() const override { return failed_name_; }
    OpenError failure() const override { return failure_; }

  private:
    bool open(const std::string& name);

    std::vector<std::string> names_;
    std::size_t next_ = 0;
    std::string first_fallback_;
    Opener opener_;
    FilePtr file_;
    std::string name_;
    std::string failed_name_;
    OpenError failure_ = OpenError::None;
};

}  // namespace tavon
