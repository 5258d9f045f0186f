// Document files, small files read whole, and the grammar of list files.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "input/native_file.h"
#include "input/open_error.h"
#include "tavon/input.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tavon {

namespace {

// Opens without waiting: opening a pipe for reading would wait for a writer, and a device may
// never end. Only a regular file is handed on.
std::FILE* open_regular(const std::string& name, Error::Kind& why) {
    reset_open_error();
#if defined(_WIN32)
    std::FILE* f = open_file(name, "rb");
    if (!f) {
        why = open_error_of(name);
        return nullptr;
    }
    struct _stat64 info;
    const bool ok = _fstat64(_fileno(f), &info) == 0;
    const auto type = info.st_mode & _S_IFMT;
    if (!ok || type != _S_IFREG) {
        why = !ok                ? last_open_error()
              : type == _S_IFDIR ? Error::Kind::IsFolder
                                 : Error::Kind::NotRegularFile;
        std::fclose(f);
        return nullptr;
    }
    return f;
#else
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        why = open_error_of(name);
        return nullptr;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        why = S_ISDIR(info.st_mode) ? Error::Kind::IsFolder : Error::Kind::NotRegularFile;
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

Result<InputFile> InputFile::open(const std::string& name) {
    Error::Kind why = Error::Kind::Other;
    std::FILE* f = open_regular(name, why);
    if (!f) return Error{why, name};
    return InputFile(f);
}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        if (file_) std::fclose(file_);
        file_ = std::exchange(other.file_, nullptr);
    }
    return *this;
}

InputFile::~InputFile() {
    if (file_) std::fclose(file_);
}

std::size_t InputFile::read(std::span<char> buffer) {
    return file_ ? std::fread(buffer.data(), 1, buffer.size(), file_) : 0;
}

bool InputFile::failed() const { return !file_ || std::ferror(file_) != 0; }

Result<std::string> read_small_file(const std::string& name, std::size_t limit) {
    Result<InputFile> file = InputFile::open(name);
    if (!file) return file.error();
    std::string bytes;
    char block[1 << 16];
    for (std::size_t n; (n = file->read(block)) > 0;) {
        if (bytes.size() + n > limit) return Error{Error::Kind::TooLarge, name};
        bytes.append(block, n);
    }
    if (file->failed()) return Error{Error::Kind::Other, name};
    return bytes;
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

}  // namespace tavon
