// The fold to a one-tailed p value, the likelihood and the verdict sentence.

#include <QtTest>

#include "engine/result_display.h"
#include "engine/verdict.h"
#include "figures/verdict_words.h"
#include "figures/window_view.h"
#include "numbers/number_text.h"

using namespace ambrelay;

Q_DECLARE_METATYPE(VerdictBand)

class VerdictTest : public QObject {
    Q_OBJECT

private slots:
    void verdictTable_data();
    void verdictTable();
    void boundsBelongToTheHigherBand_data();
    void boundsBelongToTheHigherBand();
};

void VerdictTest::verdictTable_data()
{
    QTest::addColumn<double>("cumulative");
    QTest::addColumn<QString>("winnerIn");
    QTest::addColumn<QString>("pShown");
    QTest::addColumn<QString>("likelihoodText");
    QTest::addColumn<VerdictBand>("band");
    QTest::addColumn<QString>("winnerOut");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("z 2.1, B") << 0.98214 << "B" << "0.01786" << "98.214" << VerdictBand::ClearWinner << "B"
                              << "Variation B is the clear and undisputed winner with a likelihood of 98.214%";
    QTest::newRow("z 1.43, A") << 0.92364 << "A" << "0.07636" << "92.364" << VerdictBand::AlmostCertain << "A"
                               << "Variation A is almost certainly the winner with a likelihood of 92.364%";
    QTest::newRow("z 1.12, A") << 0.86864 << "A" << "0.13136" << "86.864" << VerdictBand::CouldBeWinner << "A"
                               << "Variation A could be the winner but it could be explained by random "
                                  "variation. The scale is at 86.864%";
    QTest::newRow("z 0.73, B") << 0.7673 << "B" << "0.2327" << "76.73" << VerdictBand::SlightlyBetter << "B"
                               << "Variation B looks very slightly better, but it is highly likely to be random "
                                  "variation. The scale is at 76.73%";
    QTest::newRow("z 0.15, B") << 0.55962 << "B" << "0.44038" << "55.962" << VerdictBand::TooClose << "None"
                               << "It is statistically too close to call a winner. Any difference is likely "
                                  "just random variation.";
    QTest::newRow("z 0.52, A just below 70") << 0.69847 << "A" << "0.30153" << "69.847" << VerdictBand::TooClose
                                             << "None"
                                             << "It is statistically too close to call a winner. Any "
                                                "difference is likely just random variation.";
    QTest::newRow("z 0") << 0.5 << "None" << "0.5" << "50" << VerdictBand::Identical << "None"
                         << "The response rate is identical. Statistically they are the same.";
    QTest::newRow("tail, A") << 0.99998 << "A" << "0.00002" << "99.998" << VerdictBand::ClearWinner << "A"
                             << "Variation A is the clear and undisputed winner with a likelihood of 99.998%";
}

void VerdictTest::verdictTable()
{
    QFETCH(double, cumulative);
    QFETCH(QString, winnerIn);
    QFETCH(QString, pShown);
    QFETCH(QString, likelihoodText);
    QFETCH(VerdictBand, band);
    QFETCH(QString, winnerOut);
    QFETCH(QString, sentence);
    ComparisonResult r;
    r.Probability = cumulative;
    r.winner = winnerIn == "A" ? Winner(Version::A) : winnerIn == "B" ? Winner(Version::B) : std::nullopt;
    ComputeVerdict(r);
    QCOMPARE_EQ(QString::fromStdString(ViewOf(r).pValue), pShown);
    QCOMPARE_EQ(QString::fromStdString(NumberToText(r.Likelihood)), likelihoodText);
    QCOMPARE_EQ(r.Likelihood, 100 - r.Probability * 100);
    QCOMPARE_EQ(r.Band, band);
    QCOMPARE_EQ(QString::fromStdString(WinnerText(r.winner)), winnerOut);
    QCOMPARE_EQ(QString::fromStdString(r.VerdictText), sentence);
}

void VerdictTest::boundsBelongToTheHigherBand_data()
{
    // p values whose likelihood comes out as the bound exactly.
    QTest::addColumn<double>("pValue");
    QTest::addColumn<double>("likelihood");
    QTest::addColumn<VerdictBand>("band");
    QTest::newRow("95") << 0.05 << 95.0 << VerdictBand::ClearWinner;
    QTest::newRow("90") << 0.1 << 90.0 << VerdictBand::AlmostCertain;
    QTest::newRow("80") << 0.2 << 80.0 << VerdictBand::CouldBeWinner;
    QTest::newRow("70") << 0.3 << 70.0 << VerdictBand::SlightlyBetter;
}

void VerdictTest::boundsBelongToTheHigherBand()
{
    QFETCH(double, pValue);
    QFETCH(double, likelihood);
    QFETCH(VerdictBand, band);
    ComparisonResult r;
    r.Probability = pValue;  // at or below 0.5: not folded
    r.winner = Version::A;
    ComputeVerdict(r);
    QCOMPARE_EQ(r.Likelihood, likelihood);
    QCOMPARE_EQ(r.Band, band);
    QVERIFY(r.winner == Version::A);
}

QTEST_APPLESS_MAIN(VerdictTest)
#include "tst_verdict.moc"
