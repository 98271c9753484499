#ifndef ZQMV5_RUNTIME_CLOCK_H_
#define ZQMV5_RUNTIME_CLOCK_H_

#include <cstdint>

namespace zqmv5 {

struct Date {
  int year = 0;   // four digits
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

// Hundredths of a second in one day: the time of day runs from 0 to one less.
constexpr int32_t kHundredthsPerDay = 24 * 60 * 60 * 100;

// The calendar and the time of day.
class Clock {
 public:
  virtual ~Clock() = default;

  virtual Date Today() = 0;

  // The time of day in hundredths of a second since midnight; it starts again
  // from 0 at midnight.
  virtual int32_t TimeOfDay() = 0;

  // Lets the program rest for about `hundredths` hundredths of a second
  // without spending processor time.
  virtual void Pause(int32_t hundredths) = 0;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_CLOCK_H_
