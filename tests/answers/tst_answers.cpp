// The answers every door takes: a table's count columns found or said why,
// a row answered with its own line kept on its problem, a plan read from
// the texts a person types, a file of values compared again under other
// options as if read anew, and a pool that runs every part once.

#include <QtTest>
#include <atomic>
#include <mutex>
#include <set>
#include <sstream>

#include "answers/plan_reading.h"
#include "answers/table_answers.h"
#include "answers/values_answer.h"
#include "answers/worker_pool.h"

using namespace ambrelay;

Q_DECLARE_METATYPE(Reason)
Q_DECLARE_METATYPE(TableKind)

class AnswersTest : public QObject {
    Q_OBJECT

private slots:
    void countColumns_data();
    void countColumns();
    void rowsKeepTheirLine();
    void plansAsTyped_data();
    void plansAsTyped();
    void comparedAgainAsIfReadAnew();
    void everyPartOnce();
};

void AnswersTest::countColumns_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<TableKind>("kind");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("noHeader");
    QTest::addColumn<QString>("found");  // the 0-based places, or the problem's reason by number
    const QStringList counts{"test", "Views1", "responses1", "views2", "responses2"};
    QTest::newRow("the usual names, any case") << counts << TableKind::Rates << "" << false << "1 2 3 4";
    QTest::newRow("named, in the order asked") << counts << TableKind::Rates << "views2,responses2,Views1,responses1"
                                               << false << "3 4 1 2";
    QTest::newRow("by position") << counts << TableKind::Rates << "2, 3,4,5" << false << "1 2 3 4";
    QTest::newRow("without a header, the first places") << QStringList{"c1", "c2", "c3", "c4", "c5", "c6"}
                                                       << TableKind::Means << "" << true << "0 1 2 3 4 5";
    QTest::newRow("the usual names missing")
        << QStringList{"a", "b"} << TableKind::Means << "" << false
        << QString::number(int(Reason::CountColumnsNotFound));
    QTest::newRow("a name asked for, missing") << counts << TableKind::Rates << "views1,responses1,views2,clicks"
                                               << false << QString::number(int(Reason::NoSuchColumn));
    QTest::newRow("three columns for four counts") << counts << TableKind::Rates << "1,2,3" << false
                                                   << QString::number(int(Reason::ColumnsNamed));
    QTest::newRow("a name without a header") << counts << TableKind::Rates << "a,2,3,4" << true
                                             << QString::number(int(Reason::PositionsOnly));
    QTest::newRow("a place beyond the table") << counts << TableKind::Rates << "2,3,4,9" << false
                                              << QString::number(int(Reason::NoSuchPosition));
}

void AnswersTest::countColumns()
{
    QFETCH(QStringList, names);
    QFETCH(TableKind, kind);
    QFETCH(QString, asked);
    QFETCH(bool, noHeader);
    QFETCH(QString, found);
    std::vector<std::string> header;
    for (const QString& n : names) {
        header.push_back(n.toStdString());
    }
    const Outcome<CountColumns> columns = FindCountColumns(header, kind, asked.toStdString(), noHeader);
    QStringList places;
    for (std::size_t i = 0; columns && i < columns->count; ++i) {
        places << QString::number(columns->at[i]);
    }
    QCOMPARE(columns ? places.join(' ') : QString::number(int(columns.Failure().reason)), found);
}

// A row's problem, found while reading it or while judging it, names its line.
void AnswersTest::rowsKeepTheirLine()
{
    const std::vector<std::string> names{"views1", "responses1", "views2", "responses2"};
    const CountColumns columns = *FindCountColumns(names, TableKind::Rates, "", false);
    tables::TableRow row{{"1000", "100", "0", "0"}, 7, std::nullopt};
    const Outcome<Judgement> noViews = JudgeRow(row, columns, names, false, {});
    QCOMPARE(noViews.Failure().reason, Reason::NoViews2);
    QCOMPARE(noViews.Failure().line, 7L);
    row.fields = {"1.2.3", "100", "1000", "130"};
    const Outcome<Judgement> noNumber = JudgeRow(row, columns, names, false, {});
    QCOMPARE(noNumber.Failure().reason, Reason::NotANumber);  // no number with either mark
    QCOMPARE(noNumber.Failure().line, 7L);
    row.fields = {"1.000", "100", "1000,5", "130"};
    QCOMPARE(JudgeRow(row, columns, names, true, {})->counts.views2, 1000.5);
    row.fields = {"12.50", "1", "100", "4"};
    const Outcome<Judgement> unguessed = JudgeRow(row, columns, names, true, {});
    QCOMPARE(unguessed.Failure().reason, Reason::OtherDecimalMark);
    QCOMPARE(unguessed.Failure().name, std::string("views1"));
    QCOMPARE(unguessed.Failure().line, 7L);
}

