#pragma once
// Hints for all windows of the program: they appear 1 ms after the pointer
// comes to rest, stay for as long as it rests there, and have the program's
// light-blue background (15780518).

#include <QObject>
#include <QProxyStyle>

namespace vb {

inline constexpr int kHintColour = 15780518;

// The application style: the base style with a 1 ms hint delay. The icons
// of the buttons for tool bars and menu bars that do not fit are made when
// first drawn (deferredIcon): every menu bar asks for one as it is built.
class HintDelayStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                     const QWidget* widget) const override;
};

// Shows a widget's hint without a time-out.
class HintFilter final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Installs the style, the hint palette and the filter on the application.
void installHints();

}  // namespace vb
