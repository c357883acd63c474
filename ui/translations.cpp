#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vb {

bool installQtTranslations() {
  static bool loaded = false;
  static bool tried = false;
  if (tried) return loaded;
  tried = true;
  // The program speaks Russian whatever the user's locale says.
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  auto* translator = new QTranslator(QCoreApplication::instance());
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  for (const char* name : {"qtbase_ru", "qt_ru"}) {
    if (translator->load(QString::fromLatin1(name), folder)) {
      loaded = QCoreApplication::installTranslator(translator);
      return loaded;
    }
  }
  delete translator;
  return false;
}

}  // namespace vb
