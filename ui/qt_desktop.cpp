#include "ui/qt_desktop.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
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
    // Installed as <prefix>/bin/ambrelay beside <prefix>/share/doc/ambrelay,
    // or on Windows with the page in a help folder beside ambrelay.exe.
    const QDir programs(QCoreApplication::applicationDirPath());
    for (const QString& place : {QStringLiteral("../share/doc/ambrelay/kelvoryhelp.html"),
                                 QStringLiteral("help/kelvoryhelp.html")}) {
        const QString page = programs.filePath(place);
        if (QFileInfo::exists(page)) {
            return QUrl::fromLocalFile(QFileInfo(page).canonicalFilePath()).toString();
        }
    }
    return QString();
}

}  // namespace ambrelay

namespace ambrelay {

void QtDesktop::CopyText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void QtDesktop::SavePicture(QWidget* owner, const QImage& picture)
{
    const QString path = QFileDialog::getSaveFileName(owner, QStringLiteral("Save picture"),
                                                      QStringLiteral("ambrelay-details.png"),
                                                      QStringLiteral("PNG pictures (*.png)"));
    if (!path.isEmpty() && !picture.save(path, "PNG")) {
        ShowMessage(owner, QStringLiteral("The picture could not be saved to ") + path + QStringLiteral("."));
    }
}

}  // namespace ambrelay
