#pragma once
// The dialogue session: the main window's behaviour without the window.
// It owns the shared dialogue state, the thirteen timers and the model of
// what the window shows; front ends call the commands below and mirror the
// model through View. Handler names are those of the main window.
//
// This header is the contract between the session and its front ends (the
// Qt program, the console, the tests). Commands may be added; the ones here
// keep their names and meaning.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/file_store.h"
#include "engine/random_source.h"
#include "session/clock.h"
#include "session/config.h"
#include "session/scheduler.h"
#include "session/settings.h"
#include "session/shared_state.h"
#include "session/transcript.h"
#include "session/turn_runner.h"
#include "session/view.h"
#include "session/window_model.h"

namespace vb {

// Keys as the Speed Word key hook tells them apart.
enum class HookKey { Up, Down, Other };

// The editor dialog's controls (TForm2); they keep their values for the
// whole run and the partner-file timer reads them as they stand.
struct EditorState {
  std::string path = "D:\\Txt.Dat";  // Edit1
  bool timerMode = false;            // RB2 selected; RB1 otherwise
  std::int32_t interval = 1;         // SpinEdit1
};

struct SessionDeps {
  FileStore& files;
  RandomSource& random;
  Clock& clock;
  View& view;
  // The dialogue turn; the engine's own when null (tests script it).
  TurnRunner* turn = nullptr;
  // Timers whose ticks would change nothing are parked (the program then
  // sleeps at rest); off, every timer ticks at every period. What the
  // session does is the same either way.
  bool parkTimers = true;
};

class Session {
 public:
  explicit Session(SessionDeps deps);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The main window's creation step: read Base\Words.dat, load Config.ini
  // and apply it through `settings`, install the key hook. A failure is
  // shown and the steps after it are skipped.
  void FormCreate(SettingsSink& settings);
  // The event loop starts: the timers that run at start become due now.
  void start();

  // Time. The front end calls runDue() when the clock reaches nextDueMs()
  // (and after every command); due timers are served in a fixed order.
  // nextDueMs() is -1 when no timer runs. A command given at a moment comes
  // after the timers due up to that moment: a front end that moves a clock
  // of its own serves them first.
  std::int64_t nextDueMs() const;
  void runDue();

  // Commands of the main window.
  void SpeakClick();     // Send
  void TalkClick();      // Enter: clicks Speak while Talk is enabled
  void N2Click();        // New dialogue
  void CancelClick();    // Undo
  void N3Click();        // Ctrl+Z: clicks Cancel while enabled
  void N4Click();        // Exit: save the transcript to Base\Log.dat, close
  void CpuUser1Click();  // Cpu\User mode
  void Cpu31Click();     // Cpu\Cpu mode
  void N24Click();       // Speed Word on/off
  void N23Click();       // F5: complete the word, while enabled
  void EnRusClick();     // layout conversion of Input
  void N22Click();       // open the virtual keyboard
  void N12Click();       // open the About window
  void N38Click();       // open the editor dialog
  // The user changed the text of Input (typing, deleting, pasting).
  void InputChange(const std::string& text);
  // Every key press the program receives, before the focused control.
  void KeyHook(HookKey key);

  // Editor dialog: the controls as the user leaves them, OK and Cancel.
  EditorState& editor();
  void Button1Click();  // OK
  void Button2Click();  // Cancel

  // Virtual keyboard: the handed-over completion, a key that rewrote the
  // field whole (a write-back happens only when the text differs), its
  // [Enter] and F5, and the hide command.
  const std::string& handedCompletion() const;
  void keyboardWrite(const std::string& text);
  void keyboardEnter();
  void keyboardF5();
  void keyboardHide();

  // About window: its close button.
  void aboutClose();

  // The model, for front ends and tests.
  const std::string& input() const;
  const ConfigList& config() const;

  // Beyond the window's own handlers:
  // The front end tells that the keyboard focus left Input; the next T1
  // tick gives it back (T1 calls View::focusInput only then, and when T1
  // starts again after another window or Cpu\Cpu mode).
  void InputFocusLost();
  // Ctrl+S: clicks EnRus while it is enabled.
  void N36Click();
  // The other windows closed by the window system act as their own close
  // command: the editor as Cancel (Button2Click), the keyboard as
  // keyboardHide, the About window as aboutClose.

  const WindowModel& window() const { return window_; }
  // The shared state as it stands now: a parked guard's sweep is brought
  // to where its skipped ticks would have moved it.
  SharedState state() const;
  const Lines& transcript() const { return transcript_.lines(); }
  const Scheduler& timers() const { return timers_; }
  const Lines& speedWordList() const { return SpeedWord_; }
  const Lines& partnerLines() const { return LoadtxtCpuCpu_; }
  bool speedWordOn() const { return window_.checked(MenuItem::N24); }
  bool cpuCpuMode() const { return window_.checked(MenuItem::Cpu31); }
  bool hookInstalled() const { return hookInstalled_; }
  // Exit has closed the main window; no timer runs any more.
  bool closed() const { return closed_; }

 private:
  friend class SessionTurnEffects;

  // Timer ticks; they throw Failure, which the scheduler reports.
  void T1Timer();
  void T2Timer();
  void T3Timer();
  void T4Timer();
  void T5Timer();
  void T6Timer();
  void T7Timer();
  void T8Timer();
  void T9Timer();
  void T10Timer();
  void T11Timer();
  void T12Timer();
  void T13Timer();
  void defineTimers();
  // The rest tests of the timers that park (see Scheduler).
  bool T1AtRest() const;
  bool T11AtRest() const;
  // Line 3 of the configuration switches the start-up effect off.
  bool effectOff() const;
  // The F5 item follows panel 0: enabled while it shows a Speed Word match.
  bool completeItemWanted() const;

  // A command's body: a failure is shown and the command ends there.
  void command(const std::function<void()>& body);
  void report(const std::string& message);

  // The turn (Send) and Exit; they throw.
  void speak();
  void saveLogAndClose();

  // Input set by the program, and the input-change handling.
  void setInput(const std::string& text);
  void inputChanged();
  // Guard: disables the dialogue view and empties Input.
  void refuseInput();

  // Utterances: the view line and the transcript line.
  void sayUser(const std::string& phrase);
  void sayCpu(const std::string& phrase);
  void sayService(const std::string& text);
  // remark + five spaces + a line of CPUpvt.dat when it equals the last
  // turn's answer, ignoring case.
  std::string withRepeatTail(const std::string& remark);
  // Line Random(n) of a file read whole.
  std::string randomLine(std::string_view file);

  // Opening and closing the other windows.
  void openWindow(Window window);
  void closeWindow(Window window);
  void updateKeyboardKeys();

  FileStore& files_;
  RandomSource& random_;
  Clock& clock_;
  View& view_;
  std::unique_ptr<TurnRunner> engineTurn_;
  TurnRunner& turn_;

  WindowModel window_;
  Transcript transcript_;
  SharedState state_;
  Scheduler timers_;
  ConfigList config_;
  EditorState editor_;
  Lines LoadtxtCpuCpu_;
  Lines SpeedWord_;
  std::string handedCompletion_;
  bool hookInstalled_ = false;
  bool inputFocused_ = false;
  bool closed_ = false;
};

}  // namespace vb
