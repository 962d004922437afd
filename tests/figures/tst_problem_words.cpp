// Every problem reaches a person in plain words: each reason has a sentence,
// the window's messages read exactly as it has always shown them, and a
// problem that says where it lies names its box, column, argument or option
// in the words of the door that gave it.

#include <QtTest>

#include "figures/figures.h"
#include "figures/problem_words.h"

using namespace ambrelay;

Q_DECLARE_METATYPE(Problem)

namespace {

Problem At(Reason reason, NameKind kind, const char* name, const char* text = "")
{
    return Problem(reason, kind, name, text);
}

Problem With(Problem p, std::size_t count, std::size_t expected, std::vector<std::string> names = {})
{
    p.count = count;
    p.expected = expected;
    p.names = std::move(names);
    return p;
}

}  // namespace

class ProblemWordsTest : public QObject {
    Q_OBJECT

private slots:
    void everyReasonHasASentence();
    void everyWarningHasACode();
    void problemsInWords_data();
    void problemsInWords();
};

void ProblemWordsTest::everyReasonHasASentence()
{
    for (int r = 0; r < static_cast<int>(Reason::Count); ++r) {
        const std::string words = ReasonText(static_cast<Reason>(r));
        QVERIFY2(words.size() > 10, qPrintable(QString::number(r)));
        QVERIFY2(words.find("  ") == std::string::npos && words.back() != ' ', words.c_str());
        // Whatever a problem carries, its words are never empty.
        QVERIFY(!ProblemText(Problem(static_cast<Reason>(r))).empty());
    }
}

void ProblemWordsTest::everyWarningHasACode()
{
    const WarningCode codes[] = {WarningCode::SmallSample, WarningCode::SampleRatioMismatch,
                                 WarningCode::SkewedSmallSample, WarningCode::CapOnZero};
    QStringList names;
    for (const WarningCode code : codes) {
        names << QString::fromStdString(WarningCodeName(code));
    }
    QCOMPARE(names.join(' '), QString("small_sample sample_ratio_mismatch skewed_small_sample cap_on_zero"));
}

