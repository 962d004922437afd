#include "ui/qt_desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QUrl>

namespace ambrelay {

void QtDesktop::ShowMessage(QWidget* owner, const QString& text)
{
    // The caption is given here: the application's display name is the
    // window title, which is not what the message boxes carry.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kelvory"), text, QMessageBox::Ok, owner);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void QtDesktop::OpenAddress(QWidget* /*owner*/, const QString& address)
{
    // Fire and forget: when no browser starts there is nothing to tell.
    QDesktopServices::openUrl(QUrl(address));
}

}  // namespace ambrelay

namespace ambrelay {

void QtDesktop::CopyText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

}  // namespace ambrelay
