#include "ui/qt_desktop.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

bool QtDesktop::OpenAddress(QWidget* /*owner*/, const QString& address)
{
    return QDesktopServices::openUrl(QUrl(address));
}

QString QtDesktop::InstalledHelpPage() const
{
    // Installed as <prefix>/bin/ambrelay beside <prefix>/share/doc/ambrelay.
    const QString page = QDir(QCoreApplication::applicationDirPath())
                             .filePath(QStringLiteral("../share/doc/ambrelay/kelvoryhelp.html"));
    return QFileInfo::exists(page) ? QUrl::fromLocalFile(QFileInfo(page).canonicalFilePath()).toString() : QString();
}

}  // namespace ambrelay

namespace ambrelay {

void QtDesktop::CopyText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

}  // namespace ambrelay
