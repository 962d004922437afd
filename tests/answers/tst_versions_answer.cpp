// A family of versions answered: two versions as a two-version judgement
// judges them, the control wherever it stands, each pair's own split from
// the test's shares, the intervals Bonferroni widens, the winners only in
// their own favour, the families that cannot be judged and why, and rows in
// long form grouped into their tests wherever they lie.

#include <QtTest>
#include <cmath>

#include "answers/long_form.h"
#include "answers/versions_answer.h"

using namespace ambrelay;

Q_DECLARE_METATYPE(Reason)

namespace {

RatesVersions Rates(const QStringList& labels, const QList<double>& counts)
{
    RatesVersions versions;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        versions.labels.push_back(labels[i].toStdString());
        versions.counts.push_back({counts[2 * i], counts[2 * i + 1]});
    }
    return versions;
}

VersionRow Row(const std::string& test, const std::string& version, std::vector<double> cells, std::size_t place)
{
    VersionRow row;
    row.test = test;
    row.version = version;
    for (const double c : cells) {
        row.cells.emplace_back(c);
    }
    row.place = place;
    row.line = static_cast<long>(place) + 2;
    return row;
}

}  // namespace

class VersionsAnswerTest : public QObject {
    Q_OBJECT

private slots:
    void twoVersionsAsEver();
    void controlAndShares();
    void intervalsAndWinners();
    void familiesWithoutAnswer_data();
    void familiesWithoutAnswer();
    void longFormGrouped();
};

// k = 2 is the two-version judgement itself: the same bits, the same failure.
void VersionsAnswerTest::twoVersionsAsEver()
{
    const Counts counts{1000, 100, 1000, 130};
    JudgeOptions options;
    options.splitPercentA = 40;
    const Judgement pair = Judge(counts, options);
    const Outcome<RatesVersionsAnswer> family = JudgeVersions(Rates({"A", "B"}, {1000, 100, 1000, 130}), options, {});
    QVERIFY(family && family->comparisons.size() == 1);
    const Insights& got = family->comparisons[0].answer.Figures();
    QCOMPARE(got.twoSidedP, pair.Figures().twoSidedP);
    QCOMPARE(family->comparisons[0].pAdjusted, pair.Figures().twoSidedP);
    QCOMPARE(got.liftIntervalPercent->low, pair.Figures().liftIntervalPercent->low);
    QCOMPARE(got.sampleRatio->pValue, pair.Figures().sampleRatio->pValue);
    QCOMPARE((*family->chanceToBeBest)[1], *pair.Figures().chanceToBeat);
    QCOMPARE(family->split->pValue, pair.Figures().sampleRatio->pValue);

    const Judgement broken = Judge({0, 0, 1000, 130});
    const Outcome<RatesVersionsAnswer> failed = JudgeVersions(Rates({"A", "B"}, {0, 0, 1000, 130}), {}, {});
    QVERIFY(!failed);
    QCOMPARE(failed.Failure().reason, broken.result.Failure().reason);
}

// The control named is A of every comparison; each pair's split is the
// control's share of the two, from the shares of the whole test.
void VersionsAnswerTest::controlAndShares()
{
    VersionsOptions family;
    family.control = "C";
    family.sharesPercent = {25, 25, 50};
    const RatesVersions versions = Rates({"A", "B", "C"}, {2500, 250, 2400, 260, 5100, 500});
    const Outcome<RatesVersionsAnswer> answer = JudgeVersions(versions, {}, family);
    QVERIFY(answer);
    QCOMPARE(answer->control, std::size_t{2});
    QCOMPARE(answer->comparisons.size(), std::size_t{2});
    QCOMPARE(answer->comparisons[0].version, std::size_t{0});
    QCOMPARE(answer->comparisons[1].version, std::size_t{1});
    const Judgement& againstA = answer->comparisons[0].answer;
    QCOMPARE(againstA.counts.views1, 5100.0);  // the control is A
    QCOMPARE(againstA.counts.views2, 2500.0);
    const Outcome<SampleRatio> pairSplit = CheckSampleRatio(5100, 2500, 100 * 50.0 / 75);
    QVERIFY(std::fabs(againstA.Figures().sampleRatio->pValue - pairSplit->pValue) < 1e-15);
    const std::vector<double> n{2500, 2400, 5100}, shares{25, 25, 50};
    QCOMPARE(answer->split->chiSquare, CheckSplit(n, shares)->chiSquare);
}

// Bonferroni widens the intervals to 1 - 0.05/m; a version significantly
// worse than the control does not beat it.
void VersionsAnswerTest::intervalsAndWinners()
{
    const RatesVersions versions = Rates({"A", "B", "C", "D"}, {10000, 1000, 10000, 1150, 10000, 850, 10000, 1010});
    VersionsOptions holm, bonferroni;
    bonferroni.adjustment = Adjustment::Bonferroni;
    const Outcome<RatesVersionsAnswer> h = JudgeVersions(versions, {}, holm);
    const Outcome<RatesVersionsAnswer> b = JudgeVersions(versions, {}, bonferroni);
    QVERIFY(h && b);
    QCOMPARE(h->intervalLevel, 0.95);
    QCOMPARE(b->intervalLevel, 1 - 0.05 / 3);
    const Insights& narrow = h->comparisons[0].answer.Figures();
    const Insights& wide = b->comparisons[0].answer.Figures();
    QVERIFY(wide.intervalLowPoints < narrow.intervalLowPoints && wide.intervalHighPoints > narrow.intervalHighPoints);
    QCOMPARE(narrow.twoSidedP, wide.twoSidedP);  // only the intervals and the adjusted p differ
    const bool expected[] = {true, false, false};  // B better; C worse, significantly; D the same
    for (std::size_t c = 0; c < 3; ++c) {
        QCOMPARE(h->comparisons[c].beatsControl, expected[c]);
        QVERIFY(h->comparisons[c].pAdjusted >= h->comparisons[c].answer.Figures().twoSidedP);
    }
    QVERIFY(h->comparisons[1].pAdjusted < 0.05);
}

