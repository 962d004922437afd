// The normal table: every row recomputed from the distribution, the keys
// matched by exact equality only, and the tail.

#include <QtTest>

#include <cmath>
#include <optional>

#include "engine/normal_table.h"

using ambrelay::LookupNormalTable;

namespace {

// Phi in extended precision: its error is far below the 4e-8 by which the
// closest rows miss a rounding midpoint.
long double Phi(long double z) { return 0.5L * std::erfc(-z / std::sqrt(2.0L)); }

double RoundedToFiveDecimals(long double p) { return static_cast<double>(std::round(p * 100000.0L)) / 100000.0; }

}  // namespace

class NormalTableTest : public QObject {
    Q_OBJECT

private slots:
    void everyRowFollowsTheDistribution();
    void knownRows_data();
    void knownRows();
    void onlyExactKeysMatch_data();
    void onlyExactKeysMatch();
    void valuesNeverDecrease();
};

void NormalTableTest::everyRowFollowsTheDistribution()
{
    for (int k = 0; k < 410; ++k) {
        const std::optional<double> value = LookupNormalTable(k / 100.0);
        QVERIFY2(value.has_value(), qPrintable(QString("key %1").arg(k)));
        // The published table has 0.91308 at 1.36, a hair off its rounding.
        const double expected = k == 136 ? 0.91308 : RoundedToFiveDecimals(Phi(k / 100.0L));
        QVERIFY2(*value == expected,
                 qPrintable(QString("z %1: table %2, distribution %3").arg(k / 100.0).arg(*value, 0, 'f', 5)
                                .arg(expected, 0, 'f', 5)));
    }
}

void NormalTableTest::knownRows_data()
{
    QTest::addColumn<double>("z");
    QTest::addColumn<double>("probability");
    QTest::newRow("0") << 0.0 << 0.5;
    QTest::newRow("-0") << -0.0 << 0.5;
    QTest::newRow("0.01") << 0.01 << 0.50399;
    QTest::newRow("1.00") << 1.00 << 0.84134;
    QTest::newRow("1.64") << 1.64 << 0.94950;
    QTest::newRow("1.65") << 1.65 << 0.95053;
    QTest::newRow("1.96") << 1.96 << 0.97500;
    QTest::newRow("2.33") << 2.33 << 0.99010;
    QTest::newRow("2.58") << 2.58 << 0.99506;
    QTest::newRow("3.00") << 3.00 << 0.99865;
    QTest::newRow("1.36 exception") << 1.36 << 0.91308;
    QTest::newRow("1.03 near midpoint") << 1.03 << 0.84849;
    QTest::newRow("1.46 near midpoint") << 1.46 << 0.92785;
    QTest::newRow("1.83 near midpoint") << 1.83 << 0.96638;
    QTest::newRow("3.08 near midpoint") << 3.08 << 0.99896;
    QTest::newRow("3.51") << 3.51 << 0.99978;
    QTest::newRow("3.52 shares 3.51's value") << 3.52 << 0.99978;
    QTest::newRow("4.05") << 4.05 << 0.99997;
    QTest::newRow("4.06") << 4.06 << 0.99998;
    QTest::newRow("4.09") << 4.09 << 0.99998;
    QTest::newRow("tail 4.10") << 4.10 << 0.99998;
    QTest::newRow("tail 4.5") << 4.5 << 0.99998;
    QTest::newRow("tail 5") << 5.0 << 0.99998;
    QTest::newRow("tail 1000") << 1000.0 << 0.99998;
    QTest::newRow("tail just above 4.09") << std::nextafter(4.09, 5.0) << 0.99998;
}

void NormalTableTest::knownRows()
{
    QFETCH(double, z);
    QFETCH(double, probability);
    const std::optional<double> value = LookupNormalTable(z);
    QVERIFY(value.has_value());
    QCOMPARE_EQ(*value, probability);
}

void NormalTableTest::onlyExactKeysMatch_data()
{
    QTest::addColumn<double>("z");
    QTest::newRow("just below 4.09") << std::nextafter(4.09, 0.0);
    QTest::newRow("0.005") << 0.005;
    QTest::newRow("0.125") << 0.125;
    QTest::newRow("-0.01") << -0.01;
    QTest::newRow("-1.96") << -1.96;
    QTest::newRow("35 * 0.01 is not the key 0.35") << 35 * 0.01;
    QTest::newRow("just above 1.96") << std::nextafter(1.96, 5.0);
    QTest::newRow("not a number") << std::nan("");
}

void NormalTableTest::onlyExactKeysMatch()
{
    QFETCH(double, z);
    QVERIFY(!LookupNormalTable(z).has_value());
}

void NormalTableTest::valuesNeverDecrease()
{
    double previous = 0.0;
    for (int k = 0; k < 410; ++k) {
        const double value = *LookupNormalTable(k / 100.0);
        if (k <= 351) {
            QVERIFY2(value > previous, qPrintable(QString("key %1").arg(k)));
        } else {
            QVERIFY(value >= previous);
        }
        previous = value;
    }
    QCOMPARE_EQ(previous, 0.99998);
}

QTEST_APPLESS_MAIN(NormalTableTest)
#include "tst_normal_table.moc"
