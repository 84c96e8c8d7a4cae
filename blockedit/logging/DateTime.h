#pragma once

// A calendar date and time of day as the logs write it. A default-constructed value is not
// valid; logs write "-1" for every part of an invalid value.
class CDateTime {
  public:
    CDateTime() = default;
    CDateTime(int year, int month, int day, int hour, int minute, int second);

    // The machine's local time now.
    static CDateTime now();

    // Years 100 to 9999, months 1 to 12, days within the month, 24-hour time.
    bool isValid() const;

    int year() const { return year_; }
    int month() const { return month_; }
    int day() const { return day_; }
    int hour() const { return hour_; }
    int minute() const { return minute_; }
    int second() const { return second_; }

  private:
    int year_ = 0;
    int month_ = 0;
    int day_ = 0;
    int hour_ = -1;
    int minute_ = -1;
    int second_ = -1;
};
