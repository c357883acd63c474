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
#include <string>

#include "engine/file_store.h"
#include "engine/random_source.h"
#include "session/clock.h"
#include "session/config.h"
#include "session/settings.h"
#include "session/view.h"

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
  // nextDueMs() is -1 when no timer runs.
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
};

}  // namespace vb
