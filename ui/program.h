#pragma once
// The desktop program: the sound players, the four windows in their order
// (main window, editor dialog, About window, virtual keyboard), the session
// that drives them, the scheduler's timer and the key hook. Built by the
// program's main and by the tests. Only what the main window's first frame
// needs is made before it is shown.

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "session/clock.h"

namespace vb {

class CursorBlinkRest;
class DiskFileStore;
class KeyHook;
class RandomSource;
class Session;
class SessionDriver;
class SoundBank;
class TForm1;
class TForm2;
class TForm3;
class TForm4;

class Program {
 public:
  // Builds the main window and the session; the main window's creation
  // step runs (its failures are shown and the program goes on). Throws
  // Failure when a wave file cannot be opened: then no window is shown.
  // With `realTime` false the timers move only by advance() (tests, with a
  // ManualClock).
  Program(DiskFileStore& files, RandomSource& random, Clock& clock, bool realTime = true);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Shows the main window centred. Once it is drawn, what its first frame
  // does not need is made (the hidden windows, the audio device, then
  // `drawn`), and the timers start.
  void start(std::function<void()> drawn = {});
  // Called once the main window has closed.
  void onClosed(std::function<void()> closed);

  // Virtual time: runs the timers for `ms` of the manual clock.
  void advance(ManualClock& clock, std::int64_t ms);

  TForm1& mainWindow() { return *form1_; }
  // The hidden windows are made after the main window's first frame, or
  // when asked for before that.
  TForm2& editor();
  TForm3& about();
  TForm4& keyboard();
  Session& session() { return *session_; }
  SessionDriver& driver() { return *driver_; }
  SoundBank& sounds() { return *sounds_; }

 private:
  void buildHiddenWindows();

  DiskFileStore& files_;
  std::unique_ptr<SoundBank> sounds_;
  std::unique_ptr<SessionDriver> driver_;
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<TForm2> form2_;
  std::unique_ptr<TForm3> form3_;
  std::unique_ptr<TForm4> form4_;
  std::unique_ptr<KeyHook> hook_;
  std::unique_ptr<CursorBlinkRest> blink_;
};

// Once per process, before the first window: the style with its hint
// delay, the hint colour, and the fall-back faces for the program's fonts.
void prepareApplication();

// The start-up failure that keeps the program from showing a window.
void showFatalError(const QString& message);

}  // namespace vb
