#pragma once
// Fonts of the window design on this desktop. The design names Windows families at point sizes
// for 96 dpi; the backend uses pixel sizes (points * 96 / 72) so that texts take the room the
// layout gives them, and substitutes a close family where the named one is not installed.

#include <QFont>
#include <QString>
#include <string>

#include "platform/controls.h"

namespace qx {

// The installed family that stands in for family: the family itself when the desktop has it;
// DejaVu Sans for Verdana, Liberation Sans (else DejaVu Sans) for Arial, DejaVu Sans Mono for
// the fixed-pitch DotumChe and Fixedsys.
QString substituteFamily(const std::string& family);

// Pixel size for a size in points at 96 dpi, rounded to the nearest pixel.
int fontPixelSize(double points);

QFont toQFont(const FontSpec& desc);

// Several labels place headings over their lists with runs of blanks. The stand-ins for Verdana
// have letters of nearly its widths but narrower blanks; this is the width in pixels a blank
// takes in the named font, for labels to draw blanks with. 0 when the named font is installed or
// is not Verdana.
double designSpaceWidth(const FontSpec& desc);

// Registers the substitutions above with QFont, so that any widget that names a design family
// (dialogs, style sheets) gets the same replacement.
void installFontSubstitutions();

}  // namespace qx