void AnswersTest::plansAsTyped_data()
{
    QTest::addColumn<QStringList>("typed");  // baseline, mde, observations, split, absolute (a or "")
    QTest::addColumn<QString>("read");       // baseline, effect or observations, share; or the problem and its input
    QTest::newRow("a fraction and a bare percent") << QStringList{"0.1", "20", "", "50", ""} << "0.1 20 50";
    QTest::newRow("percents with their signs") << QStringList{"10%", "20%", "", "25/75", ""} << "0.1 20 25";
    QTest::newRow("points with a % sign") << QStringList{"10%", "2%", "", "50", "a"} << "0.1 2 50";
    QTest::newRow("points, a fraction of a point") << QStringList{"10%", "0.5", "", "50", "a"} << "0.1 0.5 50";
    QTest::newRow("observations instead") << QStringList{"10%", "", "3841", "50", ""} << "0.1 3841 50";
    QTest::newRow("a relative effect of 0.2") << QStringList{"0.1", "0.2", "", "50", ""}
                                              << QString("%1 --mde").arg(int(Reason::PercentOrFraction));
    QTest::newRow("a baseline of 10") << QStringList{"10", "20", "", "50", ""}
                                      << QString("%1 --baseline").arg(int(Reason::FractionNotPercent));
    QTest::newRow("a split of three") << QStringList{"10%", "20", "", "50/25/25", ""}
                                      << QString("%1 --split").arg(int(Reason::SharesForVersions));
}

void AnswersTest::plansAsTyped()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, read);
    PlanTexts texts;
    texts.baseline = typed[0].toStdString();
    texts.mde = typed[1].toStdString();
    texts.observations = typed[2].toStdString();
    texts.split = typed[3].toStdString();
    texts.absolute = typed[4] == "a";
    const Outcome<PlanRequest> plan = ReadRatesPlan(texts, NameKind::Option, "--");
    if (!plan) {
        QCOMPARE(QString("%1 %2").arg(int(plan.Failure().reason)).arg(QString::fromStdString(plan.Failure().name)),
                 read);
        return;
    }
    const double effect = plan->effect ? *plan->effect : *plan->observationsPerVersion;
    QCOMPARE(QString("%1 %2 %3").arg(plan->settings.baseline).arg(effect).arg(plan->settings.sharePercent), read);
    QCOMPARE(plan->settings.kind, texts.absolute ? EffectKind::Absolute : EffectKind::Relative);
}

// The averages window compares a file again when "lower is better" or the
// split changes, without reading it again: the same as reading it anew.
void AnswersTest::comparedAgainAsIfReadAnew()
{
    const std::string file = "group,value\nA,5\nA,7\nA,6\nB,4\nB,5\nB,3\n";
    ValuesRequest request;
    request.layout.group = "group";
    request.layout.value = "value";
    std::istringstream first(file);
    const ValuesAnswer higher = *CompareValuesFile(first, request);
    request.options.better = Better::Lower;
    request.options.splitPercentA = 40;
    std::istringstream second(file);
    const ValuesAnswer anew = *CompareValuesFile(second, request);
    const ValuesAnswer again = Recompared(higher, request.options, request.family);
    QCOMPARE(again.Pair()->comparison.leader, Version::B);
    QCOMPARE(again.Pair()->comparison.leader, anew.Pair()->comparison.leader);
    QCOMPARE(again.Pair()->comparison.pOneSided, anew.Pair()->comparison.pOneSided);
    QCOMPARE(again.Pair()->comparison.sampleRatio->pValue, anew.Pair()->comparison.sampleRatio->pValue);
    QVERIFY(again.Pair()->comparison.sampleRatio->pValue != higher.Pair()->comparison.sampleRatio->pValue);
}

void AnswersTest::everyPartOnce()
{
    WorkerPool pool(3);
    QCOMPARE(pool.Workers(), std::size_t(4));
    for (const std::size_t parts : {0, 1, 7, 1000}) {
        std::vector<std::atomic<int>> done(parts);
        std::mutex seen;
        std::set<std::size_t> workers;
        pool.Run(parts, [&](std::size_t part, std::size_t worker) {
            ++done[part];
            const std::lock_guard<std::mutex> hold(seen);
            workers.insert(worker);
        });
        QVERIFY(std::all_of(done.begin(), done.end(), [](const std::atomic<int>& n) { return n == 1; }));
        QVERIFY(workers.empty() || *workers.rbegin() < pool.Workers());
    }
}

QTEST_APPLESS_MAIN(AnswersTest)
#include "tst_answers.moc"
