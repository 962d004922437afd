// A frame of users read in parts, each part's state carried as bytes and
// the parts merged in their order, gives what one reading of the whole
// frame gives: the same labels, rows left out by the same places, the caps
// at the same doubles, each version's moments to rounding; in three passes
// with caps and one without.

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <random>

#include "answers/values_frame.h"
#include "answers/values_parts.h"

using namespace ambrelay;

namespace {

// Seeded users of three tests: a few blank values, a few that are no number,
// a label missing, and one test of more versions than a test compares.
struct Users {
    std::vector<std::int64_t> groups, tests;
    std::vector<std::string> groupTexts, testTexts{"home", "mail", "cart"};
    std::vector<double> values, orders, before, beforeOrders;

    explicit Users(std::size_t n)
    {
        std::mt19937_64 random(37);
        std::uniform_real_distribution<double> unit;
        std::lognormal_distribution<double> spend(2, 1);
        for (int g = 0; g < 24; ++g) {
            groupTexts.push_back("v" + std::to_string(g));
        }
        for (std::size_t i = 0; i < n; ++i) {
            const std::int64_t test = static_cast<std::int64_t>(unit(random) * 3);
            tests.push_back(test);
            // The cart test has 24 labels: the last four met are too many.
            groups.push_back(static_cast<std::int64_t>(unit(random) * (test == 2 ? 24 : 3)));
            const double pre = unit(random) < 0.3 ? 0 : std::round(spend(random) * 100) / 100;
            before.push_back(pre);
            values.push_back(unit(random) < 0.4 ? 0 : std::round((0.5 * pre + spend(random)) * 100) / 100);
            orders.push_back(1 + std::floor(unit(random) * 3));
            beforeOrders.push_back(1 + std::floor(unit(random) * 3));
        }
        values[5] = std::nan("");                                // blank: 0
        values[n / 2] = std::numeric_limits<double>::infinity();  // no number: left out
        before[n - 1] = std::numeric_limits<double>::infinity();
        groups[7] = -1;  // no label
    }

    // Rows [from, to) as a frame of their own.
    std::pair<tables::ValuesFrame, tables::FrameLabels> Frame(const ValuesRequest& request, std::size_t from,
                                                              std::size_t to) const
    {
        const tables::ValuesLayout& l = request.layout;
        tables::ValuesFrame frame;
        frame.rows = to - from;
        frame.group = {groups.data() + from, &groupTexts, "group"};
        frame.value = {values.data() + from, nullptr, "value"};
        if (l.Ratio()) {
            frame.denominator = {orders.data() + from, nullptr, "orders"};
        }
        if (l.Covariate()) {
            frame.covariate = {before.data() + from, nullptr, "before"};
        }
        if (l.CovariateRatio()) {
            frame.covariateDenominator = {beforeOrders.data() + from, nullptr, "before_orders"};
        }
        return {frame, {tests.data() + from, &testTexts, "test"}};
    }
};

bool Near(double a, double b, double relative) { return a == b || std::fabs(a - b) <= relative * std::fabs(b); }

bool SameCaps(const CapsApplied& a, const CapsApplied& b)
{
    return a.upper == b.upper && a.lower == b.lower && a.changedUpper == b.changedUpper
           && a.changedLower == b.changedLower && a.upperOnZero == b.upperOnZero;
}

}  // namespace

class ValuesPartsTest : public QObject {
    Q_OBJECT

private slots:
    void partsAsOneReading_data();
    void partsAsOneReading();
    void bytesOfAnotherKindRefused();
    void bytesDamagedNeverCrash();
};

