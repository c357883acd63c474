// Parked timers change nothing anyone can see: ten virtual minutes of
// dialogue leave the same trace of view calls, sounds and file writes, at
// the same milliseconds, with parking on and off.
#include <gtest/gtest.h>

#include "fakes.h"
#include "session/guard.h"

namespace vb::test {
namespace {

using Trace = std::vector<std::string>;

std::string joined(const Lines& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "/";
  return out;
}

// Every call that shows, plays or writes something, stamped with the time.
class TracingView final : public View {
 public:
  TracingView(const Clock& clock, Trace& trace) : clock_(clock), trace_(trace) {}
  void appendLine(LineKind kind, const std::string& text) override {
    log("line " + std::to_string(static_cast<int>(kind)) + " " + text);
  }
  void deleteLastLine() override { log("delete"); }
  void clearLines() override { log("clear"); }
  void setInputText(const std::string& text) override { log("input " + text); }
  void setInputReadOnly(bool on) override { log("readonly " + std::to_string(on)); }
  void focusInput() override { log("focus"); }
  void setEnabled(Control c, bool on) override {
    log("enable " + std::to_string(static_cast<int>(c)) + std::to_string(on));
  }
  void setStatus(int panel, const std::string& text) override {
    log("status " + std::to_string(panel) + " " + text);
  }
  void setMenuCaption(MenuItem item, const std::string& text) override {
    log("caption " + std::to_string(static_cast<int>(item)) + " " + text);
  }
  void setChecked(MenuItem item, bool on) override {
    log("check " + std::to_string(static_cast<int>(item)) + std::to_string(on));
  }
  Rect windowRect() const override { return rect_; }
  void setWindowRect(const Rect& r) override {
    rect_ = r;
    log("rect " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
        std::to_string(r.width) + "," + std::to_string(r.height));
  }
  Rect desktopRect() const override { return {0, 0, 1920, 1080}; }
  void busyCursor(bool on) override { log("busy " + std::to_string(on)); }
  void play(Cue cue) override { log("play " + std::to_string(static_cast<int>(cue))); }
  void showError(const std::string& message) override { log("error " + message); }
  void showWindow(Window w, bool on) override {
    log("window " + std::to_string(static_cast<int>(w)) + std::to_string(on));
  }
  void closeMainWindow() override { log("close"); }
  void log(const std::string& what) {
    trace_.push_back(std::to_string(clock_.nowMs()) + " " + what);
  }

 private:
  const Clock& clock_;
  Trace& trace_;
  Rect rect_{100, 100, 593, 407};
};

class TracingFiles final : public FileStore {
 public:
  TracingFiles(MemoryFiles& files, TracingView& view) : files_(files), view_(view) {}
  Lines readLines(std::string_view name) override { return files_.readLines(name); }
  void writeLines(std::string_view name, const Lines& lines) override {
    view_.log("write " + std::string(name) + " " + joined(lines));
    files_.writeLines(name, lines);
  }
  void update(std::string_view name, const std::function<bool(Lines&)>& change) override {
    Lines lines = readLines(name);
    if (change(lines)) writeLines(name, lines);
  }

