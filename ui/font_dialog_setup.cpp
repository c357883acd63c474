#include "ui/font_dialog_setup.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>

namespace vb {

void presetFontDialog(QFontDialog& dialog, const QFont& font) {
  // The dialog finds the style by its name, and Qt's translations rename
  // the style a font asks for ("Полужирный Курсив") while the list keeps
  // the face's own names ("Bold Italic"): the preset names the face's own
  // style, the plainest one of the asked weight and slant.
  QFont preset = font;
  const QString family = font.families().value(0, font.family());
  QString best;
  for (const QString& style : QFontDatabase::styles(family)) {
    if (QFontDatabase::bold(family, style) != font.bold() ||
        QFontDatabase::italic(family, style) != font.italic()) {
      continue;
    }
    if (best.isEmpty() || style.size() < best.size()) best = style;
  }
  if (!best.isEmpty()) preset.setStyleName(best);
  dialog.setCurrentFont(preset);
}

void limitFontDialog(QFontDialog& dialog, bool eightPointsOnly) {
  // The effects group holds the underline and strike-out boxes.
  for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
    if (!group->findChildren<QCheckBox*>().isEmpty()) group->hide();
  }
  if (!eightPointsOnly) return;
  QFont eight = dialog.currentFont();
  eight.setPointSize(8);
  dialog.setCurrentFont(eight);
  // The size field shows the size; the size list is the dialog's third.
  for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
    if (edit->text() == QLatin1String("8")) edit->setEnabled(false);
  }
  const QList<QListView*> lists = dialog.findChildren<QListView*>();
  if (lists.size() >= 3) lists[2]->setEnabled(false);
}

}  // namespace vb
