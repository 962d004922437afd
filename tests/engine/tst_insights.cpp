// Lift, confidence interval, exact p values and test size, checked against
// values computed independently, and the plain-words text and report.

#include <QtTest>

#include <cmath>
#include <random>

#include "engine/judge.h"
#include "figures/figures.h"
#include "figures/result_report.h"
#include "figures/verdict_words.h"

using namespace ambrelay;

namespace {

std::optional<Insights> ComputeInsights(double v1, double r1, double v2, double r2)
{
    const Judgement j = Judge({v1, r1, v2, r2});
    return j.Finished() ? std::optional(j.Figures()) : std::nullopt;
}

bool Near(double actual, double expected, double tolerance = 1e-9)
{
    return std::fabs(actual - expected) <= tolerance * std::max(1.0, std::fabs(expected));
}

// The same figures by another road: long double throughout, arranged
// differently from the engine.
struct Reference {
    long double difference, low, high, lift, one, two, needed;
};

Reference Independent(long double v1, long double r1, long double v2, long double r2)
{
    const long double p1 = r1 / v1, p2 = r2 / v2;
    const long double hi = std::max(p1, p2), lo = std::min(p1, p2);
    const long double spread = std::sqrt(p1 * (1 - p1) / v1 + p2 * (1 - p2) / v2);
    const long double z975 = 1.959963984540054L, z80 = 0.8416212335729143L;
    const long double pooled = (r1 + r2) / (v1 + v2);
    const long double z = (hi - lo) / std::sqrt(pooled * (1 - pooled) * (v1 + v2) / (v1 * v2));
    const long double mean = (p1 + p2) / 2;
    const long double perSide = (z975 * std::sqrt(2 * mean * (1 - mean)) + z80 * std::sqrt(p1 * (1 - p1) + p2 * (1 - p2)))
                                / (hi - lo);
    return {100 * (hi - lo), 100 * (hi - lo - z975 * spread), 100 * (hi - lo + z975 * spread), 100 * (hi / lo - 1),
            std::erfc(z / std::sqrt(2.0L)) / 2, std::erfc(z / std::sqrt(2.0L)), std::ceil(perSide * perSide)};
}

}  // namespace

class InsightsTest : public QObject {
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void randomCountsMatchAnIndependentRoad();
    void figuresWithoutValue();
    void plainWordsAndReport_data();
    void plainWordsAndReport();
    void onlyThePartsAskedFor_data();
    void onlyThePartsAskedFor();
};

void InsightsTest::workedExamples_data()
{
    QTest::addColumn<QList<double>>("counts");
    QTest::addColumn<QString>("leader");
    QTest::addColumn<QList<double>>("figures");  // difference, low, high, lift, one-sided, two-sided, needed
    QTest::newRow("B wins") << QList<double>{1000, 100, 1000, 130} << "B"
                            << QList<double>{3.0, 0.20679344393763655, 5.793206556062364, 30.000000000000004,
                                             0.017744225233237366, 0.03548845046647473, 1774};
    QTest::newRow("A wins") << QList<double>{1000, 120, 1000, 100} << "A"
                            << QList<double>{1.9999999999999991, -0.7411481998019945, 4.741148199801993, 20.0,
                                             0.0764588909319731, 0.1529177818639462, 3841};
    QTest::newRow("unequal views") << QList<double>{200, 30, 180, 20} << "A"
                                   << QList<double>{3.888888888888889, -2.861463941355205, 10.639241719132983, 35.0,
                                                    0.13140711127483368, 0.26281422254966735, 1178};
}

void InsightsTest::workedExamples()
{
    QFETCH(QList<double>, counts);
    QFETCH(QString, leader);
    QFETCH(QList<double>, figures);
    const std::optional<Insights> in = ComputeInsights(counts[0], counts[1], counts[2], counts[3]);
    QVERIFY(in);
    QCOMPARE(QString::fromStdString(VersionName(in->leader)), leader);
    QVERIFY(Near(in->differencePoints, figures[0]));
    QVERIFY(Near(in->intervalLowPoints, figures[1]));
    QVERIFY(Near(in->intervalHighPoints, figures[2]));
    QVERIFY(in->liftPercent && Near(*in->liftPercent, figures[3]));
    QVERIFY(Near(in->oneSidedP, figures[4], 1e-12));
    QVERIFY(Near(in->twoSidedP, figures[5], 1e-12));
    QVERIFY(in->observationsNeeded);
    QCOMPARE(*in->observationsNeeded, figures[6]);
}

