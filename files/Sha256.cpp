#include "files/Sha256.h"

#include <openssl/evp.h>

#include <array>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace ldc {

namespace {

using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

DigestContext newSha256Context() {
    DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
        throw std::bad_alloc();
    return context;
}

void update(EVP_MD_CTX* context, const char* data, std::size_t size) {
    if (EVP_DigestUpdate(context, data, size) != 1)
        throw std::runtime_error("SHA-256 digest failed");
}

std::string finishHex(EVP_MD_CTX* context) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context, digest.data(), &length) != 1)
        throw std::runtime_error("SHA-256 digest failed");
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * length);
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHexDigits[digest[i] >> 4];
        hex += kHexDigits[digest[i] & 0x0F];
    }
    return hex;
}

}  // namespace

std::string sha256Hex(std::string_view bytes) {
    const DigestContext context = newSha256Context();
    update(context.get(), bytes.data(), bytes.size());
    return finishHex(context.get());
}

std::optional<std::string> fileSha256Hex(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const DigestContext context = newSha256Context();
    std::array<char, 1 << 16> buffer{};
    while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0)
        update(context.get(), buffer.data(), static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        return std::nullopt;
    return finishHex(context.get());
}

}  // namespace ldc
