#include "ui/font_dialog_setup.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>

namespace vb {

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
