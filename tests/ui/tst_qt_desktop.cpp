// The real message box: caption, text, no icon, one OK button that is the
// default, application-modal, and waiting until it is dismissed.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "ui/qt_desktop.h"

using ambrelay::QtDesktop;

class QtDesktopTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxHasOneDefaultOk();
};

void QtDesktopTest::messageBoxHasOneDefaultOk()
{
    QWidget owner;
    owner.show();
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    int buttons = 0;
    bool okIsDefault = false;
    Qt::WindowModality modality = Qt::NonModal;
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons().size();
        okIsDefault = box->defaultButton() == box->button(QMessageBox::Ok);
        modality = box->windowModality();
        inspected = true;
        QTest::keyClick(box, Qt::Key_Return);  // dismissed with Enter, as OK is the default
    });
    QtDesktop desktop;
    desktop.ShowMessage(&owner, QStringLiteral("You must fill in all four values to obtain a result."));
    QVERIFY(inspected);  // ShowMessage returned only after the box was dismissed
    QCOMPARE(caption, QString("Kelvory"));
    QCOMPARE(text, QString("You must fill in all four values to obtain a result."));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, 1);
    QVERIFY(okIsDefault);
    QCOMPARE(modality, Qt::ApplicationModal);
}

QTEST_MAIN(QtDesktopTest)
#include "tst_qt_desktop.moc"
