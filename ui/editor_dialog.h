#pragma once
// TForm2, the editor dialog "Редактор" of the external file: the path, how
// a phrase is read from the file (Enter or a timer) and the interval. Its
// controls mirror the session's EditorState: the user's every change goes
// there at once, and the dialog shows the state again when it opens.

#include <QWidget>
#include <functional>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vb {

class Session;
class SessionDriver;

class TForm2 final : public QWidget {
 public:
  // `changed` runs on every change of the path or the interval that is not
  // the restore command's own (it clears the initial-settings mark).
  TForm2(Session& session, SessionDriver& driver, std::function<void()> changed);

  // Shows the dialog centred, with the session's values.
  void present();
  // Shows the session's values again; `userChange` says whether a change
  // of the path or the interval counts as the user's.
  void refresh(bool userChange);

  QLineEdit& Edit1() { return *Edit1_; }
  QRadioButton& RB1() { return *RB1_; }
  QRadioButton& RB2() { return *RB2_; }
  QSpinBox& SpinEdit1() { return *SpinEdit1_; }
  QPushButton& Button1() { return *Button1_; }
  QPushButton& Button2() { return *Button2_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  Session& session_;
  SessionDriver& driver_;
  std::function<void()> changed_;
  QLineEdit* Edit1_;
  QRadioButton* RB1_;
  QRadioButton* RB2_;
  QSpinBox* SpinEdit1_;
  QPushButton* Button1_;
  QPushButton* Button2_;
  bool loading_ = false;
};

}  // namespace vb
