#pragma once
// The application-wide key hook of Speed Word: every key press that the
// program receives, in any of its windows, is told to the session before
// the focused control gets it. The hook never swallows a key; presses with
// Alt held are not seen.

#include <QObject>

namespace vb {

class Session;
class SessionDriver;

class KeyHook final : public QObject {
 public:
  KeyHook(Session& session, SessionDriver& driver);
  ~KeyHook() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Session& session_;
  SessionDriver& driver_;
};

}  // namespace vb
