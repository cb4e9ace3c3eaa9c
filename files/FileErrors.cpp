#include "files/FileErrors.h"

#include <cerrno>
#include <sys/stat.h>

#include "study/LdcError.h"

namespace ldc {

std::string ioErrorMessage(int code) {
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 101:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(code);
    }
}

int ioErrorCode(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
        return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return 101;
    default:
        return errnoValue;
    }
}

void throwIoError(int errnoValue) { throw Error(ioErrorMessage(ioErrorCode(errnoValue))); }

void throwPathError(const std::string& path, int errnoValue) {
    if (errnoValue == ENOENT) {
        const std::size_t slash = path.find_last_of('/');
        const std::string folder =
            slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
        struct stat info;
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            throw Error(ioErrorMessage(3));
    }
    throwIoError(errnoValue);
}

}  // namespace ldc
