// Ambrelay started as app/main.cpp starts it, reporting its first paint.

#include <QApplication>
#include <QIcon>

#include "first_paint.h"
#include "ui/kelvory.h"
#include "ui/qt_desktop.h"

int main(int argc, char* argv[])
{
    QApplication::setApplicationName(QStringLiteral("Kelvory"));
    QApplication::setApplicationDisplayName(QStringLiteral("Ambrelay"));
    QApplication application(argc, argv);
    ambrelay::QtDesktop desktop;
    ambrelay::Kelvory window(desktop);
    FirstPaint report(&window);
    window.show();
    return application.exec();
}
