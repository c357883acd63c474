#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "ui/codec.h"
#include "ui/dialogue_view.h"

namespace vb {
namespace {

// A frame that offers only the children standing inside it.
class SeenChildren final : public QAccessibleWidget {
 public:
  explicit SeenChildren(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Pane) {}

  int childCount() const override { return static_cast<int>(seen().size()); }
  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> children = seen();
    if (index < 0 || index >= children.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(children[index]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child ? static_cast<int>(seen().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
  }

 private:
  QList<QWidget*> seen() const {
    QList<QWidget*> children;
    const QRect inside = widget()->rect();
    for (QWidget* w : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!w->isWindow() && w->isVisibleTo(widget()) && inside.intersects(w->geometry())) {
        children << w;
      }
    }
    return children;
  }
};

// The dialogue view read as "who: what" line by line; what is drawn stays
// the bare phrases.
class DialogueText final : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit DialogueText(DialogueView* view) : QAccessibleWidget(view, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.multiLine = true;
    return s;
  }

  using QAccessibleWidget::text;

  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return characterCount(); }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override { return all().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(all().size()); }
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return {};
  }

 private:
  QString all() const { return static_cast<DialogueView*>(widget())->spokenText(); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
  Q_UNUSED(className);
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget) return nullptr;
  const QString name = object->objectName();
  if (name == QLatin1String("Form2") || name == QLatin1String("Form3") ||
      name == QLatin1String("Form4")) {
    return new QAccessibleWidget(widget, QAccessible::Dialog);
  }
  if (name == QLatin1String("TabControl2")) return new SeenChildren(widget);
  if (auto* view = dynamic_cast<DialogueView*>(widget)) return new DialogueText(view);
  return nullptr;
}

}  // namespace

QString userSpeaker() {
  return tr8("Вы");
}

QString programSpeaker() {
  return tr8("Вербоник");
}

void installAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(factory);
}

}  // namespace vb
