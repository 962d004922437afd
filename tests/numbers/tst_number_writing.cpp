// Rounding numbers to decimals and writing them as text, checked against the
// C library's exact printf and strtod as an independent reference.

#include <QtTest>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "numbers/number_text.h"

using ambrelay::IsNumeric;
using ambrelay::NumberToText;
using ambrelay::ReadNumber;
using ambrelay::RoundDecimal;
using ambrelay::RoundDecimalShown;
using ambrelay::ShownValue;

namespace {

// glibc's printf rounds the exact binary value, ties to even, and strtod
// returns the nearest double: together an exact decimal rounding that shares
// no code with the one under test.
double ReferenceRound(double x, int decimals)
{
    std::string buffer(400 + decimals, '\0');
    std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, x);
    return std::strtod(buffer.c_str(), nullptr);
}

double ReferenceSignificant15(double x)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", x);
    return std::strtod(buffer, nullptr);
}

int SignificantDigits(const std::string& text)
{
    const std::string mantissa = text.substr(0, text.find('E'));
    const auto first = mantissa.find_first_of("123456789");
    if (first == std::string::npos) {
        return 0;
    }
    const auto last = mantissa.find_last_of("123456789");
    int count = 0;
    for (auto i = first; i <= last; ++i) {
        count += mantissa[i] != '.' ? 1 : 0;
    }
    return count;
}

// Doubles spread over every magnitude, plus raw bit patterns.
double RandomDouble(std::mt19937_64& random)
{
    std::uniform_int_distribution<int> pick(0, 3);
    switch (pick(random)) {
    case 0:
        return std::uniform_real_distribution<double>(0.0, 1.0)(random);
    case 1:
        return std::uniform_real_distribution<double>(-1e6, 1e6)(random);
    case 2: {
        const double mantissa = std::uniform_real_distribution<double>(1.0, 10.0)(random);
        const int exponent = std::uniform_int_distribution<int>(-30, 30)(random);
        return mantissa * std::pow(10.0, exponent);
    }
    default:
        for (;;) {
            const double x = std::bit_cast<double>(random());
            if (std::isfinite(x)) {
                return x;
            }
        }
    }
}

}  // namespace

class NumberWritingTest : public QObject {
    Q_OBJECT

private slots:
    void roundsToEvenNeighbour_data();
    void roundsToEvenNeighbour();
    void roundingMatchesExactReference();
    void roundingTiesAndManyDecimals();
    void shownValueMatchesExactReference();
    void everyTableKeyRoundsToItself();
    void writesShortestPlainText_data();
    void writesShortestPlainText();
    void writtenTextReadsBack();
};

void NumberWritingTest::roundsToEvenNeighbour_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("rounded");
    QTest::newRow("0.125 ties to even") << 0.125 << 2 << 0.12;
    QTest::newRow("0.375 ties to even") << 0.375 << 2 << 0.38;
    QTest::newRow("-2.1027") << -2.1027 << 2 << -2.1;
    QTest::newRow("2.5 to whole") << 2.5 << 0 << 2.0;
    QTest::newRow("3.5 to whole") << 3.5 << 0 << 4.0;
    QTest::newRow("1.005 is below its half") << 1.005 << 2 << 1.0;
    QTest::newRow("0.005 is above its half") << 0.005 << 2 << 0.01;
    QTest::newRow("p value 0.01786") << 1 - 0.98214 << 5 << 0.01786;
    QTest::newRow("ratio 1/9") << 20.0 / 180.0 << 6 << 0.111111;
    QTest::newRow("z 1.119764") << 1.119764 << 2 << 1.12;
    QTest::newRow("huge value") << 1e300 << 2 << 1e300;
    QTest::newRow("tiny value") << 1e-300 << 2 << 0.0;
}

void NumberWritingTest::roundsToEvenNeighbour()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(double, rounded);
    QCOMPARE_EQ(RoundDecimal(value, decimals), rounded);
}

void NumberWritingTest::roundingMatchesExactReference()
{
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200000; ++i) {
        const double x = RandomDouble(random);
        const int decimals = static_cast<int>(random() % 8);
        const double expected = ReferenceRound(x, decimals);
        const double actual = RoundDecimal(x, decimals);
        if (actual != expected) {
            QFAIL(qPrintable(QString("RoundDecimal(%1, %2) gave %3, expected %4")
                                 .arg(x, 0, 'g', 17).arg(decimals).arg(actual, 0, 'g', 17)
                                 .arg(expected, 0, 'g', 17)));
        }
    }
}

