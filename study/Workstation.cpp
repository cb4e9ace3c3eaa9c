#include "study/Workstation.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace ldc {

std::string programNameAndVersion() {
    return "QORVAL v.w. " LDC_VERSION;
}

std::string workstationUser() {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
        found->pw_name && *found->pw_name)
        return found->pw_name;
    for (const char* variable : {"USER", "LOGNAME"})
        if (const char* value = std::getenv(variable); value && *value)
            return value;
    return std::to_string(::geteuid());
}

std::string workstationHost() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

std::string isoUtcTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string isoDateTime(const std::tm& local, long utcOffsetSeconds) {
    const char sign = utcOffsetSeconds < 0 ? '-' : '+';
    const long minutes = std::labs(utcOffsetSeconds) / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, sign, minutes / 60, minutes % 60);
    return text;
}

std::string isoLocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return isoDateTime(local, local.tm_gmtoff);
}

}  // namespace ldc
