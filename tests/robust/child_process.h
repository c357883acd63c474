#pragma once
// A program of the build started as a child process whose standard output
// the test reads, to be killed or waited for.

#include <sys/types.h>

#include <string>
#include <vector>

namespace vb::robust {

class ChildProcess {
 public:
  // Starts `args[0]` with the arguments after it; standard output goes to
  // a pipe, standard error to `errorFile` (nothing when empty).
  explicit ChildProcess(const std::vector<std::string>& args, const std::string& errorFile = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  void kill(int signal);
  // Reads standard output to its end, then waits for the child; returns
  // the status as waitpid gives it.
  int finish();
  const std::string& output() const { return output_; }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  bool reaped_ = false;
  std::string output_;
};

// The complete lines of `text` (a last line without its LF is dropped: the
// child was killed while writing it).
std::vector<std::string> completeLines(const std::string& text);

}  // namespace vb::robust
