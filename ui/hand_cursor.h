#pragma once
// The window's own pointer: a hand with the index finger pointing up.

#include <QCursor>

namespace ambrelay {

inline constexpr int kHandHotSpotX = 12;  // the tip of the finger
inline constexpr int kHandHotSpotY = 1;

// The hot spot is given in the window's own pixels at every scale.
QCursor HandCursor(qreal devicePixelRatio = 1.0);

}  // namespace ambrelay
