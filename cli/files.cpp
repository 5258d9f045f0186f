#include "cli/files.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "tavon/cz.h"
#include "tavon/report.h"
#include "tavon/text.h"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#endif

namespace tavon::cli {
namespace {

namespace fs = std::filesystem;

// A name as the system's path: UTF-8 on Windows (wide calls), bytes elsewhere. A name that is no
// UTF-8 (from a list in the ANSI code page) is Windows-1250, as documents are opened; the UTF-8
// conversion of std::filesystem would throw on it.
fs::path native(const std::string& name) {
#if defined(_WIN32)
    const std::string utf8 = looks_like_utf8(name) ? name : to_utf8(name);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return fs::path(name);
#endif
}

std::string from_native(const fs::path& path) {
#if defined(_WIN32)
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

// The folder part of a path ("." when it has none) and the name after it.
void split(const std::string& path, std::string& folder, std::string& name) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) {
        folder = ".";
        name = path;
        return;
    }
    folder = slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
    name = path.substr(slash + 1);
}

#if defined(_WIN32)
bool identity_of_handle(HANDLE h, FileIdentity& id) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info)) return false;
    id.device = info.dwVolumeSerialNumber;
    id.number = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

bool identity_of_path(const std::string& path, FileIdentity& id) {
    const HANDLE h =
        CreateFileW(native(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = identity_of_handle(h, id);
    CloseHandle(h);
    return ok;
}
#else
bool identity_of_path(const std::string& path, FileIdentity& id) {
    struct stat info;
    if (stat(path.empty() ? "." : path.c_str(), &info) != 0) return false;
    id.device = static_cast<unsigned long long>(info.st_dev);
    id.number = static_cast<unsigned long long>(info.st_ino);
    return true;
}
#endif

}  // namespace

FileIdentity FileIdentity::of(const std::string& path) {
    FileIdentity id;
    if (identity_of_path(path, id)) {
        id.known = id.exists = true;
        return id;
    }
    std::string folder, name;
    split(path, folder, name);
    if (!name.empty() && identity_of_path(folder, id)) {
        id.known = true;
        id.name_in_folder = name;
    }
    return id;
}

FileIdentity FileIdentity::of(std::FILE* file) {
    FileIdentity id;
#if defined(_WIN32)
    const auto h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    id.known = id.exists = h != INVALID_HANDLE_VALUE && identity_of_handle(h, id);
#else
    struct stat info;
    if (fstat(fileno(file), &info) == 0) {
        id.known = id.exists = true;
        id.device = static_cast<unsigned long long>(info.st_dev);
        id.number = static_cast<unsigned long long>(info.st_ino);
    }
#endif
    return id;
}

bool FileIdentity::same_as(const FileIdentity& other) const {
    if (!known || !other.known || exists != other.exists) return false;
    if (device != other.device || number != other.number) return false;
    if (exists) return true;
#if defined(_WIN32)
    return _stricmp(name_in_folder.c_str(), other.name_in_folder.c_str()) == 0;
#else
    return name_in_folder == other.name_in_folder;
#endif
}

bool is_folder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(native(path), error);
}

std::string_view role_name(Role role) {
    static constexpr auto kDocument = cz("kontrolovaný soubor");
    static constexpr auto kList = cz("seznam souborů");
    static constexpr auto kListed = cz("soubor ze seznamu");
    static constexpr auto kCopy = cz("výstupní soubor");
    switch (role) {
        case Role::Document: return kDocument;
        case Role::List: return kList;
        case Role::Listed: return kListed;
        case Role::Report: return "protokol";
        case Role::Copy: return kCopy;
    }
    return {};
}

std::string role_name_capitalised(Role role) {
    std::string name(role_name(role));
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}

Error refine_missing(Error why) {
    if (why.kind != Error::Kind::NotFound) return why;
    std::string folder, name;
    split(why.file, folder, name);
    if (!is_folder(folder)) why.kind = Error::Kind::FolderMissing;
    return why;
}

ReportFormat report_format_for(std::string_view name) {
    // The text after the last dot of the file's own name (after the last "/" or "\\"), in lower case.
    const auto slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return ReportFormat::Html;
    std::string extension(name.substr(dot + 1));
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (extension == "txt") return ReportFormat::Text;
    if (extension == "csv") return ReportFormat::Csv;
    if (extension == "xml") return ReportFormat::Xml;
    if (extension == "json") return ReportFormat::Json;
    return ReportFormat::Html;
}

std::string program_folder(const char* argv0) {
#if defined(_WIN32)
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    if (n > 0 && n < MAX_PATH * 4) return from_native(fs::path(std::wstring(path, n)).parent_path());
#else
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path().string();
#endif
    if (argv0 && std::string_view(argv0).find_first_of("/\\") != std::string_view::npos)
        return from_native(native(argv0).parent_path());
    return {};
}

}  // namespace tavon::cli
