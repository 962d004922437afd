#pragma once
// The window's own pointer: a hand with the index finger pointing up.

#include <QCursor>

namespace ambrelay {

inline constexpr int kHandHotSpotX = 12;  // the tip of the finger
inline constexpr int kHandHotSpotY = 1;

QCursor HandCursor();

}  // namespace ambrelay
