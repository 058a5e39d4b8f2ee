#pragma once
// Today's date as the system writes a short date: the C library's "%x" of
// the current locale (LC_TIME), or the user's short date format on Windows.

#include <ctime>
#include <string>

namespace quimbra {

// day in the system's short date format, UTF-8.
std::string systemShortDate(const std::tm& day);

// Today, local time, in the same format.
std::string todayShortDate();

}  // namespace quimbra
