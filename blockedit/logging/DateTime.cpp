#include "logging/DateTime.h"

#include <chrono>
#include <ctime>

CDateTime::CDateTime(int year, int month, int day, int hour, int minute, int second)
    : year_(year), month_(month), day_(day), hour_(hour), minute_(minute), second_(second) {}

CDateTime CDateTime::now() {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    if (!localtime_r(&seconds, &local)) return CDateTime();
    return CDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                     local.tm_sec);
}

bool CDateTime::isValid() const {
    if (year_ < 100 || year_ > 9999 || month_ < 1 || month_ > 12 || day_ < 1 || day_ > 31) return false;
    const std::chrono::year_month_day date{std::chrono::year(year_),
                                           std::chrono::month(static_cast<unsigned>(month_)),
                                           std::chrono::day(static_cast<unsigned>(day_))};
    if (!date.ok()) return false;
    return hour_ >= 0 && hour_ <= 23 && minute_ >= 0 && minute_ <= 59 && second_ >= 0 && second_ <= 59;
}
