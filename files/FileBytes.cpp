#include "files/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/FileErrors.h"
#include "study/LdcError.h"

namespace ldc {

FileCloser::~FileCloser() {
    if (m_fd >= 0)
        ::close(m_fd);
}

int FileCloser::close() {
    const int result = ::close(m_fd);
    m_fd = -1;
    return result;
}

std::string readRegularFile(const std::string& path, const std::string& what) {
    FileCloser file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.fd() < 0)
        throwPathError(path, errno, what);
    struct stat info;
    if (::fstat(file.fd(), &info) != 0)
        throwIoError(errno, what);
    if (!S_ISREG(info.st_mode))
        throwIoError(EISDIR, what);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.fd(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throwIoError(errno, what);
        if (got == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::optional<std::string> readRegularFileIfAny(const std::string& path) {
    try {
        return readRegularFile(path, {});
    } catch (const Error&) {
        return std::nullopt;
    }
}

void writeAllBytes(int fd, std::string_view bytes, const std::string& what) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throwIoError(errno, what);
        }
        done += static_cast<std::size_t>(written);
    }
}

}  // namespace ldc
