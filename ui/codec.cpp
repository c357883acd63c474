#include "ui/codec.h"

#include <QHash>
#include <array>

#include "engine/text.h"

namespace vb {
namespace {

struct Tables {
  std::array<char16_t, 256> toUnicode{};
  QHash<char16_t, char> toByte;

  Tables() {
    for (int b = 0; b < 256; ++b) {
      const std::string utf8 = cp1251ToUtf8(std::string(1, static_cast<char>(b)));
      const QString s = QString::fromUtf8(utf8);
      // 0x98 has no character in the code page; it shows as a replacement.
      toUnicode[b] = s.size() == 1 ? s.at(0).unicode() : char16_t{0xFFFD};
      if (s.size() == 1 && !toByte.contains(toUnicode[b])) {
        toByte.insert(toUnicode[b], static_cast<char>(b));
      }
    }
  }
};

const Tables& tables() {
  static const Tables t;
  return t;
}

}  // namespace

QString toQt(std::string_view cp1251) {
  const Tables& t = tables();
  QString out;
  out.resize(static_cast<qsizetype>(cp1251.size()));
  for (std::size_t i = 0; i < cp1251.size(); ++i) {
    out[static_cast<qsizetype>(i)] = QChar(t.toUnicode[static_cast<unsigned char>(cp1251[i])]);
  }
  return out;
}

std::string fromQt(const QString& text) {
  const Tables& t = tables();
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      ++i;  // one character outside the code page
      out.push_back('?');
      continue;
    }
    auto it = t.toByte.constFind(c);
    out.push_back(it == t.toByte.constEnd() ? '?' : it.value());
  }
  return out;
}

}  // namespace vb
