// Start time and rest of the desktop program beside a bare Qt window, in one
// run on one X display ($DISPLAY, normally a private Xvfb: see
// start_and_rest.sh).
//
//   vb_start_and_rest --program PATH --bare PATH [--console PATH]
//                     [--runs 7] [--settle 3] [--windows 3] [--seconds 10]
//
// Start: from fork() to the MapNotify of the program's first top-level
// window, the two programs started in turn (the order alternating from run
// to run); the median of the runs.
// Rest: the programs (and the console, its standard input an open pipe that
// never brings a line) run side by side; after the settling time, the
// context switches of all their threads (voluntary and involuntary: each
// wake-up costs at least one) and their time on a processor (schedstat) are
// counted over `windows` spans of `seconds`; the median span is reported.

#include <X11/Xlib.h>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  std::string program, bare, console;
  int runs = 7;
  double settle = 3;
  int windows = 3;
  double seconds = 10;
};

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "vb_start_and_rest: %s\n", message.c_str());
  std::exit(2);
}

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (i + 1 >= argc) fail("no value for " + a);
    std::string v = argv[++i];
    if (a == "--program")
      o.program = v;
    else if (a == "--bare")
      o.bare = v;
    else if (a == "--console")
      o.console = v;
    else if (a == "--runs")
      o.runs = std::max(1, std::atoi(v.c_str()));
    else if (a == "--settle")
      o.settle = std::atof(v.c_str());
    else if (a == "--windows")
      o.windows = std::max(1, std::atoi(v.c_str()));
    else if (a == "--seconds")
      o.seconds = std::atof(v.c_str());
    else
      fail("unknown option " + a);
  }
  if (o.program.empty() || o.bare.empty()) fail("--program and --bare are needed");
  return o;
}

struct Child {
  pid_t pid = -1;
  int input = -1;  // write end of the console's standard input
};

Child spawn(const std::string& path, bool console) {
  int fds[2] = {-1, -1};
  if (console && pipe(fds) != 0) fail("pipe");
  Child child;
  child.pid = fork();
  if (child.pid < 0) fail("fork");
  if (child.pid == 0) {
    int null = open("/dev/null", O_RDWR);
    if (console) {
      dup2(fds[0], 0);
      close(fds[0]);
      close(fds[1]);
    } else {
      dup2(null, 0);
    }
    dup2(null, 1);
    dup2(null, 2);
    execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  if (console) {
    close(fds[0]);
    child.input = fds[1];
  }
  return child;
}

void end(Child& child) {
  if (child.pid <= 0) return;
  kill(child.pid, SIGTERM);
  int status = 0;
  for (int i = 0; i < 200; ++i) {
    if (waitpid(child.pid, &status, WNOHANG) == child.pid) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (i == 199) {
      kill(child.pid, SIGKILL);
      waitpid(child.pid, &status, 0);
    }
  }
  if (child.input >= 0) close(child.input);
  child = Child{};
}

double ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Waits for a top-level window to be mapped; the milliseconds since `since`.
double waitForMap(Display* display, Clock::time_point since) {
  const int fd = ConnectionNumber(display);
  while (true) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && !event.xmap.override_redirect) return ms(Clock::now() - since);
    }
    if (ms(Clock::now() - since) > 30000) fail("no window within 30 s");
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, 100);
  }
}

void drain(Display* display) {
  XSync(display, False);
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
  }
}

