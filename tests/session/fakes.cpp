#include "fakes.h"

#include <algorithm>

#include "engine/failure.h"

namespace vb::test {

// ------------------------------------------------------------ MemoryFiles

Lines MemoryFiles::readLines(std::string_view name) {
  ++reads_[key(name)];
  auto it = files_.find(key(name));
  if (it == files_.end() || unreadable_.count(key(name))) throw cannotOpen(name);
  return it->second;
}

void MemoryFiles::writeLines(std::string_view name, const Lines& lines) {
  ++writes_[key(name)];
  if (unwritable_.count(key(name))) throw cannotCreate(name);
  files_[key(name)] = lines;
}

void MemoryFiles::update(std::string_view name, const std::function<bool(Lines&)>& change) {
  Lines lines = readLines(name);
  if (change(lines)) writeLines(name, lines);
}

int MemoryFiles::reads(std::string_view name) const {
  auto it = reads_.find(key(name));
  return it == reads_.end() ? 0 : it->second;
}

int MemoryFiles::writes(std::string_view name) const {
  auto it = writes_.find(key(name));
  return it == writes_.end() ? 0 : it->second;
}

// ---------------------------------------------------------- RecordingView

void RecordingView::appendLine(LineKind kind, const std::string& text) {
  ++calls;
  lines.push_back({kind, text});
}

void RecordingView::deleteLastLine() {
  ++calls;
  if (!lines.empty()) lines.pop_back();
}

void RecordingView::clearLines() {
  ++calls;
  lines.clear();
}

void RecordingView::setInputText(const std::string& text) {
  ++calls;
  input = text;
}

void RecordingView::setInputReadOnly(bool value) {
  ++calls;
  readOnly = value;
}

void RecordingView::setEnabled(Control control, bool value) {
  ++calls;
  enabled[control] = value;
}

void RecordingView::setStatus(int panel, const std::string& text) {
  ++calls;
  status[panel] = text;
  if (panel == 0) statusHistory0.push_back(text);
}

void RecordingView::setMenuCaption(MenuItem item, const std::string& caption) {
  ++calls;
  captions[item] = caption;
}

void RecordingView::setChecked(MenuItem item, bool value) {
  ++calls;
  checks[item] = value;
}

void RecordingView::setWindowRect(const Rect& r) {
  ++calls;
  rect = r;
  moves.push_back(r);
  bool locked = readOnly;
  for (Control menu :
       {Control::MenuSystem, Control::MenuSettings, Control::MenuService, Control::MenuHelp}) {
    locked = locked && !isEnabled(menu);
  }
  lockedAtMove.push_back(locked);
}

void RecordingView::busyCursor(bool value) {
  ++calls;
  busy = value;
}

void RecordingView::showError(const std::string& message) {
  ++calls;
  errors.push_back(message);
}

void RecordingView::showWindow(Window window, bool shown) {
  ++calls;
  windows[window] = shown;
}

int RecordingView::count(Cue cue) const {
  return static_cast<int>(std::count(cues.begin(), cues.end(), cue));
}

std::vector<std::string> RecordingView::texts() const {
  std::vector<std::string> out;
  for (const Line& line : lines) out.push_back(line.text);
  return out;
}

std::vector<std::string> cpuLines(const RecordingView& view) {
  std::vector<std::string> out;
  for (const auto& line : view.lines) {
    if (line.kind == LineKind::Cpu) out.push_back(line.text);
  }
  return out;
}

// ------------------------------------------------------------- KeyedRandom

int KeyedRandom::random(int n) {
  if (n <= 0) return 0;
  ++draws_[n];
  auto it = queues_.find(n);
  if (it == queues_.end() || it->second.empty()) return n - 1;
  int v = it->second.front();
  it->second.pop_front();
  return ((v % n) + n) % n;
}

// ------------------------------------------------------------ ScriptedTurn

bool ScriptedTurn::run(std::string_view raw, DialogueState& state, TurnEffects& effects) {
  raws.emplace_back(raw);
  if (raw.empty()) return false;  // as the engine's turn
  TurnScript s;
  if (!scripts_.empty()) {
    s = std::move(scripts_.front());
    scripts_.pop_front();
  }
  state.TurnRoll = s.roll;
  effects.busyCursor(true);
  state.DelayedPhrase.clear();
  state.UserPhrase = std::string(raw);
  effects.playUserSound();
  effects.showUserLine(state.UserPhrase);
  if (s.failure) throw Failure(*s.failure);
  state.CpuPhrase = s.answer;
  state.DelayedPhrase = s.delayed;
  if (s.closing) effects.setClosingTimer(*s.closing);
  effects.playCpuSound();
  effects.showCpuLine(state.CpuPhrase);
  if (s.delay) effects.startDelayedTimer();
  effects.busyCursor(false);
  if (s.improvised) effects.setFollowUpTimer(s.roll == 1);
  return true;
}

// ---------------------------------------------------------------------- Rig

Lines configLines(const std::string& effect, const std::string& adres) {
  Lines lines;
  for (int n = 1; n <= 31; ++n) lines.push_back("Line" + std::to_string(n) + "=");
  lines[2] = "Effect=" + effect;
  for (int n : {7, 8, 9, 12, 13, 14, 15, 16, 17}) lines[n - 1] += "12632256";
  lines[18] += "Arial";
  lines[19] += "[fsBold]";
  lines[20] += "10";
  lines[22] += "Arial";
  lines[23] += "[]";
  lines[24] += "10";
  lines[30] = "Adres=" + adres;
  return lines;
}

Rig::Rig(RigOptions options) {
  // 10 main phrases (with 3 ';' and 2 '|' after the first line) and 4
  // branch lines.
  files.put("Base\\Words.Dat",
            {"KEY0^answer", "KEY1^a;b", "_branch1", "KEY2^c|d;", "KEY3^e", "_branch2", "KEY4^f", "",
             "KEY6^g|h", "_branch3", "KEY7^i", "KEY8^j", "_branch4", "KEY9^k;l"});
  files.put("Base\\Pause.Dat", {"Pause0", "Pause1", "Pause2"});
  files.put("Base\\Begin.dat", {"Hello0", "Hello1"});
  files.put("Base\\AI.dat", {"AI0", "AI1", "AI2"});
  files.put("Base\\CPUpvt.dat", {"Tail0", "Tail1"});
  files.put("Base\\BigString.Dat", {"Big0"});
  files.put("Base\\Povtor.Dat", {"Again0", "Again1"});
  files.put("Base\\W1.Dat", {"Q0", "Q1", "Q2"});
  files.put("Base\\W2.Dat", {"S0", "S1", "S2", "S3"});
  files.put("Base\\X.Dat", {"X0"});
  files.put("Base\\Collection.Dat", {});
  files.put("Base\\dictionary.dat", {w("привет"), w("пример")});
  files.put("Base\\Log.dat", {"old block"});
  files.put("Config.ini", configLines(options.effect));

  SessionDeps deps{files, options.random ? *options.random : random, clock, view};
  if (!options.realTurn) deps.turn = &turn;
  session = std::make_unique<Session>(deps);
  if (options.formCreate) session->FormCreate(settings);
  if (options.start) session->start();
}

void runFor(Session& session, ManualClock& clock, std::int64_t ms) {
  const std::int64_t target = clock.nowMs() + ms;
  while (true) {
    const std::int64_t due = session.nextDueMs();
    if (due < 0 || due > target) break;
    if (due > clock.nowMs()) clock.advance(due - clock.nowMs());
    session.runDue();
  }
  clock.advance(target - clock.nowMs());
}

void Rig::run(std::int64_t ms) {
  runFor(*session, clock, ms);
}

void Rig::send(const std::string& text) {
  type(text);
  session->SpeakClick();
}

}  // namespace vb::test
