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

// Opens a file for reading; only a readable plain file is accepted. Null, with the reason in
// `why`, when it cannot be opened.
FilePtr open_input_file(const std::string& name, OpenError& why);

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

// The documents named by a list file, read one after another as one text. The list's words are
// separated by white space; the word "..." ends the list.
class ListSource : public Source {
  public:
    // Opens a named document; null, with the reason, when it cannot (or must not) be read.
    using Opener = std::function<FilePtr(const std::string& name, OpenError& why)>;

    // `list` is the open list file. When the list names no document, `first_fallback` is the name
    // tried instead (the list argument itself, so that its failure names what the user wrote).
    ListSource(FilePtr list, std::string first_fallback, Opener opener = open_input_file);

    // Opens the first document of the list; false when it cannot be opened (failed_name, failure).
    bool open_first();

    std::size_t read(char* buffer, std::size_t capacity) override;
    Next next_document() override;
    std::string_view document_name() const override { return name_; }
    std::string_view failed_name() const override { return failed_name_; }
    OpenError failure() const override { return failure_; }

  private:
    bool next_word(std::string& word);
    bool open(const std::string& name);

    FilePtr list_;
    std::string first_fallback_;
    Opener opener_;
    FilePtr file_;
    std::string name_;
    std::string failed_name_;
    OpenError failure_ = OpenError::None;
};

}  // namespace tavon
