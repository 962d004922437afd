// The three input checks as pure functions: which texts fail, with which
// problem and focus box. Their words are the figures layer's (see
// tests/figures).

#include <QtTest>

#include "checks/input_checks.h"

using namespace ambrelay;

Q_DECLARE_METATYPE(Input)

namespace {

CountTexts Texts(const QString& views1, const QString& responses1, const QString& views2,
                 const QString& responses2)
{
    return {views1.toStdString(), responses1.toStdString(), views2.toStdString(), responses2.toStdString()};
}

void AddCountColumns()
{
    QTest::addColumn<QString>("views1");
    QTest::addColumn<QString>("responses1");
    QTest::addColumn<QString>("views2");
    QTest::addColumn<QString>("responses2");
}

}  // namespace

class InputChecksTest : public QObject {
    Q_OBJECT

private slots:
    void blankCheck_data();
    void blankCheck();
    void inverseCheck_data();
    void inverseCheck();
    void numericCheck_data();
    void numericCheck();
    void firstFailingCheckStopsTheRest_data();
    void firstFailingCheckStopsTheRest();
};

void InputChecksTest::blankCheck_data()
{
    AddCountColumns();
    QTest::addColumn<bool>("fails");
    QTest::newRow("all filled") << "1000" << "100" << "1000" << "130" << false;
    QTest::newRow("all empty") << "" << "" << "" << "" << true;
    QTest::newRow("views1 empty") << "" << "100" << "1000" << "130" << true;
    QTest::newRow("responses2 empty") << "1000" << "100" << "1000" << "" << true;
    QTest::newRow("one empty, one letters") << "abc" << "100" << "" << "130" << true;
    QTest::newRow("spaces count as text") << " " << "  " << "\t" << " " << false;
}

void InputChecksTest::blankCheck()
{
    QFETCH(QString, views1);
    QFETCH(QString, responses1);
    QFETCH(QString, views2);
    QFETCH(QString, responses2);
    QFETCH(bool, fails);
    const std::optional<CheckFailure> failure = CheckBlanks(Texts(views1, responses1, views2, responses2));
    QCOMPARE(failure.has_value(), fails);
    if (fails) {
        QCOMPARE(failure->check, InputCheck::Blanks);
        QCOMPARE(failure->problem.reason, Reason::BlankBox);
        QVERIFY(!failure->problem.input);
    }
}

void InputChecksTest::inverseCheck_data()
{
    AddCountColumns();
    QTest::addColumn<bool>("fails");
    QTest::newRow("fewer responses") << "1000" << "100" << "1000" << "130" << false;
    QTest::newRow("equal in both") << "1000" << "1000" << "500" << "500" << false;
    QTest::newRow("one more in version 1") << "1000" << "1001" << "500" << "5" << true;
    QTest::newRow("one more in version 2") << "1000" << "10" << "500" << "501" << true;
    QTest::newRow("both versions") << "10" << "20" << "10" << "20" << true;
    QTest::newRow("grouped counts compare as numbers") << "12,500" << "9,999" << "1,000" << "1,001" << true;
    QTest::newRow("letters read as 0") << "abc" << "def" << "1000" << "10" << false;
    QTest::newRow("letters as views") << "abc" << "5" << "1000" << "10" << true;
    QTest::newRow("all zero") << "0" << "0" << "0" << "0" << false;
    QTest::newRow("negative responses") << "100" << "-5" << "100" << "10" << false;
}

void InputChecksTest::inverseCheck()
{
    QFETCH(QString, views1);
    QFETCH(QString, responses1);
    QFETCH(QString, views2);
    QFETCH(QString, responses2);
    QFETCH(bool, fails);
    const std::optional<CheckFailure> failure = CheckInverse(Texts(views1, responses1, views2, responses2));
    QCOMPARE(failure.has_value(), fails);
    if (fails) {
        QCOMPARE(failure->check, InputCheck::Inverse);
        QCOMPARE(failure->problem.reason, Reason::ResponsesAboveViews);
        QVERIFY(!failure->problem.input);
    }
}

void InputChecksTest::numericCheck_data()
{
    AddCountColumns();
    QTest::addColumn<int>("focusBox");  // -1: none
    QTest::newRow("all numbers") << "1000" << "100" << "1000" << "130" << -1;
    QTest::newRow("views1") << "x" << "100" << "1000" << "130" << int(Input::Views1);
    QTest::newRow("views2") << "1000" << "100" << "1 000" << "130" << int(Input::Views2);
    QTest::newRow("responses1") << "1000" << "1.2.3" << "1000" << "130" << int(Input::Responses1);
    QTest::newRow("responses2") << "1000" << "100" << "1000" << "0x10" << int(Input::Responses2);
    QTest::newRow("views2 before responses1") << "1000" << "abc" << "xyz" << "130" << int(Input::Views2);
    QTest::newRow("empty never fails") << "" << "" << "" << "" << -1;
    QTest::newRow("blanks only") << "   " << "100" << "1000" << "130" << int(Input::Views1);
    QTest::newRow("fractions and signs pass") << "12.5" << "-3" << "+7" << "1e3" << -1;
}

void InputChecksTest::numericCheck()
{
    QFETCH(QString, views1);
    QFETCH(QString, responses1);
    QFETCH(QString, views2);
    QFETCH(QString, responses2);
    QFETCH(int, focusBox);
    const std::optional<CheckFailure> failure = CheckNumerics(Texts(views1, responses1, views2, responses2));
    QCOMPARE(failure.has_value(), focusBox >= 0);
    if (failure) {
        QCOMPARE(failure->check, InputCheck::Numerics);
        QCOMPARE(failure->problem.reason, Reason::BoxNotNumeric);
        QCOMPARE(int(failure->problem.input.value()), focusBox);
    }
}

void InputChecksTest::firstFailingCheckStopsTheRest_data()
{
    AddCountColumns();
    QTest::addColumn<QString>("failed");
    QTest::addColumn<QString>("flags");  // blank, inverse, numeric, starting from all three at 1
    QTest::newRow("all pass") << "1000" << "100" << "1000" << "130" << "" << "000";
    QTest::newRow("blank before letters") << "" << "abc" << "1000" << "130" << "blanks" << "111";
    QTest::newRow("inverse before letters") << "abc" << "5" << "1000" << "10" << "inverse" << "011";
    QTest::newRow("letters last") << "1000" << "100" << "1000" << "x" << "numerics" << "001";
}

void InputChecksTest::firstFailingCheckStopsTheRest()
{
    QFETCH(QString, views1);
    QFETCH(QString, responses1);
    QFETCH(QString, views2);
    QFETCH(QString, responses2);
    QFETCH(QString, failed);
    QFETCH(QString, flags);
    const std::optional<CheckFailure> failure = RunInputChecks(Texts(views1, responses1, views2, responses2));
    const QString name = !failure                                     ? ""
                         : failure->check == InputCheck::Blanks       ? "blanks"
                         : failure->check == InputCheck::Inverse      ? "inverse"
                                                                      : "numerics";
    QCOMPARE(name, failed);
    CheckFlags kept{1, 1, 1};
    kept.Record(failure);
    QCOMPARE(QString("%1%2%3").arg(kept.BlankFlag).arg(kept.InverseFlag).arg(kept.NumericFlag), flags);
}

QTEST_APPLESS_MAIN(InputChecksTest)
#include "tst_input_checks.moc"
