// The byte sources: memory, a function, a file, and a list of files read as one text.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "input/native_file.h"
#include "input/open_error.h"
#include "tavon/source.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

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

namespace {

// Opens without waiting: opening a pipe for reading would wait for a writer, and a device may
// never end. Only a regular file is handed on.
std::FILE* open_regular(const std::string& name, OpenError& why) {
    reset_open_error();
#if defined(_WIN32)
    std::FILE* f = open_file(name, "rb");
    if (!f) {
        why = open_error_of(name.c_str());
        return nullptr;
    }
    struct _stat64 info;
    const bool ok = _fstat64(_fileno(f), &info) == 0;
    const auto type = info.st_mode & _S_IFMT;
    if (!ok || type != _S_IFREG) {
        why = !ok ? last_open_error() : type == _S_IFDIR ? OpenError::IsFolder : OpenError::NotRegularFile;
        std::fclose(f);
        return nullptr;
    }
    return f;
#else
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        why = open_error_of(name.c_str());
        return nullptr;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        why = S_ISDIR(info.st_mode) ? OpenError::IsFolder : OpenError::NotRegularFile;
        ::close(fd);
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = fdopen(fd, "rb");
    if (!f) {
        why = last_open_error();
        ::close(fd);
    }
    return f;
#endif
}

}  // namespace

FilePtr open_input_file(const std::string& name, OpenError& why) {
    FilePtr f(open_regular(name, why));
    if (f) why = OpenError::None;
    return f;
}

bool read_small_file(const std::string& name, std::size_t limit, std::string& bytes, OpenError& why) {
    bytes.clear();
    FilePtr f = open_input_file(name, why);
    if (!f) return false;
    char block[1 << 16];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, f.get())) > 0;) {
        if (bytes.size() + n > limit) {
            why = OpenError::TooLarge;
            bytes.clear();
            return false;
        }
        bytes.append(block, n);
    }
    if (std::ferror(f.get())) {
        why = OpenError::Other;
        return false;
    }
    return true;
}

std::vector<std::string> list_names(std::string_view list) {
    std::vector<std::string> names;
    auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    for (std::size_t at = 0; at < list.size();) {
        if (space(list[at])) {
            ++at;
            continue;
        }
        std::string name;
        if (list[at] == '"') {
            for (++at; at < list.size(); ++at) {
                if (list[at] != '"') {
                    name.push_back(list[at]);
                } else if (at + 1 < list.size() && list[at + 1] == '"') {
                    name.push_back('"');
                    ++at;
                } else {
                    ++at;
                    break;
                }
            }
        } else {
            const std::size_t start = at;
            while (at < list.size() && !space(list[at])) ++at;
            name.assign(list.substr(start, at - start));
            if (name == "..." && !names.empty()) break;
        }
        names.push_back(std::move(name));
    }
    return names;
}

FileSource::FileSource(FilePtr file, std::string name) : file_(std::move(file)), name_(std::move(name)) {}

std::size_t FileSource::read(char* buffer, std::size_t capacity) {
    return file_ ? std::fread(buffer, 1, capacity, file_.get()) : 0;
}

ListSource::ListSource(std::vector<std::string> names, std::string first_fallback, Opener opener)
    : names_(std::move(names)), first_fallback_(std::move(first_fallback)), opener_(std::move(opener)) {}

bool ListSource::open(const std::string& name) {
    name_ = name;
    file_ = opener_(name, failure_);
    if (file_) return true;
    failed_name_ = name;
    return false;
}

bool ListSource::open_first() {
    next_ = 1;
    return open(names_.empty() ? first_fallback_ : names_[0]);
}

std::size_t ListSource::read(char* buffer, std::size_t capacity) {
    return file_ ? std::fread(buffer, 1, capacity, file_.get()) : 0;
}

Source::Next ListSource::next_document() {
    file_.reset();
    if (next_ >= names_.size()) return Next::Ended;
    return open(names_[next_++]) ? Next::Continues : Next::Failed;
}

}  // namespace tavon
