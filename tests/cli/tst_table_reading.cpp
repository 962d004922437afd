// How a table is read: the header decides the delimiter and the decimal
// mark, the options override, the count columns are found by name or place,
// and a count written for the other decimal mark fails its row, unguessed.

#include <QtTest>
#include <random>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/problems.h"
#include "cli/table_run.h"
#include "tables/text_encoding.h"

using namespace ambrelay;
using Json = nlohmann::ordered_json;

class TableReadingTest : public QObject {
    Q_OBJECT

private slots:
    void countsAsRead_data();
    void countsAsRead();
    void encodingsAsSpreadsheetsWrite_data();
    void encodingsAsSpreadsheetsWrite();
    void sameOutputWhateverTheJobs();
    void longFormInTheOrderOfItsTests();
};

void TableReadingTest::countsAsRead_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("options");     // delimiter, mark (c or p), --columns, h for no header
    QTest::addColumn<QString>("expected");    // ratio1 of each row, or "error: " and a piece of the reason
    QTest::newRow("commas, thousands grouped") << "views1,responses1,views2,responses2\n\"1,000\",100,1000,130\n"
                                               << ",,," << "0.1";
    QTest::newRow("semicolons: a decimal comma") << "views1;responses1;views2;responses2\n1.000;100,5;1000;130\n"
                                                 << ",,," << "0.1005";
    QTest::newRow("more semicolons than commas") << "a,b;views1;responses1;views2;responses2\nx;200;20;200;26\n"
                                                 << ",,," << "0.1";
    QTest::newRow("a quoted semicolon counts not") << "\"a;b;c\",views1,responses1,views2,responses2\nx,200,20,200,26\n"
                                                   << ",,," << "0.1";
    QTest::newRow("tabs, a point") << "views1\tresponses1\tviews2\tresponses2\n1000.5\t100.5\t1000\t130\n"
                                   << ",,," << "0.10045";
    QTest::newRow("sep= names the delimiter") << "sep=|\nviews1|responses1|views2|responses2\n200|20|200|26\n"
                                              << ",,," << "0.1";
    QTest::newRow("a point where commas mark decimals") << "views1;responses1;views2;responses2\n12.50;3;100;4\n"
                                                        << ",,," << "error: where ',' is the decimal mark";
    QTest::newRow("a comma where points mark decimals") << "views1\tresponses1\tviews2\tresponses2\n0,5\t0\t10\t1\n"
                                                        << ",,," << "error: where '.' is the decimal mark";
    QTest::newRow("--decimal-comma in a comma table") << "views1,responses1,views2,responses2\n\"12,5\",5,100,4\n"
                                                      << ",c,," << "0.4";
    QTest::newRow("--decimal-point in a semicolon table") << "views1;responses1;views2;responses2\n12.5;5;100;4\n"
                                                          << ",p,," << "0.4";
    // Four commas against four semicolons: the header alone would take the comma.
    QTest::newRow("--delimiter over the header") << "a,b,c,d,e;views1;responses1;views2;responses2\nx;200;20;200;26\n"
                                                 << ";,p,," << "0.1";
    QTest::newRow("names as the header has them") << "Visitors A , CONV A,Visitors B,Conv B\n200,20,200,26\n"
                                                  << ",,visitors a|conv a|Visitors B| conv b," << "0.1";
    QTest::newRow("places, the first row a row") << "x,200,20,200,26\ny,100,5,100,4\n"
                                                 << ",,2|3|4|5,h" << "0.1 0.05";
}

void TableReadingTest::countsAsRead()
{
    QFETCH(QString, table);
    QFETCH(QString, options);
    QFETCH(QString, expected);
    const QStringList o = options.split(',');
    cli::TableRequest read;
    read.json = true;
    if (!o[0].isEmpty()) {
        read.dialect.delimiter = o[0].toLatin1().at(0);
    }
    if (!o[1].isEmpty()) {
        read.dialect.decimalComma = o[1] == "c";
    }
    read.columns = QString(o[2]).replace('|', ',').toStdString();
    read.dialect.header = o[3] != "h";
    std::istringstream in(table.toStdString());
    std::ostringstream out, err;
    QVERIFY(cli::AnswerTable(in, read, out, err) != cli::kUsage);
    QStringList seen;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        const Json row = Json::parse(line);
        seen << (row["error"].is_null() ? QString::number(row["window_ratio1"].get<double>())
                                        : "error: " + QString::fromStdString(row["error"].get<std::string>()));
    }
    if (expected.startsWith("error: ")) {
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].contains(expected.mid(7)), qPrintable(seen[0]));
    } else {
        QCOMPARE(seen.join(' '), expected);
    }
}

