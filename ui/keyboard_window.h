#pragma once
// TForm4, the virtual keyboard "Виртуальная клавиатура": the sign and
// letter keys, space, Bcksp, [Enter], its own Caps Lock, and the menu with
// the hide command and F5. Every key rewrites the main window's input field
// whole through the session; the keys never take the focus.

#include <QWidget>
#include <map>
#include <string>

#include "input/virtual_keyboard.h"
#include "session/view.h"

class QAction;
class QMenuBar;
class QPushButton;

namespace vb {

class Session;
class SessionDriver;

class TForm4 final : public QWidget {
 public:
  static constexpr int kClientWidth = 353;
  static constexpr int kClientHeight = 145;

  TForm4(Session& session, SessionDriver& driver);

  // Opened by the main window's command; centred the first time only.
  void present();
  void setKeyEnabled(Control control, bool enabled);

  QPushButton& key(const std::string& name);
  QAction& hideItem() { return *hide_; }
  QAction& completeItem() { return *complete_; }
  const VirtualKeyboard& model() const { return model_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void press(const VirtualKey& key);

  Session& session_;
  SessionDriver& driver_;
  VirtualKeyboard model_;
  QMenuBar* menu_;
  QAction* hide_;
  QAction* complete_;
  std::map<std::string, QPushButton*, std::less<>> keys_;
  bool placed_ = false;
};

}  // namespace vb
