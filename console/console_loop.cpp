#include "console/console_loop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>

#include "console/explain_text.h"
#include "console/help_text.h"
#include "console/input_line.h"
#include "console/options.h"
#include "engine/text.h"

namespace vb {
namespace {

// No line the field could take is longer than this; the rest of a longer
// line from a pipe is skipped instead of piling up in memory.
constexpr std::size_t kMaxLineBytes = 64 * 1024;

std::string shownReserved(char c) {
  return std::string("«") + c + "»";
}

}  // namespace

int ConsoleLoop::pollTimeout() const {
  std::int64_t due = session_.nextDueMs();
  if (due < 0) return -1;
  std::int64_t wait = due - clock_.nowMs();
  return static_cast<int>(std::clamp<std::int64_t>(wait, 0, INT_MAX));
}

void ConsoleLoop::explain() {
  std::string text = io_.trace ? explainTurn(*io_.trace) : std::string();
  view_.aside(text.empty() ? "Почему: ещё не было ответа на фразу.\n" : text);
}

void ConsoleLoop::takeLine(std::string_view utf8) {
  session_.runDue();
  if (view_.closed()) return;
  InputLine line = readInputLine(utf8);
  using K = InputLine::Kind;
  if (io_.replay && line.kind != K::Empty) io_.replay->startLine();
  switch (line.kind) {
    case K::Empty:
      return;
    case K::Phrase:
      session_.InputChange(line.phrase);
      session_.SpeakClick();
      if (io_.explain) explain();
      break;
    case K::Why:
      explain();
      return;
    case K::Refused:
      view_.note("Фраза не принята: знак " + shownReserved(line.reserved) +
                 " служебный в базе знаний (нельзя ^ _ ; @ |).");
      return;
    case K::NewDialogue:
      session_.N2Click();
      break;
    case K::Undo:
      if (view_.lineCount() == 0) {
        view_.note("Отменять нечего: поле диалога пусто.");
        return;
      }
      session_.CancelClick();
      break;
    case K::Exit:
      session_.N4Click();
      break;
    case K::Help:
      io_.screen.raw(STDOUT_FILENO, commandsText());
      return;
    case K::UnknownCommand:
      view_.note("Нет такой команды: " + line.command + " (список: /help).");
      return;
  }
  session_.runDue();
}

bool ConsoleLoop::takeBytes(std::string_view bytes) {
  if (io_.editor) {
    for (char byte : bytes) {
      switch (io_.editor->feed(byte)) {
        case LineEditor::Event::Line:
          io_.screen.eraseInput();
          takeLine(io_.editor->takeLine());
          if (view_.closed()) return true;
          io_.screen.drawInput();
          break;
        case LineEditor::Event::EndOfInput:
          return false;
        case LineEditor::Event::Redraw:
          io_.screen.drawInput();
          break;
        case LineEditor::Event::None:
          break;
      }
    }
    return true;
  }
  for (char byte : bytes) {
    if (byte == '\n') {
      std::string line;
      line.swap(pending_);
      takeLine(line);
      if (view_.closed()) return true;
    } else if (pending_.size() < kMaxLineBytes) {
      pending_.push_back(byte);
    }
  }
  return true;
}

int ConsoleLoop::endOfInput() {
  if (!pending_.empty()) {
    std::string line;
    line.swap(pending_);
    takeLine(line);
  }
  if (view_.closed()) return kExitOk;
  io_.screen.eraseInput();
  session_.N4Click();
  if (view_.closed()) return kExitOk;
  view_.note("Диалог не записан в Base\\Log.dat; программа закрыта без записи.");
  return kExitFailure;
}

int ConsoleLoop::takeSignal(int signo) {
  switch (signo) {
    case SIGTSTP:
      io_.screen.eraseInput();
      if (io_.raw) io_.raw->restore();
      io_.interrupts.stopHere();
      [[fallthrough]];
    case SIGCONT:
      if (io_.raw && !io_.raw->active()) io_.raw->apply();
      io_.screen.drawInput();
      return -1;
    default:
      // Ends the program as the window's close box does: nothing is saved.
      io_.screen.eraseInput();
      return 128 + signo;
  }
}

int ConsoleLoop::run() {
  io_.screen.drawInput();
  while (!view_.closed()) {
    pollfd fds[2] = {{io_.interrupts.fd(), POLLIN, 0}, {io_.in, POLLIN, 0}};
    int ready = ::poll(fds, 2, pollTimeout());
    if (ready < 0 && errno != EINTR) return endOfInput();
    if (ready > 0 && fds[0].revents != 0) {
      while (int signo = io_.interrupts.take()) {
        if (int status = takeSignal(signo); status >= 0) return status;
      }
    }
    if (ready > 0 && fds[1].revents != 0) {
      char buf[4096];
      ssize_t n = ::read(io_.in, buf, sizeof buf);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (n <= 0 || !takeBytes(std::string_view(buf, static_cast<std::size_t>(n)))) {
        return endOfInput();
      }
    }
    if (!view_.closed()) session_.runDue();
  }
  io_.screen.eraseInput();
  return kExitOk;
}

}  // namespace vb
