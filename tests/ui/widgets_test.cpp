// The window's building blocks on their own: text and colour conversion,
// fonts, hints, the dialogue view and the input field.
#include <QFontDatabase>
#include <QFontInfo>
#include <QHelpEvent>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>

#include "tests/ui/ui_fixture.h"
#include "ui/codec.h"
#include "ui/colour.h"
#include "ui/dialogue_view.h"
#include "ui/fonts.h"
#include "ui/hints.h"
#include "ui/input_field.h"

namespace vb::uitest {
namespace {

class WidgetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app();
    prepareApplication();
  }
};

TEST_F(WidgetsTest, Windows1251AndQStringBothWays) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    if (b != 0x98) all.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(fromQt(toQt(all)), all);
  EXPECT_EQ(toQt(w("Ёж №5")), q("Ёж №5"));
  EXPECT_EQ(fromQt(q("日本 😀 ok")), "?? ? ok");
}

TEST_F(WidgetsTest, ColoursAreRedInTheLowestByte) {
  EXPECT_EQ(toQColor(12632256), QColor(192, 192, 192));
  EXPECT_EQ(toQColor(0x808000), QColor(0, 128, 128));
  EXPECT_EQ(toQColor(15780518), QColor(166, 202, 240));
  EXPECT_EQ(fromQColor(QColor(1, 2, 3)), 0x030201);
  EXPECT_EQ(toQColor(-16777201), QApplication::palette().color(QPalette::Button));
  EXPECT_EQ(toQColor(-16777211), QApplication::palette().color(QPalette::Base));
}

TEST_F(WidgetsTest, MissingFacesFallBackToFacesWithCyrillic) {
  for (const char* face : {"MS Sans Serif", "Comic Sans MS", "Courier New"}) {
    const QFont font = makeFont(face, 8, FontStyle::Regular);
    const QString real = QFontInfo(font).family();
    EXPECT_TRUE(QFontDatabase::writingSystems(real).contains(QFontDatabase::Cyrillic))
        << face << " -> " << real.toStdString();
    EXPECT_TRUE(QFontMetrics(font).inFont(QChar(0x0416))) << face;  // Ж
  }
  EXPECT_EQ(QFontInfo(makeFont("Courier New", 8, FontStyle::Regular)).fixedPitch(), true);
  const QFont bi = makeFont("Arial", 12, FontStyle::BoldItalic);
  EXPECT_TRUE(bi.bold());
  EXPECT_TRUE(bi.italic());
  EXPECT_EQ(bi.pointSize(), 12);
  EXPECT_EQ(styleOf(bi), FontStyle::BoldItalic);
  EXPECT_EQ(makeFont("Arial", 0, FontStyle::Regular).pointSize(), 8);
  EXPECT_EQ(makeFont("Arial", -13, FontStyle::Regular).pixelSize(), 13);
  EXPECT_EQ(makeFont("Arial", 100000, FontStyle::Regular).pointSize(), 400);
}

TEST_F(WidgetsTest, HintsComeAtOnceInTheirColourAndStay) {
  EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1);
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), QColor(166, 202, 240));
  QWidget widget;
  widget.setToolTip(q("Индикатор"));
  widget.resize(100, 20);
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  QTest::qWait(50);
  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), widget.mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(&widget, &help);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), q("Индикатор"));
  QTest::qWait(200);
  EXPECT_TRUE(QToolTip::isVisible());
  QToolTip::hideText();
}

TEST_F(WidgetsTest, DialogueViewLinesAppendDeleteAndClear) {
  DialogueView view(nullptr);
  QTextCharFormat red;
  red.setForeground(Qt::red);
  red.setFontPointSize(14);
  view.appendLine("one", red);
  view.appendLine("", red);
  view.appendLine("a\nb", red);
  EXPECT_EQ(view.lineCount(), 3);
  EXPECT_EQ(view.document()->blockCount(), 3);
  EXPECT_EQ(view.lineText(2), "a b");
  view.appendLineAtCaret("service", QColor(0, 128, 128));
  EXPECT_EQ(view.lineFormat(3).foreground().color(), QColor(0, 128, 128));
  EXPECT_EQ(view.lineFormat(3).fontPointSize(), 14);
  view.deleteLastLine();
  view.deleteLastLine();
  EXPECT_EQ(view.lineCount(), 2);
  EXPECT_EQ(view.toPlainText(), "one\n");
  view.deleteLastLine();
  view.deleteLastLine();
  view.deleteLastLine();
  EXPECT_EQ(view.lineCount(), 0);
  EXPECT_TRUE(view.toPlainText().isEmpty());
  view.appendLine("again", red);
  view.clearLines();
  EXPECT_EQ(view.lineCount(), 0);
}

TEST_F(WidgetsTest, InputFieldLimitsTypingButNotWholeTexts) {
  InputField field(nullptr);
  field.show();
  field.setFocus();
  field.setWholeText(QString(300, 'a'));
  EXPECT_EQ(field.text().size(), 300);
  EXPECT_EQ(field.cursorPosition(), 0);
  field.setCursorPosition(300);
  QTest::keyClick(&field, Qt::Key_B);
  EXPECT_EQ(field.text().size(), 300);
  QTest::keyClick(&field, Qt::Key_Backspace);
  EXPECT_EQ(field.text().size(), 299);
  field.setWholeText(QString(250, 'a'));
  field.setCursorPosition(250);
  QTest::keyClicks(&field, "0123456789");
  EXPECT_EQ(field.text(), QString(250, 'a') + "01234");
  // Pasted text is cut to what still fits.
  field.setWholeText("xy");
  field.setCursorPosition(1);
  field.insert(QString(400, 'p'));
  EXPECT_EQ(field.text().size(), 255);
  EXPECT_TRUE(field.text().startsWith('x'));
  EXPECT_TRUE(field.text().endsWith('y'));
}

}  // namespace
}  // namespace vb::uitest
