// Values that lie in parts apart: a percentile read by counting buckets and
// then gathering the one bucket that holds each rank is the percentile one
// pass over all of them takes, ties, zeros of both signs and parts left
// empty included; and moments summed apart and merged are one pass's.

#include <QtTest>
#include <cmath>
#include <random>
#include <span>
#include <vector>

#include "engine/observations.h"
#include "engine/quantile_in_parts.h"

using namespace ambrelay;

namespace {

// The percentile of every part's values together, as a cluster finds it:
// counts, then the values of the buckets holding the ranks.
double InParts(const std::vector<std::vector<double>>& parts, double probability)
{
    std::vector<BucketCounts> counts(parts.size());
    std::vector<const BucketCounts*> countLists;
    std::uint64_t total = 0;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        for (const double x : parts[p]) {
            counts[p].Add(x);
        }
        countLists.push_back(&counts[p]);
        total += counts[p].Total();
    }
    const QuantilePlace place = PlaceOf(total, probability);
    const BucketCounts::Holder low = BucketCounts::HolderOf(countLists, place.low);
    const BucketCounts::Holder high = place.fraction == 0 ? low : BucketCounts::HolderOf(countLists, place.low + 1);
    std::vector<BucketValues> gathered;
    std::vector<const BucketValues*> valueLists;
    for (const std::vector<double>& part : parts) {
        gathered.emplace_back(std::vector<std::uint32_t>{low.bucket, high.bucket});
        for (const double x : part) {
            gathered.back().Add(x);
        }
    }
    // Gathered apart, merged as a cluster merges them, two by two.
    for (std::size_t p = 1; p < gathered.size(); ++p) {
        gathered[0].Merge(gathered[p]);
    }
    valueLists.push_back(&gathered[0]);
    const double lowValue = BucketValues::ValueAt(valueLists, low, place.low);
    return Interpolated(lowValue, place.fraction == 0 ? lowValue : BucketValues::ValueAt(valueLists, high, place.low + 1),
                        place.fraction);
}

double OnePass(const std::vector<std::vector<double>>& parts, double probability)
{
    return *PooledQuantile(std::span<const std::vector<double>>(parts), probability, false);
}

bool SameDouble(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

}  // namespace

class QuantileInPartsTest : public QObject {
    Q_OBJECT

private slots:
    void asOnePass_data();
    void asOnePass();
    void randomPartsAsOnePass();
    void momentsMergedAsOnePass_data();
    void momentsMergedAsOnePass();
};

void QuantileInPartsTest::asOnePass_data()
{
    using Parts = std::vector<std::vector<double>>;
    QTest::addColumn<Parts>("parts");
    QTest::addColumn<double>("probability");
    QTest::addColumn<double>("expected");
    const double next = std::nextafter(1.0, 2.0);
    QTest::newRow("the median between two values") << Parts{{1, 4}, {2}, {3}} << 0.5 << 2.5;
    QTest::newRow("the rank on a tie") << Parts{{5, 5}, {5, 1}, {9}} << 0.75 << 5.0;
    QTest::newRow("every value the same") << Parts{{7, 7, 7}, {7, 7}} << 0.99 << 7.0;
    QTest::newRow("one value") << Parts{{}, {42}, {}} << 0.999 << 42.0;
    QTest::newRow("the smallest at 0%") << Parts{{3, -2}, {8}} << 0.0 << -2.0;
    QTest::newRow("the largest at 100%") << Parts{{3, -2}, {8}} << 1.0 << 8.0;
    QTest::newRow("negative values") << Parts{{-10, -1}, {-5, -3}} << 0.9 << -1.6;
    QTest::newRow("zeros of both signs") << Parts{{0.0, -0.0}, {0.0, 1}} << 0.5 << 0.0;
    QTest::newRow("neighbours in one bucket") << Parts{{next, 1.0}, {next, 1.0}} << 0.5 << 1.0 + (next - 1.0) / 2;
    QTest::newRow("the two ranks in two buckets") << Parts{{1.0}, {1000.0}} << 0.999 << 1.0 + 0.999 * 999;
    QTest::newRow("huge and tiny") << Parts{{1e300, 1e-300}, {-1e300}} << 0.25 << -1e300 + 0.5 * 1e300;
}

