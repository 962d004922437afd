// The floor: an empty window of Ambrelay's size that asks for the same fonts,
// reporting its first paint.

#include <QApplication>
#include <QFont>
#include <QFontMetrics>

#include "first_paint.h"

namespace {

QFont Requested(const char* family, const char* fallback, QFont::StyleHint hint, int pixels, bool bold)
{
    QFont font;
    font.setFamilies({QString::fromLatin1(family), QString::fromLatin1(fallback)});
    font.setStyleHint(hint);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(350, 464);
    window.setWindowTitle(QStringLiteral("Reference"));
    // The font look-ups any window with Ambrelay's fonts pays for: the same
    // families, sizes and weights.
    struct Request {
        bool fixed;
        int pixels;
        bool bold;
        bool underline;
    };
    const Request requests[] = {{true, 11, false, false}, {true, 11, true, false},  {true, 13, false, false},
                                {true, 13, true, false},  {true, 13, true, true},   {true, 19, true, false},
                                {true, 21, true, false},  {false, 11, false, false}, {false, 11, true, false},
                                {false, 13, false, false}};
    for (const Request& r : requests) {
        QFont font = r.fixed ? Requested("Courier New", "Liberation Mono", QFont::TypeWriter, r.pixels, r.bold)
                             : Requested("MS Sans Serif", "Liberation Sans", QFont::SansSerif, r.pixels, r.bold);
        font.setUnderline(r.underline);
        (void)QFontMetrics(font).height();
    }
    window.setFont(Requested("Courier New", "Liberation Mono", QFont::TypeWriter, 11, false));
    FirstPaint report(&window);
    window.show();
    return application.exec();
}