namespace {

QByteArray Utf16(const QString& text, bool bigEndian)
{
    QByteArray bytes(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (const QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8), low = static_cast<char>(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
    }
    return bytes;
}

}  // namespace

void TableReadingTest::encodingsAsSpreadsheetsWrite_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("encoding");  // --encoding, or empty
    QTest::addColumn<QString>("names");     // each row's name as JSON carries it, or "error: " and a piece
    QTest::addColumn<QByteArray>("csvStart");
    const QString header = "name,views1,responses1,views2,responses2\n";
    const QString rows = QString::fromUtf8("Größe – 測試,200,20,200,26\n");
    QTest::newRow("UTF-8") << (header + rows).toUtf8() << "" << QString::fromUtf8("Größe – 測試") << QByteArray("name,");
    QTest::newRow("UTF-8 with its mark") << "\xEF\xBB\xBF" + (header + rows).toUtf8() << ""
                                         << QString::fromUtf8("Größe – 測試") << QByteArray("\xEF\xBB\xBFname,");
    const QString tabs = QString(header + rows).replace(',', '\t');
    QTest::newRow("Unicode Text: UTF-16, tabs") << Utf16(tabs, false) << "" << QString::fromUtf8("Größe – 測試")
                                                << QByteArray("\xFF\xFEn\0a\0m\0e\0\t\0", 12);
    QTest::newRow("UTF-16, big-endian") << Utf16(tabs, true) << "" << QString::fromUtf8("Größe – 測試")
                                        << QByteArray("\xFE\xFF\0n\0a", 6);
    // Excel's CSV on a Western European Windows; 0x81 is a byte Windows-1252 leaves undefined.
    const QByteArray western = header.toLatin1() + "Gr\xF6\xDF\x65 \x80\x81,200,20,200,26\n";
    QTest::newRow("Windows-1252") << western << "" << QString::fromUtf8("Größe €\u0081") << QByteArray("name,");
    QTest::newRow("UTF-8 said, then a row that is not")
        << (header + rows).toUtf8() + "x\xF6,200,20,200,26\n" << ""
        << QString::fromUtf8("Größe – 測試|error: not UTF-8 text") << QByteArray("name,");
    QTest::newRow("Windows-1252 said, then UTF-8")
        << western + QString::fromUtf8("Größe,200,20,200,26\n").toUtf8() << ""
        << QString::fromUtf8("Größe €\u0081|error: reads as UTF-8") << QByteArray("name,");
    QTest::newRow("--encoding windows-1252 over UTF-8 bytes") << QString::fromUtf8("name,views1,responses1,views2,"
                                                                                   "responses2\nö,200,20,200,26\n")
                                                                     .toUtf8()
                                                              << "windows-1252" << QString::fromUtf8("Ã¶")
                                                              << QByteArray("name,");
}

void TableReadingTest::encodingsAsSpreadsheetsWrite()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, encoding);
    QFETCH(QString, names);
    QFETCH(QByteArray, csvStart);
    cli::TableRequest read;
    if (!encoding.isEmpty()) {
        read.dialect.encoding = tables::EncodingNamed(encoding.toStdString());
    }
    std::ostringstream csvOut, err;
    {
        std::istringstream in(table.toStdString());
        QVERIFY(cli::AnswerTable(in, read, csvOut, err) != cli::kUsage);
    }
    read.json = true;
    std::istringstream in(table.toStdString());
    std::ostringstream out;
    QVERIFY(cli::AnswerTable(in, read, out, err) != cli::kUsage);
    QStringList seen;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        const Json row = Json::parse(line);  // throws on anything but UTF-8
        seen << (row["error"].is_null() ? QString::fromStdString(row["name"].get<std::string>())
                                        : "error: " + QString::fromStdString(row["error"].get<std::string>()));
    }
    const QStringList wanted = names.split('|');
    QCOMPARE(seen.size(), wanted.size());
    for (int i = 0; i < wanted.size(); ++i) {
        QVERIFY2(wanted[i].startsWith("error: ") ? seen[i].contains(wanted[i].mid(7)) : seen[i] == wanted[i],
                 qPrintable(seen[i]));
    }
    // The CSV goes out in the input's encoding, the user's text byte for byte as it came.
    const QByteArray csv = QByteArray::fromStdString(csvOut.str());
    QVERIFY2(csv.startsWith(csvStart), csv.left(16).toHex().constData());
    const QByteArray firstName = table.mid(table.indexOf('\n') + 1).left(table.mid(table.indexOf('\n') + 1).indexOf(table.contains('\t') ? '\t' : ','));
    if (!table.startsWith("\xFF") && !table.startsWith("\xFE")) {
        QVERIFY(csv.contains(firstName));
    }
}

