#include "ui/editor_dialog.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "session/session.h"
#include "ui/codec.h"
#include "ui/fonts.h"
#include "ui/session_driver.h"
#include "ui/window_placement.h"

namespace vb {

TForm2::TForm2(Session& session, SessionDriver& driver, std::function<void()> changed)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session),
      driver_(driver),
      changed_(std::move(changed)) {
  setObjectName("Form2");
  setWindowTitle(tr8("Редактор"));
  setFont(makeFont("MS Sans Serif", 8, FontStyle::Regular));
  setFixedSize(305, 185);

  auto* pathGroup = new QGroupBox(tr8("Путь файла для внешнего ввода-вывода:"), this);
  pathGroup->setGeometry(8, 4, 289, 52);
  Edit1_ = new QLineEdit(pathGroup);
  Edit1_->setObjectName("Edit1");
  Edit1_->setGeometry(8, 22, 273, 21);

  auto* readGroup = new QGroupBox(tr8("Считывание фразы из файла:"), this);
  readGroup->setGeometry(8, 62, 289, 82);
  RB1_ = new QRadioButton(tr8("По нажатию клавиши [ENTER]"), readGroup);
  RB1_->setObjectName("RB1");
  RB1_->setGeometry(8, 22, 273, 18);
  RB2_ = new QRadioButton(tr8("По таймеру  каждые:"), readGroup);
  RB2_->setObjectName("RB2");
  RB2_->setGeometry(8, 50, 137, 18);
  SpinEdit1_ = new QSpinBox(readGroup);
  SpinEdit1_->setObjectName("SpinEdit1");
  SpinEdit1_->setRange(1, 36000);
  SpinEdit1_->setGeometry(148, 48, 81, 22);
  auto* seconds = new QLabel(tr8("сек."), readGroup);
  seconds->setGeometry(236, 51, 40, 16);

  Button1_ = new QPushButton(tr8("Хорошо"), this);
  Button1_->setObjectName("Button1");
  Button1_->setGeometry(56, 152, 89, 25);
  Button1_->setDefault(true);
  Button2_ = new QPushButton(tr8("Отмена"), this);
  Button2_->setObjectName("Button2");
  Button2_->setGeometry(160, 152, 89, 25);

  connect(Edit1_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (loading_) return;
    session_.editor().path = fromQt(text);
    if (changed_) changed_();
  });
  connect(SpinEdit1_, &QSpinBox::valueChanged, this, [this](int value) {
    if (loading_) return;
    session_.editor().interval = value;
    if (changed_) changed_();
  });
  connect(RB2_, &QRadioButton::toggled, this, [this](bool timer) {
    SpinEdit1_->setEnabled(timer);
    if (loading_) return;
    session_.editor().timerMode = timer;
  });
  connect(Button1_, &QPushButton::clicked, this,
          [this] { driver_.command([this] { session_.Button1Click(); }); });
  connect(Button2_, &QPushButton::clicked, this,
          [this] { driver_.command([this] { session_.Button2Click(); }); });
  connect(Edit1_, &QLineEdit::returnPressed, Button1_, &QPushButton::click);

  refresh(false);
}

void TForm2::refresh(bool userChange) {
  const EditorState& state = session_.editor();
  const QString path = toQt(state.path);
  const bool pathChanged = Edit1_->text() != path;
  const bool intervalChanged = SpinEdit1_->value() != state.interval;
  loading_ = true;
  if (pathChanged) Edit1_->setText(path);
  // A value outside the field's range (milliseconds after OK) stays in the
  // session as it is; the field shows the nearest it can.
  if (intervalChanged) SpinEdit1_->setValue(state.interval);
  (state.timerMode ? RB2_ : RB1_)->setChecked(true);
  SpinEdit1_->setEnabled(state.timerMode);
  loading_ = false;
  if (userChange && (pathChanged || intervalChanged) && changed_) changed_();
}

void TForm2::present() {
  refresh(true);
  if (!isVisible()) centreOnDesktop(*this);
  show();
  setEnabled(true);
  raise();
  activateWindow();
  Edit1_->setFocus();
}

void TForm2::closeEvent(QCloseEvent* event) {
  // Closed by the window system: the same as Cancel.
  event->ignore();
  driver_.command([this] { session_.Button2Click(); });
}

void TForm2::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  closeIfMinimised(*this, event);
}

}  // namespace vb
