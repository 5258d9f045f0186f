// Writing a report or a copy whole or not at all: into a new file beside the named one, renamed
// into its place when complete.
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <string>

#include "input/native_file.h"
#include "input/open_error.h"
#include "tavon/input.h"
#include "tavon/report.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tavon {
namespace {

// The folder part of a name, with its separator ("" for a name in the working folder).
std::string folder_of(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

// A name for the new file beside `name` that no other run picks: ".NAME.tavon-XXXXXXXX", hidden
// where a dot hides. NAME is cut (at a character boundary) so that the whole stays within the
// 255 bytes a file name may have: a report may have the longest name the system allows.
std::string temporary_name(const std::string& name) {
    static std::atomic<unsigned> counter{0};
    const auto now =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
#if defined(_WIN32)
    const unsigned long long process = GetCurrentProcessId();
#else
    const unsigned long long process = static_cast<unsigned long long>(getpid());
#endif
    const unsigned long long mix = (now * 0x9E3779B97F4A7C15ull) ^ (process << 32) ^ counter.fetch_add(1);
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".tavon-%08llx", mix & 0xFFFFFFFFull);
    const std::string folder = folder_of(name);
    std::string own = name.substr(folder.size());
    constexpr std::size_t kMaxOwn = 255 - 1 - 15;  // the dot before, the suffix after
    if (own.size() > kMaxOwn) {
        std::size_t cut = kMaxOwn;
        while (cut > 0 && (static_cast<unsigned char>(own[cut]) & 0xC0) == 0x80) --cut;
        own.resize(cut);
    }
    return folder + "." + own + suffix;
}

}  // namespace

FileOutput::~FileOutput() { discard(); }

void FileOutput::start(const std::string& name) {
    discard();
    finished_ = false;
    failed_ = false;
    write_error_ = Error::Kind::Other;
    name_ = name;
}

void FileOutput::fail(Error::Kind why) {
    if (failed_) return;
    failed_ = true;
    write_error_ = why;
}

Result<void> FileOutput::status() const {
    if (failed_) return Error{write_error_, name_};
    return {};
}

void FileOutput::write(const char* data, std::size_t size) {
    if (!file_ || size == 0) return;
    reset_open_error();
    if (std::fwrite(data, 1, size, file_) != size) fail(last_open_error());
}

#if defined(_WIN32)

namespace {
bool set_delete_on_close(HANDLE h, bool on) {
    FILE_DISPOSITION_INFO info;
    info.DeleteFile = on ? TRUE : FALSE;
    return SetFileInformationByHandle(h, FileDispositionInfo, &info, sizeof info) != 0;
}
}  // namespace

Result<void> FileOutput::open(const std::string& name) {
    start(name);
    const FileStatus target = status_of(name);
    if (target.exists && !target.regular) {
        return Error{target.folder ? Error::Kind::IsFolder : Error::Kind::NotRegularFile, name};
    }
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary_ = temporary_name(name);
        reset_open_error();
        const HANDLE h = CreateFileW(wide_name(temporary_).c_str(), GENERIC_WRITE | DELETE,
                                     FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            const Error::Kind why = last_open_error();
            temporary_.clear();
            return Error{why == Error::Kind::NotFound ? Error::Kind::FolderMissing : why, name};
        }
        // Gone with the process if it ends before commit(), however it ends.
        set_delete_on_close(h, true);
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
        file_ = fd < 0 ? nullptr : _fdopen(fd, "wb");
        if (!file_) {
            if (fd >= 0)
                _close(fd);
            else
                CloseHandle(h);
            DeleteFileW(wide_name(temporary_).c_str());
            temporary_.clear();
            return Error{Error::Kind::Other, name};
        }
        handle_ = h;
        return {};
    }
    return Error{Error::Kind::Other, name};
}

Result<void> FileOutput::finish() {
    if (finished_) return status();
    if (!file_) return Error{Error::Kind::Other, name_};
    reset_open_error();
    if (std::fflush(file_) != 0) fail(last_open_error());
    // Kept from here on: the file is complete.
    if (!failed_ && !set_delete_on_close(static_cast<HANDLE>(handle_), false)) fail(last_open_error());
    if (std::fclose(file_) != 0) fail(last_open_error());
    file_ = nullptr;
    handle_ = nullptr;
    finished_ = true;
    if (failed_) {
        DeleteFileW(wide_name(temporary_).c_str());
        temporary_.clear();
    }
    return status();
}

Result<void> FileOutput::commit(const std::string& backup) {
    if (Result<void> finished = finish(); !finished) return finished;
    finished_ = false;
    const std::wstring from = wide_name(temporary_), to = wide_name(name_);
    const FileStatus target = status_of(name_);
    reset_open_error();
    if (!backup.empty() && target.exists && target.size > 0 &&
        !MoveFileExW(to.c_str(), wide_name(backup).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        fail(last_open_error());
    } else if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail(last_open_error());
    }
    if (failed_) DeleteFileW(from.c_str());
    temporary_.clear();
    return status();
}

void FileOutput::discard() {
    if (file_) std::fclose(file_);  // the system deletes the file as it closes
    if (!temporary_.empty()) DeleteFileW(wide_name(temporary_).c_str());
    finished_ = false;
    file_ = nullptr;
    handle_ = nullptr;
    temporary_.clear();
}

