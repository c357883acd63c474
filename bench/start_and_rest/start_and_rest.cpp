// Start time and rest of the desktop program beside a bare Qt window, in one
// run on one X display ($DISPLAY, normally a private Xvfb: see
// start_and_rest.sh).
//
//   vb_start_and_rest --gui [NAME=]PATH... --bare [NAME=]PATH
//                     [--console [NAME=]PATH...]
//                     [--runs 7] [--settle 3] [--windows 3] [--seconds 10]
//
// Several --gui programs (a build before a change and after it) are
// measured in the same run, so their figures can be compared.
// Start: from fork() to the MapNotify of the program's first top-level
// window, and to the first drawing into it (its first frame), the two
// programs started in turn (the order alternating from run to run); the
// median of the runs. Beside the wall time, the processor time the program
// had used by its first frame, which a busy machine disturbs less.
// Rest: the programs (and the console, its standard input an open pipe that
// never brings a line) run side by side; after the settling time, the
// context switches of all their threads (voluntary and involuntary: each
// wake-up costs at least one) and their time on a processor (schedstat) are
// counted over `windows` spans of `seconds`; the median span is reported.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
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

// A program measured: a name for the table and the executable.
struct Program {
  std::string name, path;
};

struct Options {
  Program bare;
  std::vector<Program> guis, consoles;
  int runs = 7;
  double settle = 3;
  int windows = 3;
  double seconds = 10;
};

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "vb_start_and_rest: %s\n", message.c_str());
  std::exit(2);
}

// NAME=PATH, or PATH alone (named after its file).
Program named(const std::string& value) {
  const auto eq = value.find('=');
  if (eq != std::string::npos) return {value.substr(0, eq), value.substr(eq + 1)};
  return {value.substr(value.rfind('/') + 1), value};
}

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) fail("no value for " + a);
    const std::string v = argv[++i];
    if (a == "--gui") {
      o.guis.push_back(named(v));
    } else if (a == "--bare") {
      o.bare = named(v);
    } else if (a == "--console") {
      o.consoles.push_back(named(v));
    } else if (a == "--runs") {
      o.runs = std::max(1, std::atoi(v.c_str()));
    } else if (a == "--settle") {
      o.settle = std::atof(v.c_str());
    } else if (a == "--windows") {
      o.windows = std::max(1, std::atoi(v.c_str()));
    } else if (a == "--seconds") {
      o.seconds = std::atof(v.c_str());
    } else {
      fail("unknown option " + a);
    }
  }
  if (o.guis.empty() || o.bare.path.empty()) fail("--gui and --bare are needed");
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

// Milliseconds from the spawn to the first top-level window mapped, and to
// its first frame (the first drawing into it, as the Damage extension
// reports it).
struct Start {
  double mapped = 0;
  double frame = 0;
  double cpu = 0;  // processor time of all its threads up to the frame
};

double cpuMs(pid_t pid) {
  long long ns = 0;
  const std::string dir = "/proc/" + std::to_string(pid) + "/task";
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      if (e->d_name[0] == '.') continue;
      long long run = 0;
      std::ifstream(dir + "/" + e->d_name + "/schedstat") >> run;
      ns += run;
    }
    closedir(d);
  }
  return ns / 1e6;
}

Start waitForWindow(Display* display, int damageEvent, pid_t pid, Clock::time_point since) {
  const int fd = ConnectionNumber(display);
  std::map<Window, Damage> damages;
  Window shown = 0;
  Start start;
  auto watch = [&](Window w) {
    if (!damages.count(w)) damages[w] = XDamageCreate(display, w, XDamageReportNonEmpty);
  };
  while (start.frame == 0) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == CreateNotify && !event.xcreatewindow.override_redirect) {
        watch(event.xcreatewindow.window);
      } else if (event.type == MapNotify && !event.xmap.override_redirect && shown == 0) {
        start.mapped = ms(Clock::now() - since);
        shown = event.xmap.window;
        watch(shown);
      } else if (event.type == damageEvent + XDamageNotify && shown != 0 &&
                 reinterpret_cast<XDamageNotifyEvent&>(event).drawable == shown) {
        start.frame = ms(Clock::now() - since);
        start.cpu = cpuMs(pid);
      }
    }
    if (start.frame == 0) {
      if (ms(Clock::now() - since) > 30000) fail("no window drawn within 30 s");
      pollfd p{fd, POLLIN, 0};
      poll(&p, 1, 100);
    }
  }
  for (auto& [w, damage] : damages) XDamageDestroy(display, damage);
  XSync(display, False);
  return start;
}

