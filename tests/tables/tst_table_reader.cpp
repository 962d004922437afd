// The one table reader every door opens files through: what it settles
// from the file (encoding, delimiter, decimal mark, a sep= line), the names
// it gives the columns, and each row with its line and, where it cannot be
// read as it stands, its problem.

#include <QtTest>
#include <sstream>

#include "tables/table_reader.h"

using namespace ambrelay;
using namespace ambrelay::tables;

namespace {

QByteArray Utf16(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

}  // namespace

class TableReaderTest : public QObject {
    Q_OBJECT

private slots:
    void readAsWritten_data();
    void readAsWritten();
};

void TableReaderTest::readAsWritten_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<bool>("header");
    QTest::addColumn<QString>("settled");  // delimiter, decimal mark, encoding, a sep= line or a mark
    QTest::addColumn<QString>("names");
    QTest::addColumn<QStringList>("rows");  // "line: fields|..." or "line: problem NUMBER"
    const auto problem = [](Reason r) { return QString("problem %1").arg(int(r)); };
    QTest::newRow("commas") << QByteArray("a,b\n1,2\r\n\n3,4\n") << true << ", . utf-8" << "a b"
                            << QStringList{"2: 1|2", "4: 3|4"};
    QTest::newRow("semicolons: a decimal comma") << QByteArray("a;b\n1,5;2\n") << true << "; , utf-8" << "a b"
                                                 << QStringList{"2: 1,5|2"};
    QTest::newRow("sep= before the header") << QByteArray("sep=|\na|b\n1|2\n") << true << "| . utf-8 sep" << "a b"
                                            << QStringList{"3: 1|2"};
    QTest::newRow("a quoted line break") << QByteArray("a,b\n\"x\ny\",2\n3,4\n") << true << ", . utf-8" << "a b"
                                         << QStringList{"2: x\ny|2", "4: 3|4"};
    QTest::newRow("a field too many, one too few") << QByteArray("a,b\n1,2,3\n4\n5,6\n") << true << ", . utf-8"
                                                  << "a b"
                                                  << QStringList{"2: " + problem(Reason::FieldCount),
                                                                 "3: " + problem(Reason::FieldCount), "4: 5|6"};
    QTest::newRow("a quote never closed") << QByteArray("a,b\n1,2\n3,\"4\n5,6\n") << true << ", . utf-8" << "a b"
                                          << QStringList{"2: 1|2", "3: " + problem(Reason::UnclosedQuote)};
    QTest::newRow("no header: the first row a row") << QByteArray("1,2\n3,4\n") << false << ", . utf-8"
                                                    << "column1 column2" << QStringList{"1: 1|2", "2: 3|4"};
    QTest::newRow("UTF-16 with its mark") << Utf16(QString::fromUtf8("a\tb\nCafé\t2\n")) << true
                                          << "\t . utf-16le mark" << "a b"
                                          << QStringList{QString::fromUtf8("2: Café|2")};
    QTest::newRow("Windows-1252, found from the text") << QByteArray("a,b\nCaf\xE9,2\n") << true
                                                       << ", . windows-1252" << "a b"
                                                       << QStringList{QString::fromUtf8("2: Café|2")};
    QTest::newRow("UTF-8, then a row that is not") << QByteArray("a,b\nCaf\xC3\xA9,2\nx\xE9,3\n") << true
                                                   << ", . utf-8" << "a b"
                                                   << QStringList{QString::fromUtf8("2: Café|2"),
                                                                  "3: " + problem(Reason::NotUtf8AsBefore)};
}

void TableReaderTest::readAsWritten()
{
    QFETCH(QByteArray, table);
    QFETCH(bool, header);
    QFETCH(QString, settled);
    QFETCH(QString, names);
    QFETCH(QStringList, rows);
    std::istringstream in(table.toStdString());
    Dialect dialect;
    dialect.header = header;
    TableReader reader(in, dialect);
    QVERIFY(!reader.Start());
    QStringList seen;
    TableRow row;
    while (reader.Next(row)) {
        QStringList fields;
        for (const std::string& f : row.fields) {
            fields << QString::fromStdString(f);
        }
        seen << QString::number(row.line) + ": "
                    + (row.problem ? QString("problem %1").arg(int(row.problem->reason)) : fields.join('|'));
        QVERIFY(!row.problem || row.problem->line == row.line);
    }
    QCOMPARE(seen, rows);
    const Settled& s = reader.Found();
    const char* encodings[] = {"utf-8", "utf-16le", "utf-16be", "windows-1252"};
    QString found = QString(QChar(s.delimiter)) + ' ' + (s.decimalComma ? ',' : '.') + ' '
                    + encodings[static_cast<int>(s.encoding)];
    found += s.sepLine ? " sep" : s.byteOrderMark ? " mark" : "";
    QCOMPARE(found, settled);
    QStringList columns;
    for (const std::string& n : reader.Names()) {
        columns << QString::fromStdString(n);
    }
    QCOMPARE(columns.join(' '), names);
}

QTEST_APPLESS_MAIN(TableReaderTest)
#include "tst_table_reader.moc"