#else

Result<void> FileOutput::open(const std::string& name) {
    start(name);
    struct stat target;
    mode_ = -1;
    if (stat(name.c_str(), &target) == 0) {
        if (!S_ISREG(target.st_mode)) {
            return Error{S_ISDIR(target.st_mode) ? Error::Kind::IsFolder : Error::Kind::NotRegularFile, name};
        }
        mode_ = static_cast<int>(target.st_mode & 07777);
        // A link is followed: the file it names is replaced, and the link stays.
        char resolved[PATH_MAX];
        struct stat link;
        if (lstat(name.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && realpath(name.c_str(), resolved))
            name_ = resolved;
    }
    const std::string folder = folder_of(name_);
    int fd = -1;
#if defined(O_TMPFILE)
    // A file without a name until commit(): whatever ends the process, nothing is left behind.
    // Named through /proc at commit(), so only where /proc is there.
    if (access("/proc/self/fd", X_OK) == 0)
        fd = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#endif
    if (fd >= 0) {
        descriptor_ = fd;
    } else {
        for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
            temporary_ = temporary_name(name_);
            fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
            if (fd < 0 && errno != EEXIST) break;
        }
        if (fd < 0) {
            const Error::Kind why = last_open_error();
            temporary_.clear();
            return Error{why == Error::Kind::NotFound ? Error::Kind::FolderMissing : why, name};
        }
    }
    file_ = fdopen(fd, "wb");
    if (!file_) {
        const Error::Kind why = last_open_error();
        ::close(fd);
        discard();
        return Error{why, name};
    }
    return {};
}

Result<void> FileOutput::finish() {
    if (finished_) return status();
    if (!file_) return Error{Error::Kind::Other, name_};
    reset_open_error();
    if (std::fflush(file_) != 0) fail(last_open_error());
    // The permissions of the file replaced, so that a report shared with others stays shared.
    if (!failed_ && mode_ >= 0) fchmod(fileno(file_), static_cast<mode_t>(mode_));
    // A file without a name keeps it until commit(), named there right before the renaming, so that
    // a process killed in between leaves nothing behind: a second descriptor outlives the close.
    int unnamed = -1;
    if (!failed_ && descriptor_ >= 0 && (unnamed = fcntl(descriptor_, F_DUPFD_CLOEXEC, 0)) < 0)
        fail(last_open_error());
    if (std::fclose(file_) != 0) fail(last_open_error());
    file_ = nullptr;
    descriptor_ = failed_ ? -1 : unnamed;
    if (failed_ && unnamed >= 0) ::close(unnamed);
    finished_ = true;
    if (failed_ && !temporary_.empty()) {
        unlink(temporary_.c_str());
        temporary_.clear();
    }
    return status();
}

// The finished unnamed file gets a name beside the named one, for the renaming.
void FileOutput::name_unnamed() {
    if (descriptor_ < 0) return;
    const std::string own = "/proc/self/fd/" + std::to_string(descriptor_);
    reset_open_error();
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary_ = temporary_name(name_);
        if (linkat(AT_FDCWD, own.c_str(), AT_FDCWD, temporary_.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
        const int error = errno;
        temporary_.clear();
        if (error != EEXIST) {
            errno = error;
            fail(last_open_error());
            break;
        }
    }
    if (!failed_ && temporary_.empty()) fail(Error::Kind::Other);
    ::close(descriptor_);
    descriptor_ = -1;
}

Result<void> FileOutput::commit(const std::string& backup) {
    if (Result<void> finished = finish(); !finished) return finished;
    finished_ = false;
    struct stat target;
    if (!backup.empty() && stat(name_.c_str(), &target) == 0 && target.st_size > 0) {
        // A second name for the old file first, so that the named file is never missing.
        const std::string link_name = temporary_name(backup);
        reset_open_error();
        if (link(name_.c_str(), link_name.c_str()) == 0) {
            if (rename(link_name.c_str(), backup.c_str()) != 0) {
                fail(last_open_error());
                unlink(link_name.c_str());
            }
        } else if (rename(name_.c_str(), backup.c_str()) != 0) {
            fail(last_open_error());
        }
    }
    if (!failed_) name_unnamed();
    reset_open_error();
    if (!failed_ && rename(temporary_.c_str(), name_.c_str()) != 0) fail(last_open_error());
    if (failed_ && !temporary_.empty()) unlink(temporary_.c_str());
    temporary_.clear();
    return status();
}

void FileOutput::discard() {
    if (file_)
        std::fclose(file_);
    else if (descriptor_ >= 0)
        ::close(descriptor_);  // a finished file without a name
    if (!temporary_.empty()) unlink(temporary_.c_str());
    finished_ = false;
    file_ = nullptr;
    descriptor_ = -1;
    temporary_.clear();
}

#endif

bool holds_foreign_content(const std::string& path) {
    Result<InputFile> file = InputFile::open(path);
    if (!file) return false;
    std::string start(64 << 10, '\0');  // far longer than any header, however long its names
    std::size_t size = 0;
    while (size < start.size()) {
        const std::size_t n = file->read(std::span<char>(start.data() + size, start.size() - size));
        if (n == 0) break;
        size += n;
    }
    start.resize(size);
    return size > 0 && !is_report_start(start);
}

}  // namespace tavon