void ValuesPartsTest::partsAsOneReading_data()
{
    QTest::addColumn<QString>("metric");  // value, ratio, or either with a covariate
    QTest::addColumn<double>("cap");      // 0 for none
    QTest::addColumn<double>("capLower");
    QTest::addColumn<double>("capCovariate");
    QTest::addColumn<bool>("ignoreZeros");
    QTest::addColumn<QList<int>>("cuts");
    QTest::newRow("no caps: one pass") << "value" << 0.0 << 0.0 << 0.0 << false << QList<int>{0, 3000, 6000};
    QTest::newRow("caps in many parts") << "covariate" << 99.0 << 1.0 << 95.0 << false
                                        << QList<int>{0, 1, 700, 701, 2500, 4000, 6000};
    QTest::newRow("caps over values not 0") << "value" << 90.0 << 5.0 << 0.0 << true << QList<int>{0, 2000, 6000};
    QTest::newRow("a ratio with its covariate, an empty part")
        << "ratio covariate" << 99.5 << 0.0 << 99.0 << false << QList<int>{0, 0, 3000, 3000, 6000};
    QTest::newRow("a cap on 0 not applied") << "value" << 30.0 << 0.0 << 0.0 << false << QList<int>{0, 4000, 6000};
}

void ValuesPartsTest::partsAsOneReading()
{
    QFETCH(QString, metric);
    QFETCH(double, cap);
    QFETCH(double, capLower);
    QFETCH(double, capCovariate);
    QFETCH(bool, ignoreZeros);
    QFETCH(QList<int>, cuts);
    ValuesRequest request;
    tables::ValuesLayout& l = request.layout;
    l.group = "group";
    l.value = "value";
    if (metric.startsWith("ratio")) {
        l.numerator = "value";
        l.denominator = "orders";
    }
    if (metric == "covariate") {
        l.covariate = "before";
    } else if (metric == "ratio covariate") {
        l.covariateNumerator = "before";
        l.covariateDenominator = "before_orders";
    }
    for (const auto& [percent, into] : {std::pair{cap, &l.caps.upperPercent}, std::pair{capLower, &l.caps.lowerPercent},
                                        std::pair{capCovariate, &l.caps.covariateUpperPercent}}) {
        if (percent > 0) {
            *into = percent;
        }
    }
    l.caps.ignoreZeros = ignoreZeros;
    const Users users(6000);

    const auto [whole, wholeTests] = users.Frame(request, 0, 6000);
    const std::vector<FrameTest> one = CompareValuesFrame(whole, &wholeTests, request);

    std::optional<ValuesParts> before;
    int passes = 0;
    for (;; ++passes) {
        std::optional<ValuesParts> merged;
        for (int p = 0; p + 1 < cuts.size(); ++p) {
            const auto [frame, tests] =
                users.Frame(request, static_cast<std::size_t>(cuts[p]), static_cast<std::size_t>(cuts[p + 1]));
            ValuesParts part = before ? *before : ValuesParts(request);
            part.Read(frame, &tests, request);
            // Every part travels to the next worker as bytes.
            const std::optional<ValuesParts> travelled = ValuesParts::FromBytes(part.ToBytes());
            QVERIFY(travelled);
            if (merged) {
                merged->Merge(*travelled);
            } else {
                merged = *travelled;
            }
        }
        if (merged->Last()) {
            before = merged;
            break;
        }
        before = merged->Next(request);
    }
    QCOMPARE(passes + 1, cap > 0 || capLower > 0 || capCovariate > 0 ? 3 : 1);

    const std::vector<FrameTest> parts = before->Answers(request);
    QCOMPARE(parts.size(), one.size());
    for (std::size_t t = 0; t < one.size(); ++t) {
        QCOMPARE(parts[t].label, one[t].label);
        QVERIFY(one[t].answer && parts[t].answer);
        const tables::ValuesRead& a = one[t].answer->read;
        const tables::ValuesRead& b = parts[t].answer->read;
        QCOMPARE(b.labels, a.labels);
        QCOMPARE(b.blanks, a.blanks);
        QCOMPARE(b.rowsLeftOut, a.rowsLeftOut);
        QCOMPARE(b.firstRowsLeftOut.size(), a.firstRowsLeftOut.size());
        for (std::size_t i = 0; i < a.firstRowsLeftOut.size(); ++i) {
            QCOMPARE(b.firstRowsLeftOut[i].line, a.firstRowsLeftOut[i].line);
            QCOMPARE(b.firstRowsLeftOut[i].reason, a.firstRowsLeftOut[i].reason);
        }
        QVERIFY(SameCaps(b.result.caps, a.result.caps));
        QVERIFY(SameCaps(b.result.covariateCaps, a.result.covariateCaps));
        QCOMPARE(b.result.summaries.size(), a.result.summaries.size());
        for (std::size_t v = 0; v < a.result.summaries.size(); ++v) {
            QCOMPARE(b.result.summaries[v]->n, a.result.summaries[v]->n);
            QVERIFY(Near(b.result.summaries[v]->mean, a.result.summaries[v]->mean, 1e-14));
            QVERIFY(Near(b.result.summaries[v]->sd, a.result.summaries[v]->sd, 1e-13));
            QVERIFY(Near(b.result.skewness[v], a.result.skewness[v], 1e-10));
        }
        QCOMPARE(b.result.covariates.size(), a.result.covariates.size());
        if (l.Covariate()) {
            QVERIFY(Near(b.result.everyone->covariance, a.result.everyone->covariance, 1e-12));
            QVERIFY(Near(b.result.everyone->covariateVariance, a.result.everyone->covariateVariance, 1e-12));
        }
        QVERIFY(parts[t].answer->versions);
    }
    // What the rows held: a test of more labels than are compared, a cap that changed values.
    const FrameTest& cart = *std::find_if(one.begin(), one.end(), [](const FrameTest& t) { return t.label == "cart"; });
    QCOMPARE(cart.answer->read.labels.size(), std::size_t{20});
    QVERIFY(cart.answer->read.rowsLeftOut > 100);
    if (cap > 0) {
        QCOMPARE(cart.answer->read.result.caps.upperOnZero, cap < 40);
        QVERIFY(cap < 40 || cart.answer->read.result.caps.changedUpper > 0);
    }
}

