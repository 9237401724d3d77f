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

inline QColor color(Rgb c) { return QColor(c.r, c.g, c.b); }

inline Rgb rgb(const QColor& c) {
  return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
             static_cast<std::uint8_t>(c.blue())};
}

}  // namespace qx::qtc