// Checked against the value by hand, and against one pass bit for bit.
void QuantileInPartsTest::asOnePass()
{
    QFETCH(std::vector<std::vector<double>>, parts);
    QFETCH(double, probability);
    QFETCH(double, expected);
    const double found = InParts(parts, probability);
    QVERIFY2(SameDouble(found, OnePass(parts, probability)), QByteArray::number(found, 'g', 17));
    QVERIFY2(std::fabs(found - expected) <= 1e-12 * std::max(1.0, std::fabs(expected)),
             QByteArray::number(found, 'g', 17));
}

// Revenue as shops have it (many zeros, ties in cents, a long tail), cut
// into parts at random: every percentile is one pass's to the bit.
void QuantileInPartsTest::randomPartsAsOnePass()
{
    std::mt19937_64 random(35);
    std::lognormal_distribution<double> spend(2, 1.5);
    std::uniform_real_distribution<double> unit;
    for (int trial = 0; trial < 40; ++trial) {
        const int n = 1 + static_cast<int>(unit(random) * 3000);
        std::vector<std::vector<double>> parts(1 + trial % 6);
        for (int i = 0; i < n; ++i) {
            const double x = unit(random) < 0.4 ? 0.0 : std::round(spend(random) * 100) / 100;
            parts[static_cast<std::size_t>(unit(random) * static_cast<double>(parts.size()))].push_back(
                trial % 3 == 0 ? -x : x);
        }
        for (const double probability : {0.0, 0.01, 0.5, 0.9, 0.99, 0.999, 1.0, unit(random)}) {
            const double found = InParts(parts, probability), expected = OnePass(parts, probability);
            QVERIFY2(SameDouble(found, expected), qPrintable(QStringLiteral("trial %1 at %2: %3 for %4")
                                                                 .arg(trial)
                                                                 .arg(probability)
                                                                 .arg(found, 0, 'g', 17)
                                                                 .arg(expected, 0, 'g', 17)));
        }
    }
}

void QuantileInPartsTest::momentsMergedAsOnePass_data()
{
    QTest::addColumn<QList<int>>("cuts");
    QTest::newRow("halves") << QList<int>{0, 500, 1000};
    QTest::newRow("an empty part first and last") << QList<int>{0, 0, 700, 1000, 1000};
    QTest::newRow("one value, then the rest") << QList<int>{0, 1, 1000};
    QTest::newRow("many small parts") << QList<int>{0, 3, 17, 100, 101, 450, 451, 999, 1000};
}

// Values far from 0 beside their spread, where sums of squares would cancel.
void QuantileInPartsTest::momentsMergedAsOnePass()
{
    QFETCH(QList<int>, cuts);
    std::mt19937_64 random(36);
    std::gamma_distribution<double> skewed(2.0, 3.0);
    std::poisson_distribution<int> orders(2.0);
    std::vector<std::pair<double, double>> users;
    for (int i = 0; i < 1000; ++i) {
        users.emplace_back(1000 + skewed(random), 1 + orders(random));
    }
    RunningMoments whole, merged;
    RunningRatio wholeRatio, mergedRatio;
    for (const auto& [value, denominator] : users) {
        whole.Add(value);
        wholeRatio.Add(value, denominator);
    }
    for (int p = 0; p + 1 < cuts.size(); ++p) {
        RunningMoments part;
        RunningRatio partRatio;
        for (int i = cuts[p]; i < cuts[p + 1]; ++i) {
            part.Add(users[static_cast<std::size_t>(i)].first);
            partRatio.Add(users[static_cast<std::size_t>(i)].first, users[static_cast<std::size_t>(i)].second);
        }
        merged.Merge(part);
        mergedRatio.Merge(partRatio);
    }
    const auto near = [](double a, double b, double relative) { return std::fabs(a - b) <= relative * std::fabs(b); };
    QCOMPARE(merged.Count(), 1000.0);
    QVERIFY(near(merged.Summary().mean, whole.Summary().mean, 1e-14));
    QVERIFY(near(merged.Summary().sd, whole.Summary().sd, 1e-12));
    QVERIFY(near(merged.Skewness(), whole.Skewness(), 1e-9));
    QVERIFY(near(whole.Skewness(), std::sqrt(2.0), 0.3));  // a gamma's, so the third moment is there to merge
    QCOMPARE(mergedRatio.Count(), 1000.0);
    QVERIFY(near(mergedRatio.Summary()->mean, wholeRatio.Summary()->mean, 1e-14));
    QVERIFY(near(mergedRatio.Summary()->sd, wholeRatio.Summary()->sd, 1e-11));
}

QTEST_APPLESS_MAIN(QuantileInPartsTest)
#include "tst_quantile_in_parts.moc"
