#include "platform/qt/qt_fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <cmath>

#include "platform/qt/qt_convert.h"

namespace qx {
namespace {

bool isFixedPitchFamily(const QString& family) {
  return family.compare("DotumChe", Qt::CaseInsensitive) == 0 ||
         family.compare("Fixedsys", Qt::CaseInsensitive) == 0 ||
         family.compare("Courier New", Qt::CaseInsensitive) == 0;
}

QString firstInstalled(const QStringList& families) {
  for (const auto& f : families)
    if (QFontDatabase::hasFamily(f)) return f;
  return families.back();  // Qt's own fallback takes over from here
}

QString replacementFor(const QString& family) {
  if (isFixedPitchFamily(family)) return firstInstalled({"DejaVu Sans Mono", "Liberation Mono"});
  if (family.compare("Arial", Qt::CaseInsensitive) == 0)
    return firstInstalled({"Liberation Sans", "DejaVu Sans"});
  return firstInstalled({"DejaVu Sans", "Liberation Sans"});
}

}  // namespace

QString substituteFamily(const std::string& family) {
  const QString name = qtc::text(family);
  if (QFontDatabase::hasFamily(name)) return name;
  return replacementFor(name);
}

int fontPixelSize(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QFont toQFont(const FontSpec& desc) {
  QFont f(substituteFamily(desc.family));
  f.setPixelSize(fontPixelSize(desc.points));
  f.setBold(desc.bold);
  if (isFixedPitchFamily(qtc::text(desc.family))) {
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
  }
  return f;
}

double designSpaceWidth(const FontSpec& desc) {
  if (qtc::text(desc.family).compare("Verdana", Qt::CaseInsensitive) != 0 ||
      substituteFamily(desc.family).compare("Verdana", Qt::CaseInsensitive) == 0)
    return 0;
  // Verdana's blank: 720 units of 2048 (700 bold), drawn in whole pixels on a 96 dpi screen.
  return std::round(fontPixelSize(desc.points) * (desc.bold ? 700.0 : 720.0) / 2048.0);
}

void installFontSubstitutions() {
  for (const char* family : {"Verdana", "Arial", "DotumChe", "Fixedsys"}) {
    const QString name = QString::fromLatin1(family);
    if (!QFontDatabase::hasFamily(name)) QFont::insertSubstitution(name, replacementFor(name));
  }
}

}  // namespace qx
