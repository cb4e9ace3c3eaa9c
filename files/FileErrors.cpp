#include "files/FileErrors.h"

#include <sys/stat.h>
#include <cerrno>

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

std::string ioFailureText(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return "el archivo no existe";
        case ENOTDIR:
            return "una parte de la ruta no es una carpeta";
        case ENAMETOOLONG:
            return "el nombre del archivo es demasiado largo";
        case EINVAL:
            return "el nombre del archivo no es válido";
        case ELOOP:
            return "la ruta tiene demasiados enlaces simbólicos";
        case EMFILE:
        case ENFILE:
            return "hay demasiados archivos abiertos";
        case EACCES:
        case EPERM:
            return "no tiene permiso sobre el archivo o su carpeta";
        case EROFS:
            return "el disco es de solo lectura";
        case EISDIR:
            return "es una carpeta, no un archivo";
        case ETXTBSY:
            return "el archivo está en uso";
        case ENOSPC:
            return "el disco está lleno";
        case EDQUOT:
            return "se agotó la cuota de disco";
        case EFBIG:
            return "el archivo supera el tamaño máximo permitido";
        case EIO:
            return "falló la lectura o la escritura en el disco";
        default:
            return "el sistema informó un error de entrada/salida";
    }
}

void throwIoError(int errnoValue, const std::string& what) {
    throw Error(ioErrorMessage(ioErrorCode(errnoValue)),
                what + ": " + ioFailureText(errnoValue) + ".");
}

void throwPathError(const std::string& path, int errnoValue, const std::string& what) {
    if (errnoValue == ENOENT) {
        const std::size_t slash = path.find_last_of('/');
        const std::string folder =
            slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
        struct stat info;
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            throw Error(ioErrorMessage(3), what + ": la carpeta no existe.");
    }
    throwIoError(errnoValue, what);
}

}  // namespace ldc