double startOnce(Display* display, const std::string& path) {
  drain(display);
  const auto t0 = Clock::now();
  Child child = spawn(path, false);
  const double t = waitForMap(display, t0);
  end(child);
  return t;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Context switches and processor time of every thread of a process.
struct TaskCounts {
  long long switches = 0;
  long long runNs = 0;
};
using Sample = std::map<int, TaskCounts>;

long long field(const std::string& status, const std::string& name) {
  auto at = status.find(name);
  if (at == std::string::npos) return 0;
  return std::atoll(status.c_str() + at + name.size());
}

Sample sample(pid_t pid) {
  Sample s;
  const std::string dir = "/proc/" + std::to_string(pid) + "/task";
  DIR* d = opendir(dir.c_str());
  if (!d) return s;
  while (dirent* e = readdir(d)) {
    if (e->d_name[0] == '.') continue;
    const std::string task = dir + "/" + e->d_name;
    std::stringstream status, sched;
    status << std::ifstream(task + "/status").rdbuf();
    sched << std::ifstream(task + "/schedstat").rdbuf();
    TaskCounts c;
    const std::string text = status.str();
    c.switches =
        field(text, "voluntary_ctxt_switches:") + field(text, "nonvoluntary_ctxt_switches:");
    sched >> c.runNs;
    s[std::atoi(e->d_name)] = c;
  }
  closedir(d);
  return s;
}

// Per second: wake-ups, and the share of one core in percent.
struct Rest {
  double wakeups = 0;
  double core = 0;
};

Rest between(const Sample& a, const Sample& b, double seconds) {
  long long switches = 0, runNs = 0;
  for (const auto& [tid, now] : b) {
    auto before = a.find(tid);
    TaskCounts from = before == a.end() ? TaskCounts{} : before->second;
    switches += now.switches - from.switches;
    runNs += now.runNs - from.runNs;
  }
  return {switches / seconds, runNs / 1e9 / seconds * 100};
}

std::string ratio(double a, double b) {
  char buf[64];
  if (b <= 0) {
    std::snprintf(buf, sizeof buf, "%s", a <= 0 ? "1 (both 0)" : "n/a (bare 0)");
  } else {
    std::snprintf(buf, sizeof buf, "%.2f", a / b);
  }
  return buf;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = parse(argc, argv);
  Display* display = XOpenDisplay(nullptr);
  if (!display) fail("cannot open the X display");
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

  // Start.
  std::vector<double> program, bare;
  for (int run = 0; run < o.runs; ++run) {
    if (run % 2 == 0) {
      program.push_back(startOnce(display, o.program));
      bare.push_back(startOnce(display, o.bare));
    } else {
      bare.push_back(startOnce(display, o.bare));
      program.push_back(startOnce(display, o.program));
    }
  }
  const double startProgram = median(program), startBare = median(bare);

  // Rest, side by side.
  struct Running {
    const char* name;
    Child child;
    std::vector<Rest> spans;
  };
  std::vector<Running> all;
  drain(display);
  for (const auto& [name, path] :
       {std::pair{"verbonik", o.program}, std::pair{"bare Qt window", o.bare}}) {
    const auto t0 = Clock::now();
    all.push_back({name, spawn(path, false), {}});
    waitForMap(display, t0);
  }
  if (!o.console.empty()) all.push_back({"verbonik-console", spawn(o.console, true), {}});
  std::this_thread::sleep_for(std::chrono::duration<double>(o.settle));
  for (int w = 0; w < o.windows; ++w) {
    std::vector<Sample> before;
    for (auto& r : all) before.push_back(sample(r.child.pid));
    const auto t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(o.seconds));
    const double seconds = ms(Clock::now() - t0) / 1000;
    for (std::size_t i = 0; i < all.size(); ++i) {
      all[i].spans.push_back(between(before[i], sample(all[i].child.pid), seconds));
    }
  }
  for (auto& r : all) end(r.child);
  XCloseDisplay(display);

  auto restOf = [](const Running& r) {
    std::vector<double> w, c;
    for (const Rest& s : r.spans) {
      w.push_back(s.wakeups);
      c.push_back(s.core);
    }
    return Rest{median(w), median(c)};
  };
  const Rest restProgram = restOf(all[0]), restBare = restOf(all[1]);

  std::printf("start to a mapped window, median of %d (alternating)\n", o.runs);
  std::printf("  verbonik        %8.1f ms\n  bare Qt window  %8.1f ms\n  ratio           %8.2f\n",
              startProgram, startBare, startProgram / startBare);
  std::printf("at rest, median of %d spans of %.0f s after %.0f s settling\n", o.windows, o.seconds,
              o.settle);
  std::printf("  %-18s %12s %12s\n", "", "wake-ups/s", "% of a core");
  for (const auto& r : all) {
    const Rest rest = restOf(r);
    std::printf("  %-18s %12.2f %12.3f\n", r.name, rest.wakeups, rest.core);
  }
  std::printf("  ratio verbonik / bare: wake-ups %s, core %s\n",
              ratio(restProgram.wakeups, restBare.wakeups).c_str(),
              ratio(restProgram.core, restBare.core).c_str());
  std::printf("  beyond the bare window: %+.2f wake-ups/s, %+.3f %% of a core\n",
              restProgram.wakeups - restBare.wakeups, restProgram.core - restBare.core);
  return 0;
}