namespace {

// The first pass's part of `n` users, capped at `cap`, with what they did before the test or without.
std::pair<ValuesRequest, std::string> PartBytes(std::size_t n, double cap, bool covariate)
{
    ValuesRequest request;
    request.layout.group = "group";
    request.layout.value = "value";
    request.layout.caps.upperPercent = cap;
    if (covariate) {
        request.layout.covariate = "before";
    }
    const Users users(n);
    const auto [frame, tests] = users.Frame(request, 0, n);
    ValuesParts part(request);
    part.Read(frame, &tests, request);
    return {request, part.ToBytes()};
}

}  // namespace

void ValuesPartsTest::bytesOfAnotherKindRefused()
{
    const auto [request, bytes] = PartBytes(300, 99, false);
    QVERIFY(ValuesParts::FromBytes(bytes));
    QVERIFY(!ValuesParts::FromBytes(bytes.substr(0, bytes.size() - 1)));
    QVERIFY(!ValuesParts::FromBytes(bytes + "x"));
    QVERIFY(!ValuesParts::FromBytes("another program's bytes" + bytes.substr(23)));
    QVERIFY(!ValuesParts::FromBytes(""));
    // The same state gives the same bytes: nothing but its members goes out.
    QVERIFY(PartBytes(300, 99, false).second == bytes);
}

// Bytes damaged on their way, one byte at a time: refused, or a part that
// merges, moves to its next pass and answers without reading beyond what it
// holds (the sanitizers' build sees any such read).
void ValuesPartsTest::bytesDamagedNeverCrash()
{
    const auto [request, bytes] = PartBytes(40, 90, true);
    const ValuesParts part = *ValuesParts::FromBytes(bytes);
    int refused = 0;
    for (std::size_t at = 24; at < bytes.size(); ++at) {
        for (const char to : {'\xff', '\x00', '\x07'}) {
            std::string damaged = bytes;
            if (damaged[at] == to) {
                continue;
            }
            damaged[at] = to;
            std::optional<ValuesParts> read = ValuesParts::FromBytes(damaged);
            if (!read) {
                ++refused;
                continue;
            }
            ValuesParts merged = part;
            merged.Merge(*read);
            read->Merge(part);
            (void)merged.Next(request).Answers(request);
            (void)read->Answers(request);
        }
    }
    QVERIFY(refused > 0);
}

QTEST_APPLESS_MAIN(ValuesPartsTest)
#include "tst_values_parts.moc"
