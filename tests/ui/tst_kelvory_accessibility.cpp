// What a screen reader finds: each control's name, role and value, and the
// focus order.

#include <QAccessible>
#include <QProgressBar>

#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;


class KelvoryAccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void controlsTellNameRoleAndValue_data();
    void controlsTellNameRoleAndValue();
    void focusOrderMatchesTabOrder();
};

void KelvoryAccessibilityTest::controlsTellNameRoleAndValue_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("nameAtStart");
    QTest::addColumn<QString>("nameAfterGo");  // after views 1000 and 1000, responses 100 and 130
    QTest::addColumn<QString>("valueAfterGo");
    const int text = QAccessible::StaticText;
    const int edit = QAccessible::EditableText;
    QTest::newRow("txtViews1") << edit << "Version 1 observations" << "Version 1 observations" << "1000";
    QTest::newRow("txtRspn1") << edit << "Version 1 responses" << "Version 1 responses" << "100";
    QTest::newRow("txtViews2") << edit << "Version 2 observations" << "Version 2 observations" << "1000";
    QTest::newRow("txtRspn2") << edit << "Version 2 responses" << "Version 2 responses" << "130";
    QTest::newRow("lblRatio1") << text << "Ratio A" << "Ratio A, 0.1" << "0.1";
    QTest::newRow("lblPVal") << text << "p value" << "p value, 0.01786" << "0.01786";
    QTest::newRow("lblRatio2") << text << "Ratio B" << "Ratio B, 0.13" << "0.13";
    QTest::newRow("lblZStat") << text << "Z statistic" << "Z statistic, 2.1" << "2.1";
    QTest::newRow("lblResult") << text
                               << "Interpretation, Insufficient data. Please fill in all four input boxes."
                               << "Interpretation, Variation B is the clear and undisputed winner with a "
                                  "likelihood of 98.214%"
                               << "Variation B is the clear and undisputed winner with a likelihood of 98.214%";
    QTest::newRow("lblStar2") << text << "Ratio B is the higher" << "Ratio B is the higher" << "";
    QTest::newRow("lblWin2a") << text << "Version 2 wins" << "Version 2 wins" << "";
    QTest::newRow("pbar2") << int(QAccessible::ProgressBar) << "Likelihood for version 2"
                           << "Likelihood for version 2" << "98";
    QTest::newRow("Command1") << int(QAccessible::Button) << "Go" << "Go" << "";
    QTest::newRow("lblLink") << text << "Ambrelay web site" << "Ambrelay web site" << "";
}

void KelvoryAccessibilityTest::controlsTellNameRoleAndValue()
{
    QFETCH(int, role);
    QFETCH(QString, nameAtStart);
    QFETCH(QString, nameAfterGo);
    QFETCH(QString, valueAfterGo);
    Window w;
    QWidget* control = w.Find(QString::fromLatin1(QTest::currentDataTag()));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    QVERIFY(accessible);
    QCOMPARE(int(accessible->role()), role);
    QCOMPARE(accessible->text(QAccessible::Name), nameAtStart);
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    QCOMPARE(accessible->text(QAccessible::Name), nameAfterGo);
    QString value = accessible->text(QAccessible::Value);
    if (QAccessibleValueInterface* numeric = accessible->valueInterface()) {
        value = numeric->currentValue().toString();
    }
    QCOMPARE(value, valueAfterGo);
}

void KelvoryAccessibilityTest::focusOrderMatchesTabOrder()
{
    Window w;
    QStringList chain;
    QWidget* widget = w.Find("txtViews1");
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY(accessible->state().focusable);
            chain << accessible->text(QAccessible::Name);
        }
        widget = widget->nextInFocusChain();
    } while (widget != w.Find("txtViews1"));
    QCOMPARE(chain, QStringList({"Version 1 observations", "Version 1 responses", "Version 2 observations",
                                 "Version 2 responses", "Go", "Clear", "Help"}));
}

QTEST_MAIN(KelvoryAccessibilityTest)
#include "tst_kelvory_accessibility.moc"
