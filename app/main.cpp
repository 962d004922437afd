// Starts Ambrelay: one window, centred, focus in the first input box.

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>

#include "ui/application_identity.h"
#include "ui/kelvory.h"
#include "ui/qt_desktop.h"

namespace {

// Without a display the toolkit would abort with a message few people can
// act on; say what is wrong and how to run the window anyway.
bool HasDisplay()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "Ambrelay needs a graphical display, and none was found. "
                     "To run it without one, use: xvfb-run %s\n",
                     argv[0]);
        return 1;
    }
    ambrelay::SetUpApplicationIdentity();
    QApplication application(argc, argv);
    application.setWindowIcon(QIcon(QStringLiteral(":/ambrelay/ambrelay.png")));

    ambrelay::QtDesktop desktop;
    ambrelay::Kelvory window(desktop);
    window.show();
    return application.exec();
}
