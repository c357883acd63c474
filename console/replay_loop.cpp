#include "console/replay_loop.h"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "console/options.h"

namespace vb {
namespace {

// Timers that stop by themselves once they have done what they are for.
constexpr std::array<TimerId, 7> kPending = {TimerId::T3,  TimerId::T4,  TimerId::T8, TimerId::T9,
                                             TimerId::T10, TimerId::T12, TimerId::T13};

// The longest virtual wait for them at the end of input.
constexpr std::int64_t kPendingLimitMs = 10 * 60 * 1000;

constexpr std::size_t kMaxLineBytes = 64 * 1024;

}  // namespace

void ReplayLoop::runUntil(std::int64_t ms) {
  while (!view_.closed()) {
    const std::int64_t due = session_.nextDueMs();
    if (due < 0 || due > ms) break;
    clock_.moveTo(due);
    session_.runDue();
  }
  clock_.moveTo(ms);
}

void ReplayLoop::finishPending() {
  const std::int64_t limit = clock_.nowMs() + kPendingLimitMs;
  auto pending = [&] {
    for (TimerId id : kPending) {
      if (session_.timers().running(id)) return true;
    }
    return false;
  };
  while (!view_.closed() && pending()) {
    const std::int64_t due = session_.nextDueMs();
    if (due < 0 || due > limit) break;
    runUntil(due);
  }
}

void ReplayLoop::takeLine(std::string line) {
  if (view_.closed()) {
    ++unanswered_;
    return;
  }
  runUntil(clock_.nowMs() + paceMs_);
  if (view_.closed()) {
    ++unanswered_;
    return;
  }
  lines_.takeLine(line);
}

int ReplayLoop::run() {
  std::string pending;
  char buf[4096];
  for (;;) {
    // Waits for input or a signal; the virtual clock does not move meanwhile.
    pollfd fds[2] = {{io_.interrupts.fd(), POLLIN, 0}, {io_.in, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[0].revents != 0) {
      // Every signal ends a replay as the close box would: nothing is saved.
      if (int signo = io_.interrupts.take(); signo != 0) return 128 + signo;
    }
    if (fds[1].revents == 0) continue;
    const ssize_t n = ::read(io_.in, buf, sizeof buf);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) {
      if (buf[i] == '\n') {
        takeLine(std::move(pending));
        pending.clear();
      } else if (pending.size() < kMaxLineBytes) {
        pending.push_back(buf[i]);
      }
    }
  }
  if (!pending.empty()) takeLine(std::move(pending));
  finishPending();
  if (unanswered_ > 0) {
    view_.note("Программа закрылась раньше конца ввода: строк без ответа — " +
               std::to_string(unanswered_) + ".");
  }
  if (view_.closed()) return kExitOk;
  return lines_.endOfInput();
}

}  // namespace vb
