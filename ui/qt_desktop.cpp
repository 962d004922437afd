#include "ui/qt_desktop.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>
#include <QWidget>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
#endif

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

bool QtDesktop::OpenAddress([[maybe_unused]] QWidget* owner, const QString& address)
{
#ifdef Q_OS_WIN
    // The shell's "open" on the address, owned by the main window; the wide
    // call, so a help page installed under a folder named outside the system
    // code page opens too. A local page goes by its Windows path.
    const QUrl url(address);
    const QString target = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile())
                                             : url.toString(QUrl::FullyEncoded);
    const HWND window = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(window, L"open",
                                                                reinterpret_cast<const wchar_t*>(target.utf16()),
                                                                nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;  // above 32 when the shell took it
#else
    return QDesktopServices::openUrl(QUrl(address));
#endif
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

void QtDesktop::CopyRichText(const QString& plain, const QString& html)
{
    // One clipboard entry in two formats: a program that pastes rich text
    // takes the HTML, any other the same plain text as CopyText.
    auto* data = new QMimeData;
    data->setText(plain);
    data->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(data);
}

QString QtDesktop::SaveFile(QWidget* owner, const QString& title, const QString& suggested, const QString& filter)
{
    QString chosenFilter;
    QString path = QFileDialog::getSaveFileName(owner, title, suggested, filter, &chosenFilter);
    // Not every dialog adds the suffix of the filter the user picked, and the
    // suffix says what to write.
    static const QRegularExpression firstSuffix(QStringLiteral("\\*(\\.[^ )]+)"));
    const QRegularExpressionMatch suffix = firstSuffix.match(chosenFilter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty() && suffix.hasMatch()) {
        path += suffix.captured(1);
    }
    return path;
}

QString QtDesktop::ChooseFile(QWidget* owner, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(owner, title, QString(), filter);
}

}  // namespace ambrelay
