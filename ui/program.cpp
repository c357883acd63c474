#include "ui/program.h"

#include <QMessageBox>

#include "engine/disk_file_store.h"
#include "engine/failure.h"
#include "session/session.h"
#include "ui/about_window.h"
#include "ui/accessibility.h"
#include "ui/cursor_blink.h"
#include "ui/editor_dialog.h"
#include "ui/fonts.h"
#include "ui/hints.h"
#include "ui/key_hook.h"
#include "ui/keyboard_window.h"
#include "ui/main_window.h"
#include "ui/session_driver.h"
#include "ui/sound_bank.h"
#include "ui/translations.h"
#include "ui/window_placement.h"

namespace vb {

void prepareApplication() {
  installHints();
  installFontSubstitutes();
  installQtTranslations();
  installAccessibility();
}

void showFatalError(const QString& message) {
  QMessageBox box(QMessageBox::Critical, programTitle(), message, QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

Program::Program(DiskFileStore& files, RandomSource& random, Clock& clock, bool realTime)
    : files_(files) {
  prepareApplication();
  // The players open their files as the main window's elements are made.
  sounds_ = std::make_unique<SoundBank>(files);
  driver_ = std::make_unique<SessionDriver>(clock, realTime);
  form1_ = std::make_unique<TForm1>(*sounds_, files);
  session_ = std::make_unique<Session>(SessionDeps{files, random, clock, *form1_});
  form1_->attach(*session_, *driver_);
  driver_->attach(*session_, [this](const std::string& message) { form1_->showError(message); });
  driver_->command([this] { session_->FormCreate(form1_->appearance()); });
  hook_ = std::make_unique<KeyHook>(*session_, *driver_);
  blink_ = std::make_unique<CursorBlinkRest>();
}

void Program::buildHiddenWindows() {
  if (form2_) return;
  // A photo that cannot be read is reported now, after any failure of the
  // main window's creation step.
  auto report = [this](const std::string& message) { form1_->showError(message); };
  auto changed = [this] { form1_->appearance().clearInitialMark(); };
  form2_ = std::make_unique<TForm2>(*session_, *driver_, changed);
  form3_ = std::make_unique<TForm3>(*session_, *driver_, files_, report);
  form4_ = std::make_unique<TForm4>(*session_, *driver_);
  form1_->attachWindows(*form2_, *form3_, *form4_);
  for (QWidget* dialog : {static_cast<QWidget*>(form2_.get()), static_cast<QWidget*>(form3_.get()),
                          static_cast<QWidget*>(form4_.get())}) {
    makeDialogOf(*dialog, *form1_);
  }
}

TForm2& Program::editor() {
  buildHiddenWindows();
  return *form2_;
}

TForm3& Program::about() {
  buildHiddenWindows();
  return *form3_;
}

TForm4& Program::keyboard() {
  buildHiddenWindows();
  return *form4_;
}

Program::~Program() {
  blink_.reset();
  hook_.reset();
  session_.reset();
  form4_.reset();
  form3_.reset();
  form2_.reset();
  form1_.reset();
}

void Program::start(std::function<void()> drawn) {
  centreOnDesktop(*form1_);
  form1_->show();
  centreOnDesktop(*form1_);
  driver_->afterFirstFrame(*form1_, [this, drawn = std::move(drawn)] {
    // The session's first push shows the hidden windows' state, so they
    // exist before it starts.
    buildHiddenWindows();
    sounds_->prepare();
    if (drawn) drawn();
    session_->start();
  });
}

void Program::onClosed(std::function<void()> closed) {
  form1_->onClosed(std::move(closed));
}

void Program::advance(ManualClock& clock, std::int64_t ms) {
  driver_->advance(clock, ms);
}

}  // namespace vb
