// The number writer for programs: the shortest form is the standard
// library's own text, character for character; the JSON form reads back to
// the same double and always keeps a point or an exponent; whole counts are
// written whole in CSV and JSON alike.

#include <QtTest>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "figures/machine_text.h"
#include "figures/number_writer.h"

using namespace ambrelay;

namespace {

QString Written(double x, NumberLayout layout)
{
    char buffer[kNumberRoom];
    return QString::fromLatin1(buffer, WriteNumber(buffer, x, layout) - buffer);
}

QString Library(double x)
{
    char buffer[64];
    return QString::fromLatin1(buffer, std::to_chars(buffer, buffer + sizeof buffer, x).ptr - buffer);
}

double ReadBack(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    double x = std::numeric_limits<double>::quiet_NaN();
    std::from_chars(bytes.data(), bytes.data() + bytes.size(), x);
    return x;
}

// The significant digits of a text, without sign, point, leading zeros or
// exponent: the two layouts must agree on them.
QString Significant(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c == 'e') {
            break;
        }
        if (c.isDigit() && !(digits.isEmpty() && c == '0')) {
            digits += c;
        }
    }
    while (digits.endsWith('0')) {
        digits.chop(1);
    }
    return digits;
}

}  // namespace

class NumberWriterTest : public QObject {
    Q_OBJECT

private slots:
    void layouts_data();
    void layouts();
    void randomDoubles();
    void figuresWhole_data();
    void figuresWhole();
};

void NumberWriterTest::layouts_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("shortest");
    QTest::addColumn<QString>("json");
    QTest::newRow("a tenth") << 0.1 << "0.1" << "0.1";
    QTest::newRow("whole, not a count") << 2.0 << "2" << "2.0";
    QTest::newRow("ten thousand: fixed on a tie") << 1e4 << "10000" << "10000.0";
    QTest::newRow("a hundred thousand") << 1e5 << "1e+05" << "100000.0";
    QTest::newRow("two digits, five zeros") << 1.2e6 << "1200000" << "1200000.0";
    QTest::newRow("two digits, six zeros") << 1.2e7 << "1.2e+07" << "12000000.0";
    QTest::newRow("a thousandth") << 0.001 << "0.001" << "0.001";
    QTest::newRow("a ten-thousandth") << 1e-4 << "1e-04" << "0.0001";
    QTest::newRow("a hundred-thousandth") << 1e-5 << "1e-05" << "1e-05";
    QTest::newRow("two digits, fixed on a tie") << 1.2e-4 << "0.00012" << "0.00012";
    QTest::newRow("two digits, exponent") << 1.2e-5 << "1.2e-05" << "1.2e-05";
    QTest::newRow("a p value") << 0.035533008 << "0.035533008" << "0.035533008";
    QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345" << "123456789012345.0";
    QTest::newRow("1e15") << 1e15 << "1e+15" << "1e+15";
    QTest::newRow("negative") << -2.5 << "-2.5" << "-2.5";
    QTest::newRow("negative zero") << -0.0 << "-0" << "-0.0";
    QTest::newRow("zero") << 0.0 << "0" << "0.0";
    QTest::newRow("three-digit exponent") << 1e300 << "1e+300" << "1e+300";
    QTest::newRow("smallest subnormal") << 5e-324 << "5e-324" << "5e-324";
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << "1.7976931348623157e+308"
                                    << "1.7976931348623157e+308";
    QTest::newRow("beyond 2^53, its own digits") << 123456789012345678000.0 << Library(123456789012345678000.0)
                                                 << "1.2345678901234568e+20";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << "0.30000000000000004" << "0.30000000000000004";
}

void NumberWriterTest::layouts()
{
    QFETCH(double, x);
    QFETCH(QString, shortest);
    QFETCH(QString, json);
    QCOMPARE(Written(x, NumberLayout::Shortest), shortest);
    QCOMPARE(Written(x, NumberLayout::Shortest), Library(x));
    QCOMPARE(Written(x, NumberLayout::Json), json);
    QCOMPARE(QString::fromStdString(ExactNumber(x)), shortest);
}

// A million doubles of every magnitude, half from random bits and half of
// the kind figures hold (a few digits, a power of ten): the shortest form is
// the library's, and the JSON form has the same digits, reads back to the
// same double and is never taken for an integer.
void NumberWriterTest::randomDoubles()
{
    std::mt19937_64 random(36);
    std::uniform_int_distribution<int> digits(1, 17);
    std::uniform_int_distribution<int> power(-30, 30);
    for (int i = 0; i < 1000000; ++i) {
        double x;
        if (i % 2 == 0) {
            const std::uint64_t bits = random();
            std::memcpy(&x, &bits, sizeof x);
            if (!std::isfinite(x)) {
                continue;
            }
        } else {
            const double whole = static_cast<double>(random() % static_cast<std::uint64_t>(std::pow(10, digits(random))));
            x = whole * std::pow(10.0, power(random));
        }
        const QString shortest = Written(x, NumberLayout::Shortest);
        const QString json = Written(x, NumberLayout::Json);
        if (shortest != Library(x) || ReadBack(json) != x || !(json.contains('.') || json.contains('e'))
            || (std::fabs(x) < 9007199254740992.0 && Significant(json) != Significant(shortest))) {
            QFAIL(qPrintable(QString("%1: shortest %2, library %3, JSON %4")
                                 .arg(QString::number(x, 'g', 17), shortest, Library(x), json)));
        }
    }
}

void NumberWriterTest::figuresWhole_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("csv");
    QTest::addColumn<QString>("json");
    QTest::newRow("planned observations") << 100000.0 << int(Unit::Count) << "100000" << "100000";
    QTest::newRow("a count past 2^53") << 1e17 << int(Unit::Count) << "1e+17" << "1e+17";
    QTest::newRow("observations with a fraction") << 2.5 << int(Unit::Count) << "2.5" << "2.5";
    QTest::newRow("days") << 2e6 << int(Unit::Days) << "2000000" << "2000000";
    QTest::newRow("a whole statistic") << 2.0 << int(Unit::Statistic) << "2" << "2.0";
    QTest::newRow("a whole percent") << 1e5 << int(Unit::Percent) << "1e+05" << "100000.0";
}

// A figure's value through the CSV and JSON writers, as a table's row and a
// JSON line carry it.
void NumberWriterTest::figuresWhole()
{
    QFETCH(double, x);
    QFETCH(int, unit);
    QFETCH(QString, csv);
    QFETCH(QString, json);
    const FigureKind kinds[] = {{0, "figure", "", static_cast<Unit>(unit)}};
    std::vector<Figure> figures(1);
    figures[0].kind = &kinds[0];
    figures[0].value = x;
    std::string row;
    AppendFigureCsv(row, kinds, figures, '.', ',');
    QCOMPARE(QString::fromStdString(row), "," + csv);
    std::string line;
    JsonWriter writer(line, false);
    writer.BeginObject();
    WriteFigures(writer, kinds, figures, NamesOf(kinds));
    writer.EndObject();
    QCOMPARE(QString::fromStdString(line), "{\"figure\":" + json + "}");
}

QTEST_APPLESS_MAIN(NumberWriterTest)
#include "tst_number_writer.moc"
