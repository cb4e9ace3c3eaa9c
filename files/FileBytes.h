#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ldc {

// Closes a file descriptor when it goes out of scope, also when the work on it stops part-way.
class FileCloser {
public:
    explicit FileCloser(int fd) : m_fd(fd) {}
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;
    ~FileCloser();
    int fd() const { return m_fd; }
    // Closes now; the result of close(2).
    int close();

private:
    int m_fd;
};

// The bytes of the regular file at `path`. Anything else (a folder, a device), a missing file
// and a failed read raise the file error with `what` as its context ("No se pudo leer …").
std::string readRegularFile(const std::string& path, const std::string& what);

// As readRegularFile, or nothing when the file is missing or cannot be read: for the records
// that state what the disk holds, where a file that cannot be read is one they cannot name.
std::optional<std::string> readRegularFileIfAny(const std::string& path);

// Writes every byte, going on after interrupted writes; a failure raises the file error with
// `what` as its context.
void writeAllBytes(int fd, std::string_view bytes, const std::string& what);

}  // namespace ldc
