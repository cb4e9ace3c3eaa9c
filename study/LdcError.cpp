#include "study/LdcError.h"

namespace ldc {

std::string errorBoxText(const std::string& message) {
    if (message.empty() || message.back() == '.')
        return message;
    return message + ".";
}

}  // namespace ldc
