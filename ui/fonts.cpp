#include "ui/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QStringList>
#include <algorithm>
#include <initializer_list>

#include "ui/codec.h"

namespace vb {

namespace {

struct FaceMapping {
  const char* windowsFace;
  std::initializer_list<const char*> installed;  // the first one present is drawn
};

// Metric-compatible faces first (Liberation keeps Arial's, Times New Roman's
// and Courier New's widths), then close faces with Cyrillic letters.
const FaceMapping kFaces[] = {
    {"Arial", {"Liberation Sans", "Arimo", "DejaVu Sans", "Nimbus Sans"}},
    {"Arial Narrow", {"Liberation Sans Narrow", "Nimbus Sans Narrow", "DejaVu Sans Condensed"}},
    {"MS Sans Serif", {"Liberation Sans", "Arimo", "DejaVu Sans", "Nimbus Sans"}},
    {"Microsoft Sans Serif", {"Liberation Sans", "Arimo", "DejaVu Sans", "Nimbus Sans"}},
    {"Tahoma", {"DejaVu Sans Condensed", "Liberation Sans", "DejaVu Sans"}},
    {"Verdana", {"DejaVu Sans", "Liberation Sans"}},
    {"Comic Sans MS", {"DejaVu Sans", "Liberation Sans"}},
    {"Times New Roman", {"Liberation Serif", "Tinos", "DejaVu Serif", "Nimbus Roman"}},
    {"Georgia", {"DejaVu Serif", "Liberation Serif"}},
    {"Courier New", {"Liberation Mono", "Cousine", "DejaVu Sans Mono", "Nimbus Mono PS"}},
    {"Courier", {"Liberation Mono", "DejaVu Sans Mono", "Nimbus Mono PS"}},
    {"Lucida Console", {"DejaVu Sans Mono", "Liberation Mono"}},
};

const FaceMapping* mappingOf(const QString& face) {
  for (const FaceMapping& mapping : kFaces) {
    if (face.compare(QLatin1String(mapping.windowsFace), Qt::CaseInsensitive) == 0) return &mapping;
  }
  return nullptr;
}

}  // namespace

QString drawingFamily(const QString& face) {
  const FaceMapping* mapping = mappingOf(face);
  if (!mapping) return face;
  // Each question to the font database runs the name through the font
  // configuration's rules (about a tenth of a millisecond), and a font is
  // made for every line shown: the answers are kept until the installed
  // fonts change.
  static QHash<QString, QString> known;
  static const bool watched = [] {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
      QObject::connect(app, &QGuiApplication::fontDatabaseChanged, app, [] { known.clear(); });
    }
    return true;
  }();
  (void)watched;
  const QString key = face.toLower();
  if (auto it = known.constFind(key); it != known.constEnd()) {
    return it->isEmpty() ? face : *it;
  }
  QString found;  // empty: the face itself
  if (!QFontDatabase::hasFamily(face)) {
    for (const char* candidate : mapping->installed) {
      if (QFontDatabase::hasFamily(QLatin1String(candidate))) {
        found = QLatin1String(candidate);
        break;
      }
    }
  }
  known.insert(key, found);
  return found.isEmpty() ? face : found;
}

std::string keptFaceName(const QFont& chosen, const std::string& current) {
  if (chosen.family().compare(drawingFamily(toQt(current)), Qt::CaseInsensitive) == 0) {
    return current;
  }
  return faceName(chosen);
}

void installFontSubstitutes() {
  // Text drawn by Qt itself (a face named in a style sheet, a rich text)
  // falls back the same way.
  for (const FaceMapping& mapping : kFaces) {
    QStringList installed;
    for (const char* candidate : mapping.installed) installed << QLatin1String(candidate);
    QFont::insertSubstitutions(QLatin1String(mapping.windowsFace), installed);
  }
}

void applyStyle(QFont& font, FontStyle style) {
  font.setBold(style == FontStyle::Bold || style == FontStyle::BoldItalic);
  font.setItalic(style == FontStyle::Italic || style == FontStyle::BoldItalic);
}

QFont makeFont(const std::string& name, int points, FontStyle style) {
  QFont font(drawingFamily(toQt(name)));
  // A negative size is a height in pixels; a size the platform cannot draw
  // sensibly is kept within bounds.
  if (points < 0) {
    font.setPixelSize(std::clamp(-points, 1, 500));
  } else {
    font.setPointSize(std::clamp(points > 0 ? points : 8, 1, 400));
  }
  applyStyle(font, style);
  return font;
}

FontStyle styleOf(const QFont& font) {
  if (font.bold()) return font.italic() ? FontStyle::BoldItalic : FontStyle::Bold;
  return font.italic() ? FontStyle::Italic : FontStyle::Regular;
}

std::string faceName(const QFont& font) {
  return fromQt(font.family()).substr(0, 31);
}

}  // namespace vb
