// The whole calculation from four counts to what the window shows, and
// invariants over many random tests.

#include <QtTest>

#include <cmath>
#include <random>

#include "count_columns.h"
#include "engine/judge.h"
#include "engine/result_display.h"
#include "figures/verdict_words.h"
#include "figures/window_view.h"
#include "numbers/number_text.h"

using namespace ambrelay;

Q_DECLARE_METATYPE(VerdictBand)
using Marker = std::optional<ambrelay::Version>;
Q_DECLARE_METATYPE(Marker)

class CalculationTest : public QObject {
    Q_OBJECT

private slots:
    void endToEnd_data();
    void endToEnd();
    void randomTestsKeepInvariants();
    void markerComparesShownRatios_data();
    void markerComparesShownRatios();
    void barValueKeepsSinglePrecision_data();
    void barValueKeepsSinglePrecision();
};

void CalculationTest::endToEnd_data()
{
    AddCountColumns();
    QTest::addColumn<QString>("pValue");
    QTest::addColumn<QString>("ratio1");
    QTest::addColumn<QString>("ratio2");
    QTest::addColumn<QString>("zStat");
    QTest::addColumn<VerdictBand>("band");
    QTest::addColumn<QString>("winner");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("B wins clearly") << 1000.0 << 100.0 << 1000.0 << 130.0 << "0.01786" << "0.1" << "0.13" << "2.1"
                                    << VerdictBand::ClearWinner << "B"
                                    << "Variation B is the clear and undisputed winner with a likelihood of 98.214%";
    QTest::newRow("A almost certain") << 1000.0 << 120.0 << 1000.0 << 100.0 << "0.07636" << "0.12" << "0.1"
                                      << "1.43" << VerdictBand::AlmostCertain << "A"
                                      << "Variation A is almost certainly the winner with a likelihood of 92.364%";
    QTest::newRow("unequal views") << 200.0 << 30.0 << 180.0 << 20.0 << "0.13136" << "0.15" << "0.111111" << "1.12"
                                   << VerdictBand::CouldBeWinner << "A"
                                   << "Variation A could be the winner but it could be explained by random "
                                      "variation. The scale is at 86.864%";
    QTest::newRow("slightly better") << 1000.0 << 100.0 << 1000.0 << 110.0 << "0.2327" << "0.1" << "0.11" << "0.73"
                                     << VerdictBand::SlightlyBetter << "B"
                                     << "Variation B looks very slightly better, but it is highly likely to be "
                                        "random variation. The scale is at 76.73%";
    QTest::newRow("too close") << 1000.0 << 100.0 << 1000.0 << 102.0 << "0.44038" << "0.1" << "0.102" << "0.15"
                               << VerdictBand::TooClose << "None"
                               << "It is statistically too close to call a winner. Any difference is likely just "
                                  "random variation.";
    QTest::newRow("identical") << 1000.0 << 100.0 << 1000.0 << 100.0 << "0.5" << "0.1" << "0.1" << "0"
                               << VerdictBand::Identical << "None"
                               << "The response rate is identical. Statistically they are the same.";
    QTest::newRow("beyond the table") << 1000.0 << 500.0 << 1000.0 << 100.0 << "0.00002" << "0.5" << "0.1"
                                      << "19.52" << VerdictBand::ClearWinner << "A"
                                      << "Variation A is the clear and undisputed winner with a likelihood of "
                                         "99.998%";
}

void CalculationTest::endToEnd()
{
    QFETCH(double, views1);
    QFETCH(double, responses1);
    QFETCH(double, views2);
    QFETCH(double, responses2);
    QFETCH(QString, pValue);
    QFETCH(QString, ratio1);
    QFETCH(QString, ratio2);
    QFETCH(QString, zStat);
    QFETCH(VerdictBand, band);
    QFETCH(QString, winner);
    QFETCH(QString, sentence);
    const Judgement outcome = Judge({views1, responses1, views2, responses2});
    QVERIFY(outcome.Finished());
    const ResultView texts = ViewOf(outcome.calculation);
    QCOMPARE_EQ(QString::fromStdString(texts.pValue), pValue);
    QCOMPARE_EQ(QString::fromStdString(texts.ratio1), ratio1);
    QCOMPARE_EQ(QString::fromStdString(texts.ratio2), ratio2);
    QCOMPARE_EQ(QString::fromStdString(texts.zStat), zStat);
    QCOMPARE_EQ(outcome.calculation.Band, band);
    QCOMPARE_EQ(QString::fromStdString(WinnerText(outcome.calculation.winner)), winner);
    QCOMPARE_EQ(QString::fromStdString(texts.verdict), sentence);
}

