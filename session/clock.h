#pragma once
// Time for the session: a monotonic millisecond count that drives the
// timers, and the wall clock for the transcript. Injected, so tests run
// minutes of dialogue in milliseconds.

#include <cstdint>
#include <string>

namespace vb {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t nowMs() const = 0;
  // Russian formats: "06.12.2026" and "17:25:46" (hours without a leading zero).
  virtual std::string dateText() const = 0;
  virtual std::string timeText() const = 0;
};

class SystemClock final : public Clock {
 public:
  std::int64_t nowMs() const override;
  std::string dateText() const override;
  std::string timeText() const override;
};

// Tests: time moves only when told; the wall clock starts at 06.12.2026
// 17:25:46 and moves with it.
class ManualClock final : public Clock {
 public:
  std::int64_t nowMs() const override { return now_; }
  void advance(std::int64_t ms) { now_ += ms; }
  std::string dateText() const override;
  std::string timeText() const override;

 private:
  std::int64_t now_ = 0;
};

}  // namespace vb
