#include "ui/hints.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPointer>
#include <QStyleFactory>
#include <QToolTip>
#include <QWidget>
#include <climits>

#include "ui/colour.h"
#include "ui/deferred_icon.h"

namespace vb {

int HintDelayStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                              QStyleHintReturn* returnData) const {
  if (hint == SH_ToolTip_WakeUpDelay) return 1;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QIcon HintDelayStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                   const QWidget* widget) const {
  if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton) {
    return QProxyStyle::standardIcon(icon, option, widget);
  }
  // The style may be replaced before the icon is drawn.
  QPointer<QStyle> base = baseStyle();
  return deferredIcon([base, icon] { return base ? base->standardIcon(icon) : QIcon(); });
}

bool HintFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->toolTip().isEmpty()) return false;
  auto* help = static_cast<QHelpEvent*>(event);
  QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), INT_MAX);
  return true;
}

void installHints() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QApplication::setStyle(new HintDelayStyle(QStyleFactory::create("Fusion")));
  QPalette hint = QToolTip::palette();
  hint.setColor(QPalette::ToolTipBase, toQColor(kHintColour));
  hint.setColor(QPalette::ToolTipText, Qt::black);
  QToolTip::setPalette(hint);
  qApp->installEventFilter(new HintFilter(qApp));
}

}  // namespace vb
