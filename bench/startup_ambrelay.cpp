// Ambrelay started as app/main.cpp starts it, reporting its first paint.

#include <QApplication>

#include "first_paint.h"
#include "ui/application_identity.h"
#include "ui/kelvory.h"
#include "ui/qt_desktop.h"

int main(int argc, char* argv[])
{
    ambrelay::SetUpApplicationIdentity();
    QApplication application(argc, argv);
    ambrelay::QtDesktop desktop;
    ambrelay::Kelvory window(desktop);
    FirstPaint report(&window);
    window.show();
    return application.exec();
}
