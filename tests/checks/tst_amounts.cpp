// Values as every door but the window reads them: a percent is a percent
// with its sign, a bare number what the option says, and a bare number that
// could as well be the other is refused rather than guessed at; four counts
// name the first that is missing or no number before responses meet views.

#include <QtTest>

#include "checks/amounts.h"
#include "checks/given_values.h"

using namespace ambrelay;

Q_DECLARE_METATYPE(Amount)
Q_DECLARE_METATYPE(Reason)

namespace {

// "12.5", or the problem's reason by name.
QString Said(const Outcome<double>& read)
{
    return read ? QString::number(*read) : QString("refused %1").arg(int(read.Failure().reason));
}

QString Refused(Reason reason) { return QString("refused %1").arg(int(reason)); }

}  // namespace

class AmountsTest : public QObject {
    Q_OBJECT

private slots:
    void percentsAndFractions_data();
    void percentsAndFractions();
    void splits_data();
    void splits();
    void countsNameTheirProblem_data();
    void countsNameTheirProblem();
};

void AmountsTest::percentsAndFractions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Amount>("bare");
    QTest::addColumn<QString>("percent");
    QTest::newRow("a percent") << "99.9%" << Amount::Percent << "99.9";
    QTest::newRow("a bare percent") << "99.9" << Amount::Percent << "99.9";
    QTest::newRow("0.99: a percentile or a fraction?") << "0.99" << Amount::Percent
                                                       << Refused(Reason::PercentOrFraction);
    QTest::newRow("1 could be 1% or 100%") << "1" << Amount::Percent << Refused(Reason::PercentOrFraction);
    QTest::newRow("0.99% says which") << "0.99%" << Amount::Percent << "0.99";
    QTest::newRow("a field that shows its %") << "0.5" << Amount::PercentShown << "0.5";
    QTest::newRow("a fraction") << "0.1" << Amount::Fraction << "10";
    QTest::newRow("a fraction as a percent") << " 10% " << Amount::Fraction << "10";
    QTest::newRow("10: a percent without its sign") << "10" << Amount::Fraction
                                                    << Refused(Reason::FractionNotPercent);
    QTest::newRow("no number") << "ten" << Amount::Percent << Refused(Reason::NotANumber);
    QTest::newRow("nothing") << " " << Amount::Fraction << Refused(Reason::NoNumber);
}

void AmountsTest::percentsAndFractions()
{
    QFETCH(QString, text);
    QFETCH(Amount, bare);
    QFETCH(QString, percent);
    const Outcome<double> read = ReadPercent(text.toStdString(), bare, Origin::Option("--x"));
    QCOMPARE(Said(read), percent);
    if (!read) {
        QCOMPARE(read.Failure().name, std::string("--x"));  // the problem says where
    }
    // A script's number is read as its text is.
    if (const double x = text.toDouble(); text.trimmed() == QString::number(x)) {
        QCOMPARE(Said(GivenPercent(x, bare, Origin::Argument("x"))), percent);
    }
}

void AmountsTest::splits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shareOfA");  // for a test of two versions
    QTest::newRow("A's share") << "90" << "90";
    QTest::newRow("every version's") << "90/10" << "90";
    QTest::newRow("with their signs") << "90%/10%" << "90";
    QTest::newRow("a small share among others") << "1/99" << "1";
    QTest::newRow("0.9: 0.9% or 90%?") << "0.9" << Refused(Reason::PercentOrFraction);
    QTest::newRow("fractions that add up to 1") << "0.9/0.1" << Refused(Reason::PercentOrFraction);
    QTest::newRow("shares that do not add up") << "60/30" << Refused(Reason::SharesNotHundred);
    QTest::newRow("a share of 100") << "100" << Refused(Reason::ShareOutOfRange);
    QTest::newRow("three shares for two versions") << "50/25/25" << Refused(Reason::SharesForVersions);
}

void AmountsTest::splits()
{
    QFETCH(QString, text);
    QFETCH(QString, shareOfA);
    const Origin at = Origin::Option("--split");
    const Outcome<Split> split = ReadSplit(text.toStdString(), at);
    const Outcome<Split> two = split ? SplitFor(*split, 2, at) : split;
    QCOMPARE(two ? QString::number(two->SharePercentA()) : Refused(two.Failure().reason), shareOfA);
}

void AmountsTest::countsNameTheirProblem_data()
{
    QTest::addColumn<QStringList>("counts");  // views 1, responses 1, views 2, responses 2
    QTest::addColumn<Reason>("reason");
    QTest::addColumn<QString>("named");
    QTest::newRow("counts") << QStringList{"1000", "100", "1000", "130"} << Reason::Count << "";
    // The window would say responses exceed views: "abc" reads as 0 there.
    QTest::newRow("no number before responses against views") << QStringList{"abc", "100", "1000", "130"}
                                                              << Reason::NotANumber << "views1";
    QTest::newRow("views 2 before responses 1") << QStringList{"1000", "x", "y", "130"} << Reason::NotANumber
                                                << "views2";
    QTest::newRow("missing before no number") << QStringList{"x", "100", "1000", ""} << Reason::NoNumber
                                              << "responses2";
    QTest::newRow("then responses against views") << QStringList{"100", "200", "1000", "130"}
                                                  << Reason::ResponsesAboveViews << "";
}

void AmountsTest::countsNameTheirProblem()
{
    QFETCH(QStringList, counts);
    QFETCH(Reason, reason);
    QFETCH(QString, named);
    const char* names[4] = {"views1", "responses1", "views2", "responses2"};
    Outcome<double> read[4] = {0.0, 0.0, 0.0, 0.0};
    for (int i = 0; i < 4; ++i) {
        read[i] = ReadGiven(counts[i].toStdString(), Origin::Column(names[i]));
    }
    const Outcome<Counts> checked = CheckCounts(read[0], read[1], read[2], read[3]);
    QCOMPARE(checked ? Reason::Count : checked.Failure().reason, reason);
    QCOMPARE(checked ? QString() : QString::fromStdString(checked.Failure().name), named);
}

QTEST_APPLESS_MAIN(AmountsTest)
#include "tst_amounts.moc"
