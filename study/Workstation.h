#pragma once

#include <ctime>
#include <string>

namespace ldc {

// Who, where, with what and when: the facts every record of the program states about the
// machine it was made on (the audit trail, the printed pages, the self-verification).

// The program's name and version as records name it: "QORVAL v.w. 3.1".
std::string programNameAndVersion();

// The account the program runs under, as the system knows it (a changed USER cannot
// disguise it); the environment only when the system has no name for it, and the bare user
// id when neither has.
std::string workstationUser();

// The machine's host name, or an empty text when the system gives none.
std::string workstationHost();

// Now as ISO 8601 in UTC: "2026-12-06T16:05:03Z".
std::string isoUtcTimeNow();

// Now as ISO 8601 in local time with its offset from UTC: "2026-12-06T17:05:03+01:00".
std::string isoLocalTimeNow();

// A local time with its offset from UTC in seconds, as ISO 8601.
std::string isoDateTime(const std::tm& local, long utcOffsetSeconds);

}  // namespace ldc