void InsightsTest::randomCountsMatchAnIndependentRoad()
{
    std::mt19937_64 random(777);
    for (int i = 0; i < 20000; ++i) {
        const double v1 = std::uniform_int_distribution<int>(20, 200000)(random);
        const double v2 = std::uniform_int_distribution<int>(20, 200000)(random);
        const double r1 = std::uniform_int_distribution<int>(1, static_cast<int>(v1) - 1)(random);
        const double r2 = std::uniform_int_distribution<int>(1, static_cast<int>(v2) - 1)(random);
        if (r1 / v1 == r2 / v2) {
            continue;
        }
        const std::optional<Insights> in = ComputeInsights(v1, r1, v2, r2);
        QVERIFY(in);
        const Reference ref = Independent(v1, r1, v2, r2);
        const QString counts = QString("%1 %2 %3 %4").arg(v1).arg(r1).arg(v2).arg(r2);
        QVERIFY2(Near(in->differencePoints, double(ref.difference)), qPrintable(counts));
        QVERIFY2(Near(in->intervalLowPoints, double(ref.low), 1e-8), qPrintable(counts));
        QVERIFY2(Near(in->intervalHighPoints, double(ref.high), 1e-8), qPrintable(counts));
        QVERIFY2(Near(*in->liftPercent, double(ref.lift), 1e-8), qPrintable(counts));
        QVERIFY2(std::fabs(in->oneSidedP - double(ref.one)) < 1e-12, qPrintable(counts));
        QVERIFY2(std::fabs(in->twoSidedP - double(ref.two)) < 1e-12, qPrintable(counts));
        // The rounding up may fall either side of a whole number within the last digit.
        QVERIFY2(std::fabs(*in->observationsNeeded - double(ref.needed)) <= 1, qPrintable(counts));
    }
}

void InsightsTest::figuresWithoutValue()
{
    const std::optional<Insights> neverA = ComputeInsights(1000, 0, 1000, 30);
    QVERIFY(neverA);
    QVERIFY(neverA->leader == Version::B);
    QVERIFY(!neverA->liftPercent);  // A never responded: no "more often than"
    QVERIFY(neverA->observationsNeeded);

    const std::optional<Insights> same = ComputeInsights(1000, 100, 500, 50);
    QVERIFY(same);
    QVERIFY(same->identical);
    QCOMPARE(*same->liftPercent, 0.0);
    QVERIFY(!same->observationsNeeded);  // nothing to detect
    QCOMPARE(same->oneSidedP, 0.5);
    QCOMPARE(same->twoSidedP, 1.0);

    QVERIFY(!ComputeInsights(0, 0, 1000, 10));
    QVERIFY(!ComputeInsights(1000, 0, 1000, 0));
    QVERIFY(!ComputeInsights(1000, -5, 1000, 10));
}

void InsightsTest::plainWordsAndReport_data()
{
    QTest::addColumn<QList<double>>("counts");
    QTest::addColumn<QString>("opening");
    QTest::newRow("B wins") << QList<double>{1000, 100, 1000, 130}
                            << "B responded 30.0% more often than A: 13% against 10%, a difference of 3.0 points (95% "
                               "confidence interval 0.2 to 5.8 points). The p value of the normal approximation is "
                               "0.0177 one-sided and 0.0355 two-sided. To detect a difference this size with 80% power "
                               "at the 5% level, a test needs about 1,774 observations per version.";
    // Rates of 1% and below: the interval's width decides the digits, not a fixed one decimal.
    QTest::newRow("low rates") << QList<double>{1000000, 10000, 1000000, 10100}
                               << "B responded 1.0% more often than A: 1.01% against 1%, a difference of 0.010 points "
                                  "(95% confidence interval -0.018 to 0.038 points).";
    QTest::newRow("A never responded") << QList<double>{1000, 0, 1000, 30}
                                       << "B responded 3% of the time and A never, a difference of 3.0 points (95% "
                                          "confidence interval 1.9 to 4.1 points).";
    QTest::newRow("a lift no double holds") << QList<double>{1e308, 1, 500, 500}
                                            << "B responded more often than A: 100% against 0%, a difference of "
                                               "100.0 points";
    QTest::newRow("equal") << QList<double>{1000, 100, 500, 50}
                           << "A and B responded equally often: 10% each (95% confidence interval -3.2 to 3.2 "
                              "points).";
}

