#include "game/short_date.h"

#include <gtest/gtest.h>

#include <clocale>
#include <ctime>
#include <string>

namespace quimbra {
namespace {

std::tm december8th2026() {
    std::tm day{};
    day.tm_year = 2026 - 1900;
    day.tm_mon = 11;
    day.tm_mday = 8;
    day.tm_wday = 2;
    return day;
}

#ifdef _WIN32
// The user's short date format: whatever its order, day, month and year.
TEST(ShortDate, UsersFormatOnWindows) {
    const std::string date = systemShortDate(december8th2026());
    EXPECT_NE(date.find("8"), std::string::npos) << date;
    EXPECT_NE(date.find("12"), std::string::npos) << date;
    EXPECT_NE(date.find("26"), std::string::npos) << date;
    EXPECT_EQ(date.find(':'), std::string::npos) << "date only: " << date;
}
#else
// The C library's short date of the current locale: under Italian the year
// has four digits, as `date +%x` writes it (Qt's own short format has two).
TEST(ShortDate, ItalianLocale) {
    const std::string before = std::setlocale(LC_TIME, nullptr);
    if (std::setlocale(LC_TIME, "it_IT.UTF-8") == nullptr) {
        GTEST_SKIP() << "no it_IT.UTF-8 locale";
    }
    const std::string date = systemShortDate(december8th2026());
    std::setlocale(LC_TIME, before.c_str());
    EXPECT_EQ(date, "08/12/2026");
    EXPECT_EQ(systemShortDate(december8th2026()), "12/08/26") << "the C locale's own";
}
#endif

}  // namespace
}  // namespace quimbra
