#include "study/LdcError.h"

namespace ldc {

std::string errorBoxText(const std::string& message) {
    if (message.empty() || message.back() == '.')
        return message;
    return message + ".";
}

std::string errorBoxText(const Error& error) {
    if (error.context().empty())
        return errorBoxText(error.what());
    return error.context() + "\n" + errorBoxText(error.what());
}

}  // namespace ldc
