#include "console/interrupts.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <system_error>

namespace vb {
namespace {

int writeFd = -1;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGTSTP, SIGCONT};

extern "C" void onSignal(int signo) {
  int saved = errno;
  unsigned char byte = static_cast<unsigned char>(signo);
  [[maybe_unused]] auto n = ::write(writeFd, &byte, 1);
  errno = saved;
}

void install(int signo, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: poll() returns at once
  ::sigaction(signo, &action, nullptr);
}

}  // namespace

Interrupts::Interrupts() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    throw std::system_error(errno, std::generic_category(), "pipe");
  }
  readFd_ = fds[0];
  writeFd = fds[1];
  for (int signo : kSignals) install(signo, onSignal);
}

Interrupts::~Interrupts() {
  for (int signo : kSignals) install(signo, SIG_DFL);
  ::close(readFd_);
  ::close(writeFd);
  writeFd = -1;
}

int Interrupts::take() {
  unsigned char byte = 0;
  return ::read(readFd_, &byte, 1) == 1 ? byte : 0;
}

void Interrupts::stopHere() {
  install(SIGTSTP, SIG_DFL);
  ::raise(SIGTSTP);
  install(SIGTSTP, onSignal);
}

}  // namespace vb
