#pragma once
// Conversions between the behaviour's values and Qt's: texts are byte strings with one byte per
// character (Latin-1), paths are byte strings in the platform's file name encoding, colours are
// plain red, green, blue.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QString>
#include <string>

#include "platform/controls.h"

namespace qx::qtc {

inline QString text(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

inline std::string bytes(const QString& s) {
  const QByteArray b = s.toLatin1();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

inline QString path(const std::string& p) {
  return QFile::decodeName(QByteArray(p.data(), static_cast<qsizetype>(p.size())));
}

inline std::string pathBytes(const QString& p) {
  const QByteArray b = QFile::encodeName(p);
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// Text that may carry a file path (the window caption, message boxes): bytes that form valid
// UTF-8 with a non-ASCII character are a path in the file name encoding and are shown decoded;
// anything else is one byte per character.
inline QString pathText(const std::string& s) {
  bool high = false;
  for (unsigned char c : s) high = high || c >= 0x80;
  if (!high) return text(s);
  const QString decoded = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
  if (decoded.toUtf8() == QByteArray(s.data(), static_cast<qsizetype>(s.size()))) return decoded;
  return text(s);
}

inline QColor color(Rgb c) { return QColor(c.r, c.g, c.b); }

inline Rgb rgb(const QColor& c) {
  return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
             static_cast<std::uint8_t>(c.blue())};
}

}  // namespace qx::qtc
