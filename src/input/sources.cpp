// The byte sources: memory, a function, a file, and a list of files read as one text.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "input/open_error.h"
#include "tavon/source.h"

namespace tavon {

MemorySource::MemorySource(std::span<const char> bytes, std::string name)
    : rest_(bytes), name_(std::move(name)) {}

std::size_t MemorySource::read(char* buffer, std::size_t capacity) {
    const std::size_t n = rest_.size() < capacity ? rest_.size() : capacity;
    if (n > 0) std::memcpy(buffer, rest_.data(), n);
    rest_ = rest_.subspan(n);
    return n;
}

CallbackSource::CallbackSource(Reader reader, std::string name)
    : reader_(std::move(reader)), name_(std::move(name)) {}

FilePtr open_input_file(const std::string& name, OpenError& why) {
    reset_open_error();
    FilePtr f(std::fopen(name.c_str(), "rb"));
    if (!f) {
        why = open_error_of(name.c_str());
        return nullptr;
    }
    // A folder or a device opens on some systems, yet it is no document.
    struct stat info;
    if (fstat(fileno(f.get()), &info) != 0) {
        why = last_open_error();
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        why = S_ISDIR(info.st_mode) ? OpenError::IsFolder : OpenError::NotRegularFile;
        return nullptr;
    }
    why = OpenError::None;
    return f;
}

FileSource::FileSource(FilePtr file, std::string name) : file_(std::move(file)), name_(std::move(name)) {}

std::size_t FileSource::read(char* buffer, std::size_t capacity) {
    return file_ ? std::fread(buffer, 1, capacity, file_.get()) : 0;
}

ListSource::ListSource(FilePtr list, std::string first_fallback, Opener opener)
    : list_(std::move(list)), first_fallback_(std::move(first_fallback)), opener_(std::move(opener)) {}

// The next whitespace-delimited word of the list; false when there is none.
bool ListSource::next_word(std::string& word) {
    word.clear();
    if (!list_) return false;
    auto space = [](int c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    int c;
    do c = std::getc(list_.get());
    while (c != EOF && space(c));
    while (c != EOF && !space(c)) {
        word.push_back(static_cast<char>(c));
        c = std::getc(list_.get());
    }
    return !word.empty();
}

bool ListSource::open(const std::string& name) {
    name_ = name;
    file_ = opener_(name, failure_);
    if (file_) return true;
    failed_name_ = name;
    return false;
}

bool ListSource::open_first() {
    std::string word;
    return open(next_word(word) ? word : first_fallback_);
}

std::size_t ListSource::read(char* buffer, std::size_t capacity) {
    return file_ ? std::fread(buffer, 1, capacity, file_.get()) : 0;
}

Source::Next ListSource::next_document() {
    file_.reset();
    std::string word;
    if (!next_word(word) || word == "...") {
        list_.reset();
        return Next::Ended;
    }
    return open(word) ? Next::Continues : Next::Failed;
}

}  // namespace tavon
