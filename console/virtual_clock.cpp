#include "console/virtual_clock.h"

#include <cstdio>

namespace vb {

std::tm VirtualClock::wallTime() const {
  std::time_t t = start_ + static_cast<std::time_t>(now_ / 1000);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

std::string VirtualClock::dateText() const {
  std::tm tm = wallTime();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
  return buf;
}

std::string VirtualClock::timeText() const {
  std::tm tm = wallTime();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buf;
}

}  // namespace vb
