// The text cursor stops blinking when nothing happens and blinks again at
// the next key.
#include <QGuiApplication>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

#include "tests/ui/ui_fixture.h"
#include "ui/cursor_blink.h"

namespace vb::uitest {
namespace {

TEST(CursorBlink, StandsStillAfterAWhileAndBlinksAgainAtAKey) {
  app();
  const int platform = QGuiApplication::styleHints()->cursorFlashTime();
  ASSERT_GT(platform, 0);
  QLineEdit field;
  {
    CursorBlinkRest rest(50);
    QTest::qWait(20);
    QTest::keyClick(&field, Qt::Key_A);  // a key puts the rest off
    QTest::qWait(40);
    EXPECT_TRUE(rest.blinking());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rest.blinking(); }, 1000));
    EXPECT_EQ(QGuiApplication::styleHints()->cursorFlashTime(), 0);
    QTest::keyClick(&field, Qt::Key_B);
    EXPECT_EQ(QGuiApplication::styleHints()->cursorFlashTime(), platform);
    QTest::qWait(100);
  }
  // Gone, it leaves the platform's blinking as it found it.
  EXPECT_EQ(QGuiApplication::styleHints()->cursorFlashTime(), platform);
}

}  // namespace
}  // namespace vb::uitest
