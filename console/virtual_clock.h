#pragma once
// The clock of a replay (--pace): time moves only when the replay moves
// it, so every timer runs at full speed and at the same virtual moment
// every run. The transcript's date and time are the real ones at the start
// plus the virtual time gone by.

#include <cstdint>
#include <ctime>

#include "session/clock.h"

namespace vb {

class VirtualClock final : public Clock {
 public:
  VirtualClock() : start_(std::time(nullptr)) {}
  std::int64_t nowMs() const override { return now_; }
  std::string dateText() const override;
  std::string timeText() const override;
  // Moves time forward to `ms`; never back.
  void moveTo(std::int64_t ms) {
    if (ms > now_) now_ = ms;
  }

 private:
  std::tm wallTime() const;

  std::time_t start_;
  std::int64_t now_ = 0;
};

}  // namespace vb
