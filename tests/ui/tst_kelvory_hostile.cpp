// Whatever people paste into the boxes: the exact message or result,
// and the pasted text never changed by a check.

#include <QClipboard>

#include "messages.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

class KelvoryHostileTest : public QObject {
    Q_OBJECT

private slots:
    void hostileInput_data();
    void hostileInput();
};

void KelvoryHostileTest::hostileInput_data()
{
    QTest::addColumn<QStringList>("inputs");  // views 1, responses 1, views 2, responses 2
    QTest::addColumn<QString>("message");     // empty: a result is shown
    QTest::addColumn<QString>("pValue");
    QTest::addColumn<QString>("zStat");
    auto message = [](const char* name, QStringList inputs, const QString& text) {
        QTest::newRow(name) << inputs << text << QString() << QString();
    };
    auto result = [](const char* name, QStringList inputs, const char* p, const char* z) {
        QTest::newRow(name) << inputs << QString() << QString(p) << QString(z);
    };
    const QString mega = QString(1 << 20, QChar('7'));

    message("empty", {"1000", "", "1000", "130"}, kBlank);
    message("blanks only", {"1000", "   ", "1000", "130"}, kRspn1);
    result("blanks around", {" 1000 ", "100", "1000", "130"}, "0.01786", "2.1");
    result("plus sign", {"1000", "+5", "1000", "130"}, "0.00002", "11.14");
    message("minus sign", {"1000", "-5", "1000", "130"}, kNegative);
    message("zero views with responses", {"0", "100", "1000", "130"}, kInverse);
    message("zero views, zero responses", {"0", "0", "1000", "130"}, kNoViews1);
    message("zero responses in both", {"1000", "0", "1000", "0"}, kNoResponses);
    message("responses equal views in both", {"1000", "1000", "1000", "1000"}, kAllResponded);
    result("grouped thousands", {"12,500", "100", "1000", "130"}, "0.00002", "28.69");
    message("comma as decimal point", {"1000", "1,5", "1000", "130"}, kRspn1);
    message("two points", {"1000", "1.2.3", "1000", "130"}, kRspn1);
    result("exponent", {"1e3", "100", "1000", "130"}, "0.01786", "2.1");
    message("overflowing exponent as responses", {"1000", "1e999", "1000", "130"}, kRspn1);
    // The reader takes a number too large for a double as 0, so the responses
    // check, which runs first, sees 100 responses for 0 views.
    message("overflowing exponent as views", {"1e999", "100", "1000", "130"}, kInverse);
    message("hex", {"1000", "0x10", "1000", "130"}, kRspn1);
    message("inf", {"1000", "inf", "1000", "130"}, kRspn1);
    message("nan", {"1000", "nan", "1000", "130"}, kRspn1);
    message("arabic-indic digits", {"1000", QString::fromUtf8("\xd9\xa1\xd9\xa0\xd9\xa0"), "1000", "130"}, kRspn1);
    message("full-width digits", {"1000", QString::fromUtf8("\xef\xbc\x91\xef\xbc\x90\xef\xbc\x90"), "1000", "130"},
            kRspn1);
    message("NUL", {"1000", QString("10") + QChar(0), "1000", "130"}, kRspn1);
    message("control character", {QString("1000") + QChar(0x7), "100", "1000", "130"}, kViews1);
    result("tabs are blanks", {"\t1000\t", "100", "1000", "130"}, "0.01786", "2.1");
    message("megabyte of digits", {"1000", mega, "1000", "130"}, kRspn1);
    result("megabyte of blanks after a count", {"1000" + QString(1 << 20, QChar(' ')), "100", "1000", "130"},
           "0.01786", "2.1");
    message("right-to-left mark", {"1000", QChar(0x200F) + QString("100"), "1000", "130"}, kRspn1);
    message("1e308 everywhere", {"1e308", "1e308", "1e308", "1e308"}, kOutOfRange);
    result("fractional counts", {"12.5", "2", "1000", "130"}, "0.37828", "0.31");
}

void KelvoryHostileTest::hostileInput()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, message);
    QFETCH(QString, pValue);
    QFETCH(QString, zStat);
    Window w;
    // Pasted from the clipboard, as people bring counts from other programs.
    const QStringList boxes = {"txtViews1", "txtRspn1", "txtViews2", "txtRspn2"};
    for (int i = 0; i < 4; ++i) {
        QApplication::clipboard()->setText(inputs[i]);
        w.Box(boxes[i])->paste();
    }
    auto texts = [&] {
        QStringList now;
        for (const QString& box : boxes) {
            now << w.Box(box)->text();
        }
        return now;
    };
    const QStringList pasted = texts();
    QVERIFY(pasted == inputs);  // the box takes the paste whole; compared without printing a megabyte
    w.Go();
    QVERIFY(texts() == pasted);  // and no check changes it
    if (message.isEmpty()) {
        QVERIFY(w.desktop.messages.isEmpty());
        QCOMPARE(w.Label("lblPVal")->text(), pValue);
        QCOMPARE(w.Label("lblZStat")->text(), zStat);
    } else {
        QCOMPARE(w.desktop.messages.size(), 1);
        QCOMPARE(w.desktop.messages.first().text, message);
        QCOMPARE(w.Label("lblPVal")->text(), QString());
    }
}

QTEST_MAIN(KelvoryHostileTest)
#include "tst_kelvory_hostile.moc"
