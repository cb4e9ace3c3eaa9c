#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ldc {

// SHA-256 of the bytes, as 64 lower-case hexadecimal digits: how a record names the exact
// content of a study file or of an audit-trail entry.
std::string sha256Hex(std::string_view bytes);

// SHA-256 of the file at `path` as it is on disk, or nothing when it cannot be read (no such
// file, a folder, no permission).
std::optional<std::string> fileSha256Hex(const std::string& path);

}  // namespace ldc
