#pragma once
// The desktop program: the sound players, the four windows in their order
// (main window, editor dialog, About window, virtual keyboard), the session
// that drives them, the scheduler's timer and the key hook. Built by the
// program's main and by the tests.

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
  // Builds everything; the main window's creation step runs (its failures
  // are shown and the program goes on). Throws Failure when a wave file
  // cannot be opened: then no window is shown. With `realTime` false the
  // timers move only by advance() (tests, with a ManualClock).
  Program(DiskFileStore& files, RandomSource& random, Clock& clock, bool realTime = true);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Shows the main window centred and starts the timers.
  void start();
  // Called once the main window has closed.
  void onClosed(std::function<void()> closed);

  // Virtual time: runs the timers for `ms` of the manual clock.
  void advance(ManualClock& clock, std::int64_t ms);

  TForm1& mainWindow() { return *form1_; }
  TForm2& editor() { return *form2_; }
  TForm3& about() { return *form3_; }
  TForm4& keyboard() { return *form4_; }
  Session& session() { return *session_; }
  SessionDriver& driver() { return *driver_; }
  SoundBank& sounds() { return *sounds_; }

 private:
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