// Exact halves at every count of decimals a power of ten holds exactly
// (x * 10^d = (2m + 1) * 5^d / 2), and random doubles rounded to as many
// decimals: where the arithmetic alone decides, and where it must say a tie.
void NumberWritingTest::roundingTiesAndManyDecimals()
{
    std::mt19937_64 random(3622);
    for (int i = 0; i < 200000; ++i) {
        const int decimals = static_cast<int>(random() % 23);
        double x = RandomDouble(random);
        if (i % 2 == 0) {
            x = static_cast<double>(2 * (random() % (1u << 20)) + 1) / std::ldexp(1.0, decimals + 1);
            x = random() % 2 ? -x : x;
        }
        const double expected = ReferenceRound(x, decimals);
        const double actual = RoundDecimal(x, decimals);
        // The largest doubles round up past the largest: ShownValue keeps the 15-digit neighbour below.
        const double shown = std::fabs(expected) > 1.79769313486231e308 ? std::copysign(1.79769313486231e308, expected)
                                                                        : ReferenceSignificant15(expected);
        if (actual != expected || std::signbit(actual) != std::signbit(expected)
            || RoundDecimalShown(x, decimals) != shown) {
            QFAIL(qPrintable(QString("RoundDecimal(%1, %2) gave %3, expected %4")
                                 .arg(x, 0, 'g', 17).arg(decimals).arg(actual, 0, 'g', 17)
                                 .arg(expected, 0, 'g', 17)));
        }
    }
}

// ShownValue is the number NumberToText writes: x to 15 significant digits.
void NumberWritingTest::shownValueMatchesExactReference()
{
    std::mt19937_64 random(1536);
    for (int i = 0; i < 200000; ++i) {
        double x = RandomDouble(random);
        if (i % 4 == 0) {
            x = std::nextafter(std::pow(10.0, static_cast<int>(random() % 24) - 8), i % 8 == 0 ? 0.0 : 1e300);
        }
        if (x == std::numeric_limits<double>::max() || std::fabs(x) > 1e307) {
            continue;
        }
        const double expected = ReferenceSignificant15(x);
        if (ShownValue(x) != expected) {
            QFAIL(qPrintable(QString("ShownValue(%1) gave %2, expected %3")
                                 .arg(x, 0, 'g', 17).arg(ShownValue(x), 0, 'g', 17).arg(expected, 0, 'g', 17)));
        }
    }
}

void NumberWritingTest::everyTableKeyRoundsToItself()
{
    for (int k = 0; k < 410; ++k) {
        const double key = k / 100.0;
        QCOMPARE_EQ(RoundDecimal(key, 2), key);
        // A z computed a hair off the key still lands on the key itself.
        QCOMPARE_EQ(RoundDecimal(std::nextafter(key, 10.0), 2), key);
        QCOMPARE_EQ(RoundDecimal(-std::nextafter(key, 10.0), 2), -key);
        QCOMPARE_EQ(RoundDecimal(k * 0.01, 2), key);
    }
}

void NumberWritingTest::writesShortestPlainText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.1") << 0.1 << "0.1";
    QTest::newRow("whole 50") << 50.0 << "50";
    QTest::newRow("2.1") << 2.1 << "2.1";
    QTest::newRow("likelihood 50.399") << 50.39900000000001 << "50.399";
    QTest::newRow("likelihood 98.214") << 100 - 100 * (1 - 0.98214) << "98.214";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("smallest p value") << 0.00002 << "0.00002";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("15 digits kept") << 123456789.012345 << "123456789.012345";
    QTest::newRow("16th digit rounded") << 0.1234567890123456 << "0.123456789012346";
    QTest::newRow("1e-15 still fixed") << 1e-15 << "0.000000000000001";
    QTest::newRow("below 1e-15 in exponent form") << 1.5e-16 << "1.5E-16";
    QTest::newRow("below 1e15 fixed") << 999999999999999.0 << "999999999999999";
    QTest::newRow("rounds up to 1e15") << 999999999999999.9 << "1E+15";
    QTest::newRow("large") << 123456789012345678.0 << "1.23456789012346E+17";
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << "1.79769313486231E+308";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "";
}

void NumberWritingTest::writesShortestPlainText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE_EQ(QString::fromStdString(NumberToText(value)), text);
}

void NumberWritingTest::writtenTextReadsBack()
{
    std::mt19937_64 random(8122026);
    for (int i = 0; i < 200000; ++i) {
        const double x = RandomDouble(random);
        const std::string text = NumberToText(x);
        const double expected = x == std::numeric_limits<double>::max() ? 1.79769313486231e308
                                                                        : ReferenceSignificant15(x);
        if (!IsNumeric(text) || ReadNumber(text) != expected || SignificantDigits(text) > 15
            || (text.find('.') != std::string::npos && text.find('E') == std::string::npos
                && text.back() == '0')) {
            QFAIL(qPrintable(QString("%1 was written as \"%2\"")
                                 .arg(x, 0, 'g', 17).arg(QString::fromStdString(text))));
        }
    }
}

QTEST_APPLESS_MAIN(NumberWritingTest)
#include "tst_number_writing.moc"
