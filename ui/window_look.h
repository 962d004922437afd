#pragma once
// Fonts and colours of the window.

#include <QColor>
#include <QFont>

namespace ambrelay::look {

inline constexpr int kClientWidth = 350;
inline constexpr int kClientHeight = 464;

// Point sizes as character heights at 96 dots per inch, so text fits its
// fixed box on every screen; device-pixel scaling handles high resolutions.
inline constexpr int kPixels8_25 = 11;
inline constexpr int kPixels9_75 = 13;
inline constexpr int kPixels14_25 = 19;
inline constexpr int kPixels15_75 = 21;

inline const QColor kWindowColour{192, 192, 255};
inline const QColor kRed{255, 0, 0};
inline const QColor kBlue{0, 0, 255};

// Requested by name, with a font of the same kind where it is missing:
// fixed-pitch for Courier New, proportional sans-serif for MS Sans Serif.
QFont CourierNew(int pixels, bool bold = false, bool underline = false);
QFont MsSansSerif(int pixels, bool bold = false);

// The system's 3-D light and inactive border colours where the platform has
// them, fixed light greys elsewhere.
QColor ThreeDLight();
QColor InactiveBorder();

}  // namespace ambrelay::look
