#include "input/open_error.h"

#include <cerrno>

#include "tavon/cz.h"
#include "input/native_file.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace tavon {

void reset_open_error() {
    errno = 0;
#if defined(_WIN32)
    SetLastError(0);
#endif
}

Error::Kind last_open_error() {
#if defined(_WIN32)
    // The C library reports a file open in another program as "access denied".
    const DWORD system = GetLastError();
    if (system == ERROR_SHARING_VIOLATION || system == ERROR_LOCK_VIOLATION) return Error::Kind::InUse;
    if (system == ERROR_PATH_NOT_FOUND) return Error::Kind::FolderMissing;
    if (system == ERROR_DISK_FULL || system == ERROR_HANDLE_DISK_FULL) return Error::Kind::DiskFull;
#endif
    switch (errno) {
        case ENOENT: return Error::Kind::NotFound;
        case ENOTDIR: return Error::Kind::FolderMissing;
        case EACCES:
        case EPERM:
        case EROFS: return Error::Kind::AccessDenied;
        case EISDIR: return Error::Kind::IsFolder;
        case ENOSPC:
#if defined(EDQUOT)
        case EDQUOT:
#endif
            return Error::Kind::DiskFull;
        case EBUSY:
        case ETXTBSY: return Error::Kind::InUse;
        default: return Error::Kind::Other;
    }
}

Error::Kind open_error_of(const std::string& name) {
    const Error::Kind why = last_open_error();
    if (status_of(name).folder) return Error::Kind::IsFolder;
    return why;
}

std::string describe(const Error& error) {
    static constexpr auto kNotFound = cz("soubor neexistuje");
    static constexpr auto kFolderMissing = cz("složka neexistuje");
    static constexpr auto kAccessDenied = cz("přístup odepřen");
    static constexpr auto kIsFolder = cz("je to složka, ne soubor");
    static constexpr auto kNotRegular = cz("není to obyčejný soubor");
    static constexpr auto kInUse = cz("soubor je otevřen v jiném programu");
    static constexpr auto kDiskFull = cz("disk je plný");
    static constexpr auto kTooLarge = cz("soubor je nepřiměřeně velký");
    static constexpr auto kOther = cz("systém jej odmítl");
    switch (error.kind) {
        case Error::Kind::NotFound: return std::string(kNotFound.view());
        case Error::Kind::FolderMissing: return std::string(kFolderMissing.view());
        case Error::Kind::AccessDenied: return std::string(kAccessDenied.view());
        case Error::Kind::IsFolder: return std::string(kIsFolder.view());
        case Error::Kind::NotRegularFile: return std::string(kNotRegular.view());
        case Error::Kind::InUse: return std::string(kInUse.view());
        case Error::Kind::DiskFull: return std::string(kDiskFull.view());
        case Error::Kind::TooLarge: return std::string(kTooLarge.view());
        case Error::Kind::BadData: return error.reason;
        case Error::Kind::Other: break;
    }
    return std::string(kOther.view());
}

}  // namespace tavon
