// Reading numbers from what people type or paste: which texts are numbers,
// and what every text reads as.

#include <QtTest>

#include <cmath>
#include <limits>
#include <string>

#include "numbers/number_text.h"

using ambrelay::IsNumeric;
using ambrelay::ReadNumber;
using ambrelay::ReadWholeNumber;

class NumberReadingTest : public QObject {
    Q_OBJECT

private slots:
    void numbersReadAsTheyShow_data();
    void numbersReadAsTheyShow();
    void nonNumbersAreRejected_data();
    void nonNumbersAreRejected();
    void textWithNulIsNotANumber();
    void hugePasteIsReadWithoutHanging();
};

void NumberReadingTest::numbersReadAsTheyShow_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << QByteArray("1000") << 1000.0;
    QTest::newRow("zero") << QByteArray("0") << 0.0;
    QTest::newRow("decimal") << QByteArray("0.125") << 0.125;
    QTest::newRow("leading point") << QByteArray(".5") << 0.5;
    QTest::newRow("trailing point") << QByteArray("5.") << 5.0;
    QTest::newRow("plus sign") << QByteArray("+5") << 5.0;
    QTest::newRow("minus sign") << QByteArray("-5") << -5.0;
    QTest::newRow("blanks around") << QByteArray(" 1000 ") << 1000.0;
    QTest::newRow("tabs around") << QByteArray("\t12\t") << 12.0;
    QTest::newRow("exponent") << QByteArray("1e3") << 1000.0;
    QTest::newRow("capital exponent") << QByteArray("2.5E-2") << 0.025;
    QTest::newRow("signed exponent") << QByteArray("1e+3") << 1000.0;
    QTest::newRow("grouped") << QByteArray("12,500") << 12500.0;
    QTest::newRow("grouped twice") << QByteArray("1,234,567.5") << 1234567.5;
    QTest::newRow("grouped negative") << QByteArray("-1,000") << -1000.0;
    QTest::newRow("fraction 12.5") << QByteArray("12.5") << 12.5;
    QTest::newRow("largest double") << QByteArray("1.7976931348623157e308")
                                    << std::numeric_limits<double>::max();
    QTest::newRow("subnormal") << QByteArray("4.9e-324") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("below the smallest double") << QByteArray("1e-400") << 0.0;
    QTest::newRow("1e308") << QByteArray("1e308") << 1e308;
    QTest::newRow("nearest double to 0.1") << QByteArray("0.1") << 0.1;
    QTest::newRow("fifteen plain digits") << QByteArray("999999999999999") << 999999999999999.0;
    QTest::newRow("sixteen plain digits, rounded to even") << QByteArray("9007199254740993") << 9007199254740992.0;
    QTest::newRow("leading zeros") << QByteArray("000123") << 123.0;
    QTest::newRow("long digits") << QByteArray("0.10000000000000000555111512312578270211815834045410156251")
                                 << 0.1;
}

void NumberReadingTest::numbersReadAsTheyShow()
{
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    const std::string s = text.toStdString();
    QVERIFY2(IsNumeric(s), text.constData());
    QCOMPARE_EQ(ReadNumber(s), value);
    QVERIFY(ReadWholeNumber(s).has_value());
    QCOMPARE_EQ(*ReadWholeNumber(s), value);
}

void NumberReadingTest::nonNumbersAreRejected_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("readsAs");
    QTest::newRow("empty") << QByteArray("") << 0.0;
    QTest::newRow("blanks only") << QByteArray("   ") << 0.0;
    QTest::newRow("letters") << QByteArray("abc") << 0.0;
    QTest::newRow("number then letters") << QByteArray("12abc") << 12.0;
    QTest::newRow("blanks, number, word") << QByteArray("  7 apples") << 7.0;
    QTest::newRow("comma as decimal point") << QByteArray("1,5") << 1.0;
    QTest::newRow("group of four") << QByteArray("1,2345") << 1.0;
    QTest::newRow("group of two") << QByteArray("12,50") << 12.0;
    QTest::newRow("four digits before a group") << QByteArray("1234,567") << 1234.0;
    QTest::newRow("two points") << QByteArray("1.2.3") << 1.2;
    QTest::newRow("hex") << QByteArray("0x10") << 0.0;
    QTest::newRow("inf") << QByteArray("inf") << 0.0;
    QTest::newRow("infinity") << QByteArray("Infinity") << 0.0;
    QTest::newRow("nan") << QByteArray("nan") << 0.0;
    QTest::newRow("overflow") << QByteArray("1e999") << 0.0;
    QTest::newRow("overflow with text") << QByteArray("1e999x") << 0.0;
    QTest::newRow("lone sign") << QByteArray("-") << 0.0;
    QTest::newRow("lone point") << QByteArray(".") << 0.0;
    QTest::newRow("exponent without digits") << QByteArray("1e") << 1.0;
    QTest::newRow("exponent sign without digits") << QByteArray("2e+") << 2.0;
    QTest::newRow("two signs") << QByteArray("+-5") << 0.0;
    QTest::newRow("blank inside") << QByteArray("1 000") << 1.0;
    QTest::newRow("newline after") << QByteArray("5\n") << 5.0;
    QTest::newRow("arabic-indic digits") << QByteArray("\xd9\xa1\xd9\xa2") << 0.0;
    QTest::newRow("full-width digits") << QByteArray("\xef\xbc\x91\xef\xbc\x92") << 0.0;
    QTest::newRow("right-to-left mark") << QByteArray("\xe2\x80\x8f" "12") << 0.0;
    QTest::newRow("percent") << QByteArray("10%") << 10.0;
}

void NumberReadingTest::nonNumbersAreRejected()
{
    QFETCH(QByteArray, text);
    QFETCH(double, readsAs);
    const std::string s = text.toStdString();
    QVERIFY2(!IsNumeric(s), text.constData());
    QVERIFY(!ReadWholeNumber(s).has_value());
    QCOMPARE_EQ(ReadNumber(s), readsAs);
}

void NumberReadingTest::textWithNulIsNotANumber()
{
    const std::string withNul("12\0" "3", 4);
    QVERIFY(!IsNumeric(withNul));
    QCOMPARE_EQ(ReadNumber(withNul), 12.0);
}

void NumberReadingTest::hugePasteIsReadWithoutHanging()
{
    const std::string digits(1 << 20, '7');
    QVERIFY(!IsNumeric(digits));  // far beyond the largest double
    QCOMPARE_EQ(ReadNumber(digits), 0.0);
    const std::string tiny = "0." + std::string(1 << 20, '0') + "1";
    QVERIFY(IsNumeric(tiny));
    QCOMPARE_EQ(ReadNumber(tiny), 0.0);
    const std::string junk(1 << 20, 'x');
    QVERIFY(!IsNumeric(junk));
    QCOMPARE_EQ(ReadNumber(junk), 0.0);
}

QTEST_APPLESS_MAIN(NumberReadingTest)
#include "tst_number_reading.moc"
