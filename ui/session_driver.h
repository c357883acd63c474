#pragma once
// Runs the session's timers from one QTimer, re-armed for the session's
// next due time after every tick and every command. Commands and ticks
// never nest: a timer that falls due while a command runs (or while a
// dialog of an appearance command waits) is served when the loop is free.

#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "session/clock.h"

namespace vb {

class Session;

class SessionDriver final : public QObject {
 public:
  // With `realTime` false the QTimer is never armed; tests move a manual
  // clock and call advance().
  SessionDriver(Clock& clock, bool realTime);

  void attach(Session& session, std::function<void(const std::string&)> report);

  // Runs `command` (a call into the session) and re-arms. A call made from
  // inside another one runs at once, as part of it.
  void command(const std::function<void()>& command);
  void rearm();

  // Runs `begin` (a command) once `window`, just shown, has been drawn
  // for the first time, so that the first ticks of the timers (the
  // transcript header, the count of the knowledge base, the greeting) come
  // after the first frame instead of holding it up. In virtual time, and
  // if no frame comes within half a second, it runs at once.
  void afterFirstFrame(QWidget& window, std::function<void()> begin);

  // Virtual time (tests): moves the manual clock on by `ms`, serving every
  // timer when it falls due.
  void advance(ManualClock& clock, std::int64_t ms);

  bool armed() const { return timer_.isActive(); }
  int remainingMs() const { return timer_.remainingTime(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void tick();
  void beginNow();

  Clock& clock_;
  bool realTime_;
  Session* session_ = nullptr;
  std::function<void(const std::string&)> report_;
  QTimer timer_;
  int depth_ = 0;
  std::function<void()> begin_;  // waiting for the first frame
};

}  // namespace vb
