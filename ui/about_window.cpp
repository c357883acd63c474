#include "ui/about_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

#include "engine/disk_file_store.h"
#include "engine/failure.h"
#include "session/session.h"
#include "ui/codec.h"
#include "ui/colour.h"
#include "ui/fonts.h"
#include "ui/session_driver.h"
#include "ui/window_placement.h"

namespace vb {
namespace {

constexpr const char* kPhoto = "Images\\Foto.bmp";
constexpr const char* kHistory = "ReadMe.Txt";

QLabel* plainLabel(QWidget* parent, const QString& text, const QRect& place) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(place);
  return label;
}

}  // namespace

TForm3::TForm3(Session& session, SessionDriver& driver, DiskFileStore& files,
               std::function<void(const std::string&)> report)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session),
      driver_(driver),
      files_(files),
      report_(std::move(report)) {
  setObjectName("Form3");
  setWindowTitle(tr8("О программе"));
  setFont(makeFont("MS Sans Serif", 8, FontStyle::Regular));
  setAutoFillBackground(true);
  QPalette silver = palette();
  silver.setColor(QPalette::Window, toQColor(kSilver));
  setPalette(silver);
  setCursor(Qt::ArrowCursor);

  auto* upper = new QFrame(this);
  upper->setGeometry(0, 0, 377, 153);
  auto* bevel = new QFrame(upper);
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel->setGeometry(3, 5, 371, 146);

  QLabel* heading = plainLabel(upper, tr8("АВТОР ПРОДУКТА:"), QRect(44, 8, 105, 14));
  heading->setObjectName("Label2");
  heading->setFont(makeFont("Courier New", 8, FontStyle::BoldItalic));

  Inform_ = new QLabel(upper);
  Inform_->setObjectName("Inform");
  Inform_->setGeometry(6, 24, 179, 108);
  Inform_->setScaledContents(true);
  Inform_->setToolTip(tr8("Здесь мне 5 лет."));

  Label1_ = plainLabel(upper,
                       tr8("Программа написана в среде Qt 6 на языке C++.\n"
                           "Разработчик: Дрозмир\n"
                           "04.2004г. - 03.2005г.\n"
                           "ВЕРСИЯ: 2.546b"),
                       QRect(187, 9, 182, 82));
  Label1_->setObjectName("Label1");
  Label1_->setFont(makeFont("Comic Sans MS", 8, FontStyle::Regular));
  Label1_->setAlignment(Qt::AlignCenter);
  Label1_->setWordWrap(true);
  QPalette black = Label1_->palette();
  black.setColor(QPalette::WindowText, Qt::black);
  Label1_->setPalette(black);

  QLabel* contact = plainLabel(upper, tr8("Связь с автором: ReadMe.Txt"), QRect(22, 133, 160, 13));
  contact->setObjectName("Label3");

  Button1_ = new QPushButton(tr8("История"), upper);
  Button1_->setObjectName("Button1");
  Button1_->setGeometry(187, 96, 185, 25);
  Button1_->setCursor(Qt::PointingHandCursor);
  Button2_ = new QPushButton(tr8("Закрыть"), upper);
  Button2_->setObjectName("Button2");
  Button2_->setGeometry(187, 120, 185, 25);
  Button2_->setCursor(Qt::PointingHandCursor);

  auto* lower = new QFrame(this);
  lower->setGeometry(1, 151, 376, 148);
  Memo1_ = new QPlainTextEdit(lower);
  Memo1_->setObjectName("Memo1");
  Memo1_->setGeometry(3, 4, 370, 140);
  Memo1_->setReadOnly(true);
  Memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1_->setFont(makeFont("Courier New", 8, FontStyle::Regular));
  Memo1_->viewport()->setCursor(Qt::ForbiddenCursor);
  QPalette memo = Memo1_->palette();
  memo.setColor(QPalette::Base, toQColor(kSilver));
  Memo1_->setPalette(memo);

  setFixedWidth(377);
  fold();

  connect(Button1_, &QPushButton::clicked, this, [this] { historyClick(); });
  connect(Button2_, &QPushButton::clicked, this,
          [this] { driver_.command([this] { session_.aboutClose(); }); });

  // The photo is read once, when the window is created.
  QPixmap photo;
  const auto path = files_.locate(kPhoto);
  if (path && photo.load(QString::fromStdString(path->string()))) {
    Inform_->setPixmap(photo);
  } else if (report_) {
    report_(cannotOpen(kPhoto).what());
  }
}

void TForm3::setOuterHeight(int height) {
  setFixedHeight(height - kFrameHeight);
}

void TForm3::present() {
  fold();
  centreOnDesktop(*this);
  show();
  setEnabled(true);
  raise();
  activateWindow();
}

void TForm3::historyClick() {
  Lines lines;
  try {
    lines = files_.readLines(kHistory);
  } catch (const Failure& failure) {
    if (report_) report_(failure.what());
    return;
  }
  QStringList text;
  text.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) text << toQt(line);
  Memo1_->setPlainText(text.join('\n'));
  const int height = outerHeight() + 1;
  if (height == kFolded + 1) {
    setOuterHeight(kUnfolded);
  } else if (height == kUnfolded + 1) {
    setOuterHeight(kFolded);
  } else {
    setOuterHeight(height);
  }
}

void TForm3::closeEvent(QCloseEvent* event) {
  // Closed by the window system: the same as its close button.
  event->ignore();
  driver_.command([this] { session_.aboutClose(); });
}

void TForm3::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  closeIfMinimised(*this, event);
}

}  // namespace vb
