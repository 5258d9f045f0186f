#include "input/open_error.h"

#include <cerrno>

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

OpenError last_open_error() {
#if defined(_WIN32)
    // The C library reports a file open in another program as "access denied".
    const DWORD system = GetLastError();
    if (system == ERROR_SHARING_VIOLATION || system == ERROR_LOCK_VIOLATION) return OpenError::InUse;
    if (system == ERROR_PATH_NOT_FOUND) return OpenError::FolderMissing;
    if (system == ERROR_DISK_FULL || system == ERROR_HANDLE_DISK_FULL) return OpenError::DiskFull;
#endif
    switch (errno) {
        case ENOENT: return OpenError::NotFound;
        case ENOTDIR: return OpenError::FolderMissing;
        case EACCES:
        case EPERM:
        case EROFS: return OpenError::AccessDenied;
        case EISDIR: return OpenError::IsFolder;
        case ENOSPC:
#if defined(EDQUOT)
        case EDQUOT:
#endif
            return OpenError::DiskFull;
        case EBUSY:
        case ETXTBSY: return OpenError::InUse;
        default: return OpenError::Other;
    }
}

OpenError open_error_of(const char* name) {
    const OpenError why = last_open_error();
    if (status_of(name).folder) return OpenError::IsFolder;
    return why;
}

}  // namespace tavon
