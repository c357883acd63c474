// Cpu\Cpu mode: the partner file's timer T6 and the editor dialog.
#include <algorithm>
#include <limits>

#include "session/session.h"

namespace vb {

void Session::T6Timer() {
  LoadtxtCpuCpu_ = files_.readLines(editor_.path);
  if (!editor_.timerMode) {
    // Enter mode: the next Enter takes the first line as it stands now.
    window_.setEnabled(Control::Talk, true);
    return;
  }
  timers_.setPeriod(TimerId::T6, std::max<std::int32_t>(editor_.interval, 1));
  window_.setEnabled(Control::Talk, false);
  speak();
}

EditorState& Session::editor() {
  return editor_;
}

void Session::N38Click() {
  const Scheduler::Event event(timers_);
  command([this] {
    editor_.path = config_.value(31);
    editor_.interval = 1;
    openWindow(Window::Editor);
  });
}

void Session::Button1Click() {
  const Scheduler::Event event(timers_);
  command([this] {
    config_.storeAdres(editor_.path);
    config_.save(files_);
    // Seconds as typed become the milliseconds T6 takes.
    const std::int64_t ms = static_cast<std::int64_t>(editor_.interval) * 1000;
    editor_.interval = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        ms, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    closeWindow(Window::Editor);
  });
}

void Session::Button2Click() {
  const Scheduler::Event event(timers_);
  closeWindow(Window::Editor);
}

}  // namespace vb
