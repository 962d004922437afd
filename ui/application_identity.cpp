#include "ui/application_identity.h"

#include <QGuiApplication>

namespace ambrelay {

void SetUpApplicationIdentity()
{
    QGuiApplication::setApplicationName(QStringLiteral("Kelvory"));
    QGuiApplication::setApplicationVersion(QStringLiteral(AMBRELAY_VERSION));
    QGuiApplication::setOrganizationName(QStringLiteral("Ambrelay"));
    // No display name: on X11 the toolkit appends one to every window title,
    // and the message boxes must read "Kelvory" alone. The desktop entry
    // names the program in menus and task bars instead.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.ambrelay.Ambrelay"));
}

}  // namespace ambrelay
