#include "game/short_date.h"

#ifdef _WIN32
#include <windows.h>

#include "records/code_page.h"
#endif

namespace quimbra {

std::string systemShortDate(const std::tm& day) {
#ifdef _WIN32
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(day.tm_year + 1900);
    time.wMonth = static_cast<WORD>(day.tm_mon + 1);
    time.wDay = static_cast<WORD>(day.tm_mday);
    time.wDayOfWeek = static_cast<WORD>(day.tm_wday);
    wchar_t text[128] = {};
    const int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text,
                                  128, nullptr);
    if (n <= 1) {
        return {};
    }
    return records::wideToUtf8(std::wstring_view(text, static_cast<std::size_t>(n - 1)));
#else
    char text[128] = {};
    const std::size_t n = std::strftime(text, sizeof text, "%x", &day);
    return std::string(text, n);
#endif
}

std::string todayShortDate() {
    const std::time_t now = std::time(nullptr);
    std::tm day{};
#ifdef _WIN32
    localtime_s(&day, &now);
#else
    localtime_r(&now, &day);
#endif
    return systemShortDate(day);
}

}  // namespace quimbra
