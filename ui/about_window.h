#pragma once
// TForm3, the About window "О программе": the photo, the program's text,
// a contact line and, folded away below, the history read from ReadMe.Txt.
// Its outer height is 179 (folded) or 327 (unfolded) pixels.

#include <QWidget>
#include <functional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vb {

class DiskFileStore;
class Session;
class SessionDriver;

class TForm3 final : public QWidget {
 public:
  static constexpr int kFolded = 179;
  static constexpr int kUnfolded = 327;
  // The caption and border of the original window: outer = client + 27.
  static constexpr int kFrameHeight = 27;

  // Reads Images\Foto.bmp; a failure is reported through `report` and the
  // photo box stays empty.
  TForm3(Session& session, SessionDriver& driver, DiskFileStore& files,
         std::function<void(const std::string&)> report);

  // Opened by the main window's command: folded, centred, shown.
  void present();
  void fold() { setOuterHeight(kFolded); }
  int outerHeight() const { return height() + kFrameHeight; }

  QPushButton& Button1() { return *Button1_; }
  QPushButton& Button2() { return *Button2_; }
  QPlainTextEdit& Memo1() { return *Memo1_; }
  QLabel& Inform() { return *Inform_; }
  QLabel& Label1() { return *Label1_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void setOuterHeight(int height);
  void historyClick();

  Session& session_;
  SessionDriver& driver_;
  DiskFileStore& files_;
  std::function<void(const std::string&)> report_;
  QLabel* Inform_;
  QLabel* Label1_;
  QPushButton* Button1_;
  QPushButton* Button2_;
  QPlainTextEdit* Memo1_;
};

}  // namespace vb