void ProblemWordsTest::problemsInWords_data()
{
    QTest::addColumn<Problem>("problem");
    QTest::addColumn<QString>("words");
    // The window's own messages, word for word.
    QTest::newRow("a blank box") << Problem(Reason::BlankBox)
                                 << "You must fill in all four values to obtain a result.";
    QTest::newRow("responses above views")
        << Problem(Reason::ResponsesAboveViews)
        << "The number of responses cannot be greater than the number of observations";
    QTest::newRow("views 1, without 'in'") << Problem(Reason::BoxNotNumeric, Input::Views1)
                                           << "Input 'Version 1 Views' must be numeric.";
    QTest::newRow("views 2") << Problem(Reason::BoxNotNumeric, Input::Views2)
                             << "Input in 'Version 2 Views' must be numeric.";
    QTest::newRow("responses 1") << Problem(Reason::BoxNotNumeric, Input::Responses1)
                                 << "Input in 'Ver 1 Responses' must be numeric.";
    QTest::newRow("responses 2") << Problem(Reason::BoxNotNumeric, Input::Responses2)
                                 << "Input in 'Ver 2 Responses' must be numeric.";
    // A value named where it was given.
    QTest::newRow("no number in a column") << At(Reason::NotANumber, NameKind::Column, "Clicks A", "abc")
                                           << "'abc' in column Clicks A is not a number";
    QTest::newRow("no number in an argument") << At(Reason::NotANumber, NameKind::Argument, "views1", "x")
                                              << "'x' in views1 is not a number";
    QTest::newRow("an empty cell") << At(Reason::NoNumber, NameKind::Column, "sd2") << "column sd2 is empty";
    QTest::newRow("a missing argument") << At(Reason::NoNumber, NameKind::Argument, "n1") << "n1 is missing";
    QTest::newRow("a form's field") << Problem(Reason::NotANumber) << "Not a number.";
    QTest::newRow("an option that is no number") << At(Reason::NotANumber, NameKind::Option, "--daily", "many")
                                                 << "--daily must be a number, not 'many'";
    // Percents and fractions, never guessed.
    QTest::newRow("a percentile of 0.99") << At(Reason::PercentOrFraction, NameKind::Option, "--cap", "0.99")
                                          << "--cap 0.99 could be 0.99% or 99%; write the one you mean with its % "
                                             "sign";
    QTest::newRow("a margin of 0.02 from Python")
        << At(Reason::PercentOrFraction, NameKind::Argument, "margin", "0.02")
        << "margin=0.02 could be 0.02% or 2%; give the one you mean as a text with its % sign, such as '2%'";
    QTest::newRow("shares that add up to 1") << At(Reason::PercentOrFraction, NameKind::Option, "--split", "0.5/0.5")
                                             << "--split 0.5/0.5 adds up to 1: give the shares in percent, adding up "
                                                "to 100, such as 50/50";
    QTest::newRow("a baseline of 10") << At(Reason::FractionNotPercent, NameKind::Option, "--baseline", "10")
                                      << "--baseline takes a fraction such as 0.1, or a percentage with its % sign "
                                         "such as 10%, not '10'";
    QTest::newRow("shares that do not add up") << At(Reason::SharesNotHundred, NameKind::Option, "--split", "60/30")
                                               << "--split takes every version's share in percent, adding up to 100, "
                                                  "not '60/30'";
    QTest::newRow("a margin out of range") << At(Reason::RelativeMarginOutOfRange, NameKind::Option, "--margin", "100")
                                           << "--margin must be a percentage above 0 and below 100, not '100'";
    QTest::newRow("a margin in units") << At(Reason::PointsMarginOutOfRange, NameKind::Option, "--margin-units", "-1")
                                       << "--margin-units must be a number above 0, in the metric's own units, not "
                                          "'-1'";
    // Tables and files of values.
    QTest::newRow("a field count") << With(Problem(Reason::FieldCount), 3, 2)
                                   << "The row has 3 fields where the header has 2.";
    QTest::newRow("a field count of one") << With(Problem(Reason::FieldCount), 1, 2)
                                          << "The row has 1 field where the header has 2.";
    QTest::newRow("the other decimal mark")
        << With(At(Reason::OtherDecimalMark, NameKind::Column, "Views A", "12.50"), 1, 0)
        << "'12.50' in Views A is not a number where ',' is the decimal mark and '.' groups thousands; if '.' is "
           "the decimal mark in this file, give --decimal-point.";
    QTest::newRow("the usual count columns") << With(At(Reason::CountColumnsNotFound, NameKind::Column, "views1",
                                                        "views1"),
                                                     0, 4, {"a", "b"})
                                             << "the header row has no column named 'views1'; its columns are: a, b. "
                                                "Name the four count columns with --columns, e.g. --columns \"Views "
                                                "A,Clicks A,Views B,Clicks B\", or by position: --columns 2,3,4,5";
    QTest::newRow("the usual summary columns") << With(At(Reason::CountColumnsNotFound, NameKind::Column, "n1", "n1"),
                                                       0, 6, {"a"})
                                               << "the header row has no column named 'n1'; its columns are: a. Name "
                                                  "the six summary columns with --columns, e.g. --columns \"Users "
                                                  "A,Average A,SD A,Users B,Average B,SD B\", or by position: "
                                                  "--columns 2,3,4,5,6,7";
    QTest::newRow("a frame's column") << With(At(Reason::NoSuchColumn, NameKind::Argument, "views1", "views1"), 0, 0,
                                              {"Views A"})
                                      << "the frame has no column named 'views1'; its columns are: Views A";
    QTest::newRow("a control in another case")
        << With(At(Reason::NoSuchVersion, NameKind::Column, "group", "Control"), 0, 0, {"control", "treatment"})
        << "no version named 'Control' in column group; the file has 'control' and 'treatment' (did you mean "
           "'control'?)";
    QTest::newRow("a blank label") << At(Reason::NoVersionLabel, NameKind::Column, "variant")
                                   << "no version label in column variant";
    QTest::newRow("the commands") << With(At(Reason::UnknownCommand, NameKind::None, "", "bogus"), 0, 0,
                                          {"judge", "means", "plan", "srm"})
                                  << "there is no command 'bogus'; the commands are judge, means, plan and srm (see "
                                     "ambrelay-cli --help)";
}

void ProblemWordsTest::problemsInWords()
{
    QFETCH(Problem, problem);
    QFETCH(QString, words);
    QCOMPARE(QString::fromStdString(ProblemText(problem)), words);
}

QTEST_APPLESS_MAIN(ProblemWordsTest)
#include "tst_problem_words.moc"
