#pragma once
// Windows-1251 bytes <-> QString at the edge between the program's text and
// the widgets. A character with no Windows-1251 form becomes '?'.

#include <QString>
#include <string>
#include <string_view>

namespace vb {

QString toQt(std::string_view cp1251);
std::string fromQt(const QString& text);
// A UTF-8 literal of the sources as a QString (captions, hints).
inline QString tr8(const char* utf8) {
  return QString::fromUtf8(utf8);
}

}  // namespace vb