void VersionsAnswerTest::familiesWithoutAnswer_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<double>>("counts");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QList<double>>("shares");
    QTest::addColumn<Reason>("reason");
    QTest::addColumn<Reason>("because");  // of VersionWithoutAnswer
    const QList<double> three{100, 10, 100, 12, 100, 9};
    QTest::newRow("one version") << QStringList{"A"} << QList<double>{100, 10} << "" << QList<double>{}
                                 << Reason::OneVersionOnly << Reason::Count;
    QTest::newRow("one label twice") << QStringList{"A", "B", "A"} << three << "" << QList<double>{}
                                     << Reason::SameVersionTwice << Reason::Count;
    QTest::newRow("a control not among them") << QStringList{"A", "B", "C"} << three << "Z" << QList<double>{}
                                              << Reason::NoSuchVersion << Reason::Count;
    QTest::newRow("shares of two versions for three") << QStringList{"A", "B", "C"} << three << ""
                                                      << QList<double>{50, 50} << Reason::SharesForVersions
                                                      << Reason::Count;
    QTest::newRow("a version never seen") << QStringList{"A", "B", "C"} << QList<double>{100, 10, 0, 0, 100, 9} << ""
                                          << QList<double>{} << Reason::VersionWithoutAnswer << Reason::NoViews2;
    QStringList many;
    QList<double> manyCounts;
    for (int i = 0; i < 21; ++i) {
        many << QString("V%1").arg(i);
        manyCounts << 100 << 10;
    }
    QTest::newRow("twenty-one versions") << many << manyCounts << "" << QList<double>{} << Reason::TooManyVersions
                                         << Reason::Count;
}

void VersionsAnswerTest::familiesWithoutAnswer()
{
    QFETCH(QStringList, labels);
    QFETCH(QList<double>, counts);
    QFETCH(QString, control);
    QFETCH(QList<double>, shares);
    QFETCH(Reason, reason);
    QFETCH(Reason, because);
    VersionsOptions family;
    family.control = control.toStdString();
    family.sharesPercent.assign(shares.begin(), shares.end());
    const Outcome<RatesVersionsAnswer> answer = JudgeVersions(Rates(labels, counts), {}, family);
    QVERIFY(!answer);
    QCOMPARE(answer.Failure().reason, reason);
    if (reason == Reason::VersionWithoutAnswer) {
        QCOMPARE(answer.Failure().name, std::string("B"));
        QCOMPARE(answer.Failure().text, std::string("A"));
        QVERIFY(answer.Failure().because.has_value());
        QCOMPARE(*answer.Failure().because, because);
    }
}

// Rows of one test apart in the file are one test; tests come in the order
// their first rows do; a row's problem is its test's, with its line.
void VersionsAnswerTest::longFormGrouped()
{
    GroupedTests tests;
    tests.Add(Row("home", "A", {12500, 310}, 0));
    tests.Add(Row("mail", "A", {5000, 400}, 1));
    tests.Add(Row("home", "B", {12480, 355}, 2));
    tests.Add(Row("mail", "B", {5000, 410}, 3));
    tests.Add(Row("home", "C", {12510, 342}, 4));
    VersionRow bad = Row("mail", "C", {5000}, 5);
    bad.problem = Problem(Reason::NotANumber, NameKind::Column, "responses", "x");
    bad.problem->line = bad.line;
    tests.Add(bad);
    QCOMPARE(tests.Size(), std::size_t{2});
    QCOMPARE(tests.Rows(0).size(), std::size_t{3});
    QCOMPARE(tests.Rows(0)[2].place, std::size_t{4});
    const Outcome<RatesVersionsAnswer> home = JudgeRowsOfTest(tests.Rows(0), {}, {});
    QVERIFY(home);
    const Outcome<RatesVersionsAnswer> direct =
        JudgeVersions(Rates({"A", "B", "C"}, {12500, 310, 12480, 355, 12510, 342}), {}, {});
    QCOMPARE(home->comparisons[1].pAdjusted, direct->comparisons[1].pAdjusted);
    QVERIFY(std::fabs((*home->chanceToBeBest)[1] - 0.692466366557986435) < 1e-9);
    const Outcome<RatesVersionsAnswer> mail = JudgeRowsOfTest(tests.Rows(1), {}, {});
    QVERIFY(!mail);
    QCOMPARE(mail.Failure().reason, Reason::NotANumber);
    QCOMPARE(mail.Failure().line, 7L);

    GroupedTests twice;
    twice.Add(Row("", "A", {10, 2, 3}, 0));
    twice.Add(Row("", "A", {12, 2, 3}, 1));
    const Outcome<MeansVersionsAnswer> same = CompareRowsOfTest(twice.Rows(0), {}, {});
    QVERIFY(!same);
    QCOMPARE(same.Failure().reason, Reason::SameVersionTwice);
}

QTEST_MAIN(VersionsAnswerTest)
#include "tst_versions_answer.moc"
