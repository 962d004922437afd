// The titles the window manager receives (_NET_WM_NAME), read back from the
// X server: the main window reads "Ambrelay" and every message box "Kelvory".

#include <QApplication>
#include <QDialog>
#include <QProcess>
#include <QTimer>
#include <QtTest>

#include "ui/application_identity.h"
#include "ui/kelvory.h"
#include "ui/qt_desktop.h"

using namespace ambrelay;

namespace {

QString X11Title(const QWidget* window)
{
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(window->winId()), "_NET_WM_NAME"});
    xprop.waitForFinished(5000);
    // _NET_WM_NAME(UTF8_STRING) = "Kelvory"
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype quote = line.indexOf('"');
    return quote < 0 ? line : line.mid(quote + 1).chopped(1);
}

}  // namespace

class WindowTitlesTest : public QObject {
    Q_OBJECT

private slots:
    void titlesOnTheXServer();
};

void WindowTitlesTest::titlesOnTheXServer()
{
    QtDesktop desktop;
    Kelvory window(desktop);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(X11Title(&window), QString("Ambrelay"));

    QString boxTitle;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !QTest::qWaitForWindowExposed(box)) {
            return;  // the comparison below reports it
        }
        boxTitle = X11Title(box);
        static_cast<QDialog*>(box)->accept();
    });
    desktop.ShowMessage(&window, "You must fill in all four values to obtain a result.");
    QCOMPARE(boxTitle, QString("Kelvory"));
}

int main(int argc, char* argv[])
{
    SetUpApplicationIdentity();
    QApplication application(argc, argv);
    WindowTitlesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_window_titles.moc"
