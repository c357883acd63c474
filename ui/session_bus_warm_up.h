#pragma once
// The screen-reader bridge of the desktop connects to the session bus the
// first time a widget's text is set, and the window waits meanwhile (a few
// milliseconds; longer where no bus runs and the bus library first tries to
// launch one). Connecting on a second thread as soon as the application
// exists lets that wait overlap with building the main window.

#include <thread>

namespace vb {

class SessionBusWarmUp {
 public:
  // Starts connecting; make it right after the application object.
  SessionBusWarmUp();
  // Waits for the attempt to end.
  ~SessionBusWarmUp();
  SessionBusWarmUp(const SessionBusWarmUp&) = delete;
  SessionBusWarmUp& operator=(const SessionBusWarmUp&) = delete;

 private:
  std::thread thread_;
};

}  // namespace vb
