#include "session/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace vb {
namespace {

std::string dateOf(int day, int month, int year) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", day, month, year);
  return buf;
}

std::string timeOf(int hours, int minutes, int seconds) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d", hours, minutes, seconds);
  return buf;
}

std::tm localNow() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

// The manual clock's wall time: 06.12.2026 17:25:46 plus the virtual time.
using namespace std::chrono;
sys_seconds manualWallTime(std::int64_t nowMs) {
  constexpr auto start =
      sys_days{year{2026} / December / 6} + hours{17} + minutes{25} + seconds{46};
  return start + duration_cast<seconds>(milliseconds{nowMs});
}

}  // namespace

std::int64_t SystemClock::nowMs() const {
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string SystemClock::dateText() const {
  std::tm tm = localNow();
  return dateOf(tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
}

std::string SystemClock::timeText() const {
  std::tm tm = localNow();
  return timeOf(tm.tm_hour, tm.tm_min, tm.tm_sec);
}

std::string ManualClock::dateText() const {
  year_month_day ymd{floor<days>(manualWallTime(now_))};
  return dateOf(static_cast<int>(static_cast<unsigned>(ymd.day())),
                static_cast<int>(static_cast<unsigned>(ymd.month())), static_cast<int>(ymd.year()));
}

std::string ManualClock::timeText() const {
  sys_seconds t = manualWallTime(now_);
  hh_mm_ss hms{t - floor<days>(t)};
  return timeOf(static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()),
                static_cast<int>(hms.seconds().count()));
}

}  // namespace vb