// Rows are judged in parts on several threads and must still come out in
// their order, each exactly as one thread writes it: CSV and JSON, with rows
// that fail among those that do not, over more than one batch.
void TableReadingTest::sameOutputWhateverTheJobs()
{
    std::mt19937_64 random(20261210);
    std::string table = "name,views1,responses1,views2,responses2\n";
    for (int i = 0; i < 9000; ++i) {
        const long v1 = std::uniform_int_distribution<long>(0, 50000)(random);
        const long v2 = std::uniform_int_distribution<long>(1, 50000)(random);
        const long r1 = std::uniform_int_distribution<long>(0, v1 + (i % 97 == 0))(random);
        const long r2 = std::uniform_int_distribution<long>(0, v2)(random);
        table += "t" + std::to_string(i) + "," + std::to_string(v1) + "," + std::to_string(r1) + ","
                 + std::to_string(v2) + "," + std::to_string(r2) + (i % 501 == 0 ? ",extra" : "") + "\n";
    }
    for (const bool json : {false, true}) {
        std::string outputs[2], errors[2];
        for (unsigned jobs : {1u, 2u}) {
            cli::TableRequest read;
            read.json = json;
            read.jobs = jobs;
            std::istringstream in(table);
            std::ostringstream out, err;
            cli::AnswerTable(in, read, out, err);
            outputs[jobs - 1] = out.str();
            errors[jobs - 1] = err.str();
        }
        QVERIFY(!errors[0].empty());  // the table has rows that fail
        QVERIFY(outputs[0] == outputs[1]);
        QVERIFY(errors[0] == errors[1]);
    }
}

// A table of versions over several thousand tests, some of whose second
// rows come far later and some of which fail: each test's rows go out where
// its first row came, whatever the threads, and every test goes out.
void TableReadingTest::longFormInTheOrderOfItsTests()
{
    constexpr int kTests = 3000;
    std::mt19937_64 random(36);
    std::vector<std::string> early, late;
    for (int i = 0; i < kTests; ++i) {
        const long v1 = std::uniform_int_distribution<long>(1, 50000)(random);
        const long v2 = std::uniform_int_distribution<long>(1, 50000)(random);
        const long r1 = std::uniform_int_distribution<long>(0, v1)(random);
        const long r2 = i % 97 == 0 ? v2 + 1 : std::uniform_int_distribution<long>(0, v2)(random);
        early.push_back("t" + std::to_string(i) + ",A," + std::to_string(v1) + "," + std::to_string(r1) + "\n");
        const std::string second = "t" + std::to_string(i) + ",B," + std::to_string(v2) + "," + std::to_string(r2) + "\n";
        (i % 7 == 0 ? late : early).push_back(second);
    }
    std::string table = "test,version,views,responses\n";
    for (const std::string& row : early) {
        table += row;
    }
    for (const std::string& row : late) {
        table += row;
    }
    std::string outputs[2], errors[2];
    for (unsigned jobs : {1u, 2u}) {
        cli::TableRequest read;
        read.jobs = jobs;
        std::istringstream in(table);
        std::ostringstream out, err;
        cli::AnswerTable(in, read, out, err);
        outputs[jobs - 1] = out.str();
        errors[jobs - 1] = err.str();
    }
    QVERIFY(outputs[0] == outputs[1]);
    QVERIFY(errors[0] == errors[1]);
    QVERIFY(!errors[0].empty());  // the tests with more responses than views
    std::istringstream lines(outputs[0]);
    std::string line;
    std::getline(lines, line);
    int expected = 0;
    while (std::getline(lines, line)) {
        const int test = std::stoi(line.substr(1, line.find(',') - 1));
        QVERIFY2(test == expected || test == expected - 1, line.c_str());  // a failed test writes both its rows
        expected = test + 1;
    }
    QCOMPARE(expected, kTests);
}

QTEST_APPLESS_MAIN(TableReadingTest)
#include "tst_table_reading.moc"