 private:
  MemoryFiles& files_;
  TracingView& view_;
};

struct Recorded {
  Trace trace;
  int passes = 0;  // how often the front end had to wake up
};

// The same ten minutes, typed key by key, with the timers parked or not.
Recorded dialogue(bool park, const std::string& effect) {
  Recorded run;
  ManualClock clock;
  MemoryFiles memory;
  TracingView view(clock, run.trace);
  TracingFiles files(memory, view);
  SeededRandom random(7);
  memory.put("Base\\Words.Dat", {w("ПРИВЕТ^Привет!;Здравствуй!|Рад тебя видеть.;"),
                                 w("КАК ДЕЛА^Хорошо.|А у тебя?;Отлично!|А у тебя как?;"),
                                 w("_ХОРОШО^Вот и славно.;"), w("ПОКА^До свидания!;@")});
  for (const char* name : {"Base\\Pause.Dat", "Base\\Begin.dat", "Base\\AI.dat", "Base\\W1.Dat",
                           "Base\\W2.Dat", "Base\\CPUpvt.dat", "Base\\Povtor.Dat"}) {
    memory.put(name, {std::string(name) + "0", std::string(name) + "1"});
  }
  for (const char* name : {"Base\\BigString.Dat", "Base\\X.Dat", "Base\\Collection.Dat"}) {
    memory.put(name, {"x"});
  }
  memory.put("Base\\dictionary.dat", {w("привет"), w("пример"), w("приём")});
  memory.put("Base\\Log.dat", {});
  memory.put("Config.ini", configLines(effect));
  Session session(SessionDeps{files, random, clock, view, nullptr, park});
  NullSettings settings;
  session.FormCreate(settings);
  session.start();

  auto wait = [&](std::int64_t ms) {
    const std::int64_t end = clock.nowMs() + ms;
    for (auto due = session.nextDueMs(); due >= 0 && due <= end; due = session.nextDueMs()) {
      clock.advance(std::max<std::int64_t>(0, due - clock.nowMs()));
      session.runDue();
      ++run.passes;
    }
    clock.advance(end - clock.nowMs());
  };
  int key = 0;
  auto type = [&](std::string_view utf8) {
    for (char c : w(utf8)) {
      session.InputChange(session.input() + c);
      wait(60 + 37 * (++key % 7));
    }
  };
  auto say = [&](std::string_view utf8, std::int64_t then) {
    type(utf8);
    session.TalkClick();  // Enter: only while T1 has enabled Talk
    wait(then);
  };

  wait(3'000);
  say("привет", 4'000);
  for (int i = 0; i < 4; ++i) say("как дела", 20'000);  // delayed parts
  say("хорошо", 2'000);
  for (const char* unknown : {"что нового", "какая погода", "ты кто"}) {
    say(unknown, 5'000);  // learned, and a remark may follow
  }
  wait(150'000);       // idle remarks
  session.N24Click();  // Speed Word
  wait(1'000);
  type("пр");
  session.KeyHook(HookKey::Down);
  wait(500);
  session.KeyHook(HookKey::Up);
  wait(500);
  session.N23Click();  // F5
  wait(2'000);
  session.InputChange("");
  wait(5'000);  // empty input with Speed Word on
  session.KeyHook(HookKey::Other);
  wait(5'000);
  type("при ");
  session.N24Click();
  session.InputChange("");
  type("abc");
  wait(30'000);  // a draft left in the field
  type("d^e");   // the guard refuses it where its sweep stands
  wait(2'000);
  say("как дела", 3'000);
  session.N3Click();  // Ctrl+Z
  wait(3'000);
  session.N2Click();
  wait(3'000);
  session.N12Click();
  wait(130'000);  // idle remarks behind the About window
  session.aboutClose();
  wait(5'000);
  session.Cpu31Click();
  wait(2'000);
  session.CpuUser1Click();
  wait(180'000);
  say("пока", 5'000);  // the closing animation, then Exit
  EXPECT_TRUE(session.closed());
  return run;
}

bool holds(const Trace& trace, const std::string& what) {
  return std::any_of(trace.begin(), trace.end(),
                     [&](const std::string& line) { return line.find(what) != line.npos; });
}

TEST(Parking, TenMinutesLeaveTheSameTraceParkedOrNot) {
  for (const std::string effect : {"NO", "YES"}) {
    const Recorded parked = dialogue(true, effect);
    const Recorded ticking = dialogue(false, effect);
    ASSERT_EQ(parked.trace.size(), ticking.trace.size()) << effect;
    for (std::size_t i = 0; i < parked.trace.size(); ++i) {
      ASSERT_EQ(parked.trace[i], ticking.trace[i]) << effect << " at entry " << i;
    }
    // The dialogue did what it is here for.
    for (const char* what : {"Рад тебя видеть.", "А у тебя", "Pause.Dat", "AI.dat", "До свидания!",
                             "write Base\\W", "write Base\\Log.dat", "close"}) {
      EXPECT_TRUE(holds(parked.trace, w(what))) << effect << ": " << what;
    }
    EXPECT_TRUE(holds(parked.trace, "status 0 " + w("пример")));
    EXPECT_TRUE(holds(parked.trace, "enable 100"));  // the guard disabled the view
    // Most of the 15 ms ticks were never served: the program slept.
    EXPECT_LT(parked.passes * 10, ticking.passes) << effect;
  }
}

TEST(Parking, GuardSkipLandsWhereTheStepsWould) {
  for (const std::string input : {"a", "ab", "abcdef"}) {
    for (std::int32_t start : {-3, 0, 1, 2, 5, 9}) {
      for (std::int64_t ticks : {0, 1, 2, 3, 7, 1000}) {
        std::int32_t stepped = start, skipped = start;
        for (std::int64_t i = 0; i < ticks; ++i) guardStep(input, stepped);
        guardSkip(input, skipped, ticks);
        EXPECT_EQ(skipped, stepped) << input << " " << start << " " << ticks;
      }
    }
  }
}

}  // namespace
}  // namespace vb::test