void InsightsTest::plainWordsAndReport()
{
    QFETCH(QList<double>, counts);
    QFETCH(QString, opening);
    const Judgement judgement = Judge({counts[0], counts[1], counts[2], counts[3]});
    const QString words =
        QString::fromStdString(SummaryText(JudgementFigures(judgement).All(), JudgementWarnings(judgement)));
    QVERIFY2(words.startsWith(opening), qPrintable(words));
    QVERIFY(!words.contains("exact p value"));  // a normal approximation is never called exact
    const QString report = QString::fromStdString(ResultReport(judgement));
    QVERIFY2(!report.contains("inf") && !report.contains("nan"), qPrintable(report));
    QVERIFY(report.startsWith("Ambrelay A/B test result\nVersion 1 (A): " + QString::number(counts[0], 'g', 15),
                              Qt::CaseInsensitive));
    QVERIFY(report.contains("\nVerdict: " + QString::fromStdString(VerdictSentence(judgement.calculation)) + "\n"));
    // The report ends with the summary in plain words, as the tooltip words it.
    QVERIFY2(report.contains("\n\n" + words.section('\n', 0, 0) + "\n"), qPrintable(report));
    QVERIFY(report.endsWith(words.section('\n', -1) + "\n"));
}

void InsightsTest::onlyThePartsAskedFor_data()
{
    QTest::addColumn<QString>("figures");  // the figures chosen, by their keys
    QTest::addColumn<double>("views1");
    QTest::addColumn<double>("responses1");
    QTest::addColumn<bool>("exact");    // whether Fisher's test is worked out
    QTest::addColumn<bool>("chance");   // the chance to beat
    QTest::addColumn<bool>("normal");   // the normal approximation's p values
    QTest::addColumn<bool>("looking");  // the peeking-safe test
    QTest::newRow("p values only") << "p_two_sided" << 1000.0 << 100.0 << false << false << true << false;
    QTest::newRow("Fisher's one-sided p") << "fisher_p_one_sided" << 1000.0 << 100.0 << true << false << false
                                          << false;
    QTest::newRow("the chance and the peeking-safe p") << "chance_to_beat,always_valid_p" << 1000.0 << 100.0
                                                       << false << true << false << true;
    QTest::newRow("a small sample has Fisher's p for its warning") << "window_z" << 10.0 << 1.0 << true << false
                                                                   << false << false;
    QTest::newRow("every figure") << "" << 1000.0 << 100.0 << true << true << true << true;
}

// A table that prints some figures works out those and what the warnings
// need, and nothing else; what it works out is what the full run gives.
void InsightsTest::onlyThePartsAskedFor()
{
    QFETCH(QString, figures);
    QFETCH(double, views1);
    QFETCH(double, responses1);
    QFETCH(bool, exact);
    QFETCH(bool, chance);
    QFETCH(bool, normal);
    QFETCH(bool, looking);
    JudgementChoice chosen = figures.isEmpty() ? EveryJudgementFigure() : JudgementChoice();
    for (const FigureKind& kind : JudgementFigureKinds()) {
        if (figures.split(',').contains(kind.key)) {
            chosen.set(static_cast<std::size_t>(kind.id));
        }
    }
    const Counts counts{views1, responses1, 1000, 130};
    JudgeOptions options;
    options.parts = PartsFor(chosen);
    const Judgement some = Judge(counts, options);
    const Judgement all = Judge(counts);
    const Insights& s = some.Figures();
    const Insights& a = all.Figures();
    QCOMPARE(static_cast<bool>(s.exact), exact);
    QCOMPARE(static_cast<bool>(s.chanceToBeat), chance);
    QCOMPARE(static_cast<bool>(s.alwaysValid), looking);
    QCOMPARE(s.twoSidedP == a.twoSidedP, normal);
    if (exact) {
        QCOMPARE(s.exact->twoSided, a.exact->twoSided);
        QCOMPARE(s.exact->oneSided, a.exact->oneSided);
    }
    if (chance) {
        QCOMPARE(*s.chanceToBeat, *a.chanceToBeat);
    }
    // The warnings never depend on the choice.
    QCOMPARE(s.warnings, a.warnings);
    QCOMPARE(JudgementWarnings(some).size(), JudgementWarnings(all).size());
    for (std::size_t i = 0; i < JudgementWarnings(all).size(); ++i) {
        QCOMPARE(JudgementWarnings(some)[i].message, JudgementWarnings(all)[i].message);
    }
}

QTEST_APPLESS_MAIN(InsightsTest)
#include "tst_insights.moc"