void CalculationTest::randomTestsKeepInvariants()
{
    std::mt19937_64 random(1208);
    for (int i = 0; i < 50000; ++i) {
        const int scale = std::uniform_int_distribution<int>(1, 7)(random);
        std::uniform_int_distribution<long long> views(0, static_cast<long long>(std::pow(10, scale)));
        const double v1 = static_cast<double>(views(random));
        const double v2 = static_cast<double>(views(random));
        const double r1 = std::floor(v1 * std::uniform_real_distribution<double>(0, 1)(random));
        const double r2 = std::floor(v2 * std::uniform_real_distribution<double>(0, 1)(random));
        const Judgement outcome = Judge({v1, r1, v2, r2});
        const QString counts = QString("%1 %2 %3 %4").arg(v1).arg(r1).arg(v2).arg(r2);
        if (!outcome.Finished()) {
            QVERIFY2(v1 == 0 || v2 == 0 || r1 + r2 == 0 || (r1 == v1 && r2 == v2), qPrintable(counts));
            continue;
        }
        const ComparisonResult& r = outcome.calculation;
        QVERIFY2(r.Likelihood >= 50 && r.Likelihood <= 99.998 + 1e-9, qPrintable(counts));
        QVERIFY2(std::fabs(r.Probability - (100 - r.Likelihood) / 100) < 1e-12, qPrintable(counts));
        const VerdictBand expectedBand = r.Likelihood == 50 ? VerdictBand::Identical
                                         : r.Likelihood < 70 ? VerdictBand::TooClose
                                         : r.Likelihood < 80 ? VerdictBand::SlightlyBetter
                                         : r.Likelihood < 90 ? VerdictBand::CouldBeWinner
                                         : r.Likelihood < 95 ? VerdictBand::AlmostCertain
                                                             : VerdictBand::ClearWinner;
        QVERIFY2(r.Band == expectedBand, qPrintable(counts));
        if (r.Likelihood < 70) {
            QVERIFY2(!r.winner, qPrintable(counts));
        } else {
            const std::string ahead = r.Ratio1 > r.Ratio2 ? "A" : "B";
            QVERIFY2(WinnerText(r.winner) == ahead, qPrintable(counts));
            QVERIFY2(VerdictSentence(r).find("Variation " + ahead + " ") == 0, qPrintable(counts));
        }
        const std::string sentence = VerdictSentence(r);
        QVERIFY2(sentence.find("nan") == std::string::npos && sentence.find("inf") == std::string::npos,
                 qPrintable(counts));
    }
}

void CalculationTest::markerComparesShownRatios_data()
{
    QTest::addColumn<QString>("ratio1");
    QTest::addColumn<QString>("ratio2");
    QTest::addColumn<Marker>("marker");
    QTest::newRow("version 1 higher") << "0.13" << "0.1" << std::optional<Version>(Version::A);
    QTest::newRow("version 2 higher") << "0.1" << "0.102" << std::optional<Version>(Version::B);
    QTest::newRow("same as shown") << "0.111111" << "0.111111" << std::optional<Version>();
    QTest::newRow("both zero") << "0" << "0" << std::optional<Version>();
}

void CalculationTest::markerComparesShownRatios()
{
    QFETCH(QString, ratio1);
    QFETCH(QString, ratio2);
    QFETCH(Marker, marker);
    QVERIFY(MarkerForShownRatios(ratio1.toStdString(), ratio2.toStdString()) == marker);
}

void CalculationTest::barValueKeepsSinglePrecision_data()
{
    QTest::addColumn<double>("likelihood");
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("winnerLabels");
    QTest::newRow("98.214") << 100 - 100 * (1 - 0.98214) << 98.214f << true;
    QTest::newRow("exactly 80") << 80.0 << 80.0f << true;
    QTest::newRow("76.73") << 76.73 << 76.73f << false;
    QTest::newRow("exactly 70") << 70.0 << 70.0f << false;
}

void CalculationTest::barValueKeepsSinglePrecision()
{
    QFETCH(double, likelihood);
    QFETCH(float, value);
    QFETCH(bool, winnerLabels);
    QCOMPARE_EQ(BarValue(likelihood), value);
    QCOMPARE_EQ(ShowsWinnerLabels(likelihood), winnerLabels);
}

QTEST_APPLESS_MAIN(CalculationTest)
#include "tst_calculation.moc"
