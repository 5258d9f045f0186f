#include "input/native_file.h"

#include <sys/stat.h>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace tavon {

#if defined(_WIN32)
std::wstring wide_name(const std::string& name) {
    if (name.empty()) return {};
    UINT page = CP_UTF8;
    int n = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()),
                                nullptr, 0);
    if (n <= 0) {
        page = 1250;
        n = MultiByteToWideChar(page, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    }
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(page, 0, name.data(), static_cast<int>(name.size()), wide.data(), n);
    return wide;
}

std::string utf8_name(const std::wstring& name) {
    if (name.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), utf8.data(), n, nullptr,
                            nullptr);
    return utf8;
}

std::filesystem::path native_path(const std::string& name) { return std::filesystem::path(wide_name(name)); }
std::string name_of(const std::filesystem::path& path) { return utf8_name(path.wstring()); }

std::FILE* open_file(const std::string& name, const char* mode) {
    return _wfopen(wide_name(name).c_str(), wide_name(mode).c_str());
}

FileStatus status_of(const std::string& name) {
    FileStatus s;
    struct _stat64 info;
    if (_wstat64(wide_name(name).c_str(), &info) != 0) return s;
    s.exists = true;
    s.folder = (info.st_mode & _S_IFMT) == _S_IFDIR;
    s.regular = (info.st_mode & _S_IFMT) == _S_IFREG;
    s.size = static_cast<unsigned long long>(info.st_size);
    return s;
}
#else
std::filesystem::path native_path(const std::string& name) { return std::filesystem::path(name); }
std::string name_of(const std::filesystem::path& path) { return path.string(); }

std::FILE* open_file(const std::string& name, const char* mode) { return std::fopen(name.c_str(), mode); }

FileStatus status_of(const std::string& name) {
    FileStatus s;
    struct stat info;
    if (stat(name.c_str(), &info) != 0) return s;
    s.exists = true;
    s.folder = S_ISDIR(info.st_mode);
    s.regular = S_ISREG(info.st_mode);
    s.size = static_cast<unsigned long long>(info.st_size);
    return s;
}
#endif

}  // namespace tavon
