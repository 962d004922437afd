#pragma once
// Text that stays readable on the window's fixed backgrounds under any
// colour scheme: the scheme's own text colour where it is legible there,
// black or white where it is not.

#include <QColor>

namespace ambrelay {

inline constexpr double kLegibleContrast = 4.5;  // WCAG's level for ordinary text

// The contrast ratio of two colours as WCAG defines it, from 1 to 21.
double ContrastRatio(const QColor& a, const QColor& b);

// The scheme's colour when it reaches kLegibleContrast on the background,
// otherwise black or white, whichever contrasts more.
QColor LegibleOn(const QColor& background, const QColor& scheme);

}  // namespace ambrelay