void drain(Display* display) {
  XSync(display, False);
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
  }
}

Start startOnce(Display* display, int damageEvent, const std::string& path) {
  drain(display);
  const auto t0 = Clock::now();
  Child child = spawn(path, false);
  const Start t = waitForWindow(display, damageEvent, child.pid, t0);
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
    std::snprintf(buf, sizeof buf, "%s", a <= 0 ? "1 (both 0)" : "(bare 0)");
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
  int damageEvent = 0, damageError = 0;
  if (!XDamageQueryExtension(display, &damageEvent, &damageError)) fail("no Damage extension");
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

  // Start: each run starts every window program once, the bare one among
  // them, in an order that turns round from run to run.
  std::vector<Program> windows = o.guis;
  windows.push_back(o.bare);
  std::vector<std::vector<Start>> starts(windows.size());
  for (int run = 0; run < o.runs; ++run) {
    for (std::size_t k = 0; k < windows.size(); ++k) {
      const std::size_t i = (k + static_cast<std::size_t>(run)) % windows.size();
      starts[i].push_back(startOnce(display, damageEvent, windows[i].path));
    }
  }
  auto medianOf = [&](std::size_t i, double Start::*field) {
    std::vector<double> v;
    for (const Start& s : starts[i]) v.push_back(s.*field);
    return median(v);
  };

  // Rest: all of them side by side, the consoles too.
  struct Running {
    std::string name;
    Child child;
    std::vector<Rest> spans;
  };
  std::vector<Running> all;
  drain(display);
  for (const Program& p : windows) {
    const auto t0 = Clock::now();
    all.push_back({p.name, spawn(p.path, false), {}});
    waitForWindow(display, damageEvent, all.back().child.pid, t0);
  }
  for (const Program& p : o.consoles) all.push_back({p.name, spawn(p.path, true), {}});
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

  const std::size_t bare = windows.size() - 1;
  std::printf("start, median of %d runs (the programs taking turns)\n", o.runs);
  std::printf("  %-22s %10s %10s %10s %14s %14s %14s\n", "", "mapped ms", "drawn ms", "cpu ms",
              "mapped / bare", "drawn / bare", "cpu / bare");
  for (std::size_t i = 0; i < windows.size(); ++i) {
    std::printf("  %-22s %10.1f %10.1f %10.1f %14.2f %14.2f %14.2f\n", windows[i].name.c_str(),
                medianOf(i, &Start::mapped), medianOf(i, &Start::frame), medianOf(i, &Start::cpu),
                medianOf(i, &Start::mapped) / medianOf(bare, &Start::mapped),
                medianOf(i, &Start::frame) / medianOf(bare, &Start::frame),
                medianOf(i, &Start::cpu) / medianOf(bare, &Start::cpu));
  }
  const Rest restBare = restOf(all[bare]);
  std::printf("at rest, median of %d spans of %.0f s after %.0f s settling\n", o.windows, o.seconds,
              o.settle);
  std::printf("  %-22s %10s %10s %14s %14s\n", "", "wake-ups/s", "% core", "wake-ups / bare",
              "core / bare");
  for (const auto& r : all) {
    const Rest rest = restOf(r);
    std::printf("  %-22s %10.2f %10.3f %14s %14s\n", r.name.c_str(), rest.wakeups, rest.core,
                ratio(rest.wakeups, restBare.wakeups).c_str(),
                ratio(rest.core, restBare.core).c_str());
  }
  return 0;
}
