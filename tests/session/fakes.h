#pragma once
// Stand-ins for the session's surroundings: a folder in memory, a view that
// records what it is told, draws chosen per Random(n), a scripted turn, and
// a rig that boots a session on them and moves virtual time.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/file_store.h"
#include "engine/random_source.h"
#include "engine/text.h"
#include "session/clock.h"
#include "session/session.h"
#include "session/turn_runner.h"
#include "session/view.h"

namespace vb::test {

// UTF-8 test text as the program's Windows-1251.
inline std::string w(std::string_view utf8) {
  return utf8To1251(utf8);
}

// Files by name, matched without regard to letter case.
class MemoryFiles final : public FileStore {
 public:
  Lines readLines(std::string_view name) override;
  void writeLines(std::string_view name, const Lines& lines) override;
  void update(std::string_view name, const std::function<bool(Lines&)>& change) override;

  void put(std::string_view name, Lines lines) { files_[key(name)] = std::move(lines); }
  void remove(std::string_view name) { files_.erase(key(name)); }
  bool exists(std::string_view name) const { return files_.count(key(name)) != 0; }
  const Lines& at(std::string_view name) const { return files_.at(key(name)); }
  // Reads of a name fail as if it were locked away; writes fail as on a
  // read-only disk.
  void failReads(std::string_view name, bool fail = true) { toggle(unreadable_, name, fail); }
  void failWrites(std::string_view name, bool fail = true) { toggle(unwritable_, name, fail); }
  int reads(std::string_view name) const;
  int writes(std::string_view name) const;

 private:
  static std::string key(std::string_view name) { return upper1251(name); }
  static void toggle(std::set<std::string>& set, std::string_view name, bool on) {
    if (on) {
      set.insert(key(name));
    } else {
      set.erase(key(name));
    }
  }
  std::map<std::string, Lines> files_;
  std::set<std::string> unreadable_;
  std::set<std::string> unwritable_;
  std::map<std::string, int> reads_;
  std::map<std::string, int> writes_;
};

// Remembers the model a front end would show and counts the calls.
class RecordingView final : public View {
 public:
  void appendLine(LineKind kind, const std::string& text) override;
  void deleteLastLine() override;
  void clearLines() override;
  void setInputText(const std::string& text) override;
  void setInputReadOnly(bool readOnly) override;
  void focusInput() override { ++focusCalls; }
  void setEnabled(Control control, bool enabled) override;
  void setStatus(int panel, const std::string& text) override;
  void setMenuCaption(MenuItem item, const std::string& caption) override;
  void setChecked(MenuItem item, bool checked) override;
  Rect windowRect() const override { return rect; }
  void setWindowRect(const Rect& r) override;
  Rect desktopRect() const override { return desktop; }
  void busyCursor(bool busy) override;
  void play(Cue cue) override { cues.push_back(cue); }
  void showError(const std::string& message) override;
  void showWindow(Window window, bool shown) override;
  void closeMainWindow() override { ++closeCalls; }

  int count(Cue cue) const;
  bool isEnabled(Control control) const { return enabled.count(control) && enabled.at(control); }
  // The texts of the view's lines, in order.
  std::vector<std::string> texts() const;

  struct Line {
    LineKind kind;
    std::string text;
  };
  std::vector<Line> lines;
  std::string input;
  bool readOnly = false;
  std::map<Control, bool> enabled;
  std::map<int, std::string> status;
  std::vector<std::string> statusHistory0;  // every text panel 0 was given
  std::map<MenuItem, std::string> captions;
  std::map<MenuItem, bool> checks;
  std::map<Window, bool> windows;
  Rect rect{100, 100, 593, 407};
  Rect desktop{0, 0, 1920, 1080};
  std::vector<Rect> moves;
  // At each move: were the input and the four menus locked?
  std::vector<bool> lockedAtMove;
  bool busy = false;
  std::vector<Cue> cues;
  std::vector<std::string> errors;
  int focusCalls = 0;
  int closeCalls = 0;
  int calls = 0;  // every call that changes what is shown
};

// Random(n) from a queue kept for each n; an empty queue gives n - 1, the
// largest draw, which ends every draw-until loop of the session at once
// (T2's threshold is then 120, T10 says nothing, T7 jumps 250 times).
class KeyedRandom final : public RandomSource {
 public:
  int random(int n) override;
  void reseed() override { ++reseeds; }
  void push(int n, std::initializer_list<int> values) {
    for (int v : values) queues_[n].push_back(v);
  }
  std::size_t pending(int n) const { return queues_.count(n) ? queues_.at(n).size() : 0; }
  int draws(int n) const { return draws_.count(n) ? draws_.at(n) : 0; }
  int reseeds = 0;

 private:
  std::map<int, std::deque<int>> queues_;
  std::map<int, int> draws_;
};

// A turn told in advance what to answer.
struct TurnScript {
  std::string answer = "Answer";
  std::string delayed;  // DelayedPhrase; T13 is started when `delay` is set
  bool delay = false;
  bool improvised = false;             // then T9 follows TurnRoll
  std::int32_t roll = 2;               // TurnRoll
  std::optional<bool> closing;         // T4 on or off
  std::optional<std::string> failure;  // a Failure after the user's line
};

class ScriptedTurn final : public TurnRunner {
 public:
  bool run(std::string_view raw, DialogueState& state, TurnEffects& effects) override;
  void next(TurnScript script) { scripts_.push_back(std::move(script)); }
  std::vector<std::string> raws;  // the raw phrases the turns were given

 private:
  std::deque<TurnScript> scripts_;
};

class NullSettings final : public SettingsSink {
 public:
  void setColour(ColourTarget, Colour) override {}
  void setUserStyle(const LineStyle&) override {}
  void setCpuStyle(const LineStyle&) override {}
  void setMyStringPreset(const FontPreset&) override {}
};

// A Config.ini of 31 lines; line 3 holds `effect`, line 31 `Adres=adres`.
Lines configLines(const std::string& effect, const std::string& adres = "partner.txt");

struct RigOptions {
  std::string effect = "NO";  // Config.ini line 3
  bool realTurn = false;      // the engine's turn instead of the scripted one
  bool formCreate = true;
  bool start = true;
  RandomSource* random = nullptr;  // instead of the rig's KeyedRandom
};

// Serves every timer of `session` that falls due within the next `ms`
// milliseconds of `clock`, then moves the clock to the end of that span.
void runFor(Session& session, ManualClock& clock, std::int64_t ms);

// A knowledge base in memory and a session on it, in virtual time.
struct Rig {
  explicit Rig(RigOptions options = {});

  // Serves every timer that falls due within the next `ms` milliseconds.
  void run(std::int64_t ms);
  // Types `text` into Input as the user would.
  void type(const std::string& text) {
    view.input = text;
    session->InputChange(text);
  }
  void send(const std::string& text);

  ManualClock clock;
  MemoryFiles files;
  KeyedRandom random;
  RecordingView view;
  ScriptedTurn turn;
  NullSettings settings;
  std::unique_ptr<Session> session;
};

// The texts of the program's lines in the view, in order.
std::vector<std::string> cpuLines(const RecordingView& view);

}  // namespace vb::test
