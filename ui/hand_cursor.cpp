#include "ui/hand_cursor.h"

#include <QPixmap>

namespace ambrelay {
namespace {

// A hand with the index finger pointing up: white with a grey outline and
// silver shading, and a navy and blue cuff at the wrist. 32 x 32, the tip of
// the finger at column 12, row 1.
const char* const kHandImage[] = {
    "32 32 6 1",
    ". c None",
    "# c #606060",
    "w c #FFFFFF",
    "s c #C0C0C0",
    "n c #000080",
    "b c #0000FF",
    "................................",
    "...........###..................",
    "..........#wws#.................",
    "..........#wws#.................",
    "..........#wws#.................",
    "..........#wws#.................",
    "..........#wws#.................",
    "..........#wws####..............",
    "..........#wws#wws###...........",
    "..........#wws#wws#ws##.........",
    "..........#wws#wws#wws###.......",
    "..........#wws#wws#wws#ws#......",
    "..........#wws#wws#wws#ws#......",
    ".....###..#wws#wws#wws#ws#......",
    "....#wws#.#wws#wws#wws#ws#......",
    ".....#wws##wwwwwwwwwwwwws#......",
    "......#wwswwwwwwwwwwwwwws#......",
    ".......#wwwwwwwwwwwwwwwws#......",
    "........#wwwwwwwwwwwwwwws#......",
    ".........#wwwwwwwwwwwwwws#......",
    ".........#wwwwwwwwwwwwwws#......",
    "..........#wwwwwwwwwwwwws#......",
    "..........#sssssssssssss#.......",
    "..........###############.......",
    ".........nnnnnnnnnnnnnnnnn......",
    ".........nbbbbbbbbbbbbbbbn......",
    ".........nbbbbbbbbbbbbbbbn......",
    ".........nnnnnnnnnnnnnnnnn......",
    "................................",
    "................................",
    "................................",
    "................................",
};

}  // namespace

QCursor HandCursor(qreal devicePixelRatio)
{
    QPixmap image(kHandImage);
    // On a high-resolution screen each pixel of the drawing becomes a square
    // of four, so the hand stays sharp instead of being smoothed up.
    if (devicePixelRatio >= 1.5) {
        image = image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        image.setDevicePixelRatio(2.0);
    }
    return QCursor(image, kHandHotSpotX, kHandHotSpotY);
}

}  // namespace ambrelay
