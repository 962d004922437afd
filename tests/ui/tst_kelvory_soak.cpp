// 100,000 presses of "Go" with random valid and invalid counts: after every
// one the window shows either the one message of a failed step with the
// previous result untouched, or a result whose parts agree with each other;
// and memory does not grow over the run.

#include <QFile>
#include <random>

#include "numbers/number_text.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

constexpr int kClicks = 100000;

// AddressSanitizer holds freed memory back in quarantine, so resident memory
// grows by design there; LeakSanitizer watches for leaks in that build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentMemoryMeaningful = false;
#else
constexpr bool kResidentMemoryMeaningful = true;
#endif

long ResidentKilobytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return 0;
}

// A count as people type it, mostly valid, sometimes not.
QString RandomText(std::mt19937& random, bool views)
{
    const int kind = std::uniform_int_distribution<int>(0, 19)(random);
    const int maximum = views ? 100000 : 2000;
    const int value = std::uniform_int_distribution<int>(0, maximum)(random);
    switch (kind) {
    case 0:
        return QString();
    case 1:
        return QStringLiteral("abc");
    case 2:
        return QString::number(-value);
    case 3:
        return QStringLiteral("0");
    case 4:
        return QString::number(value) + QStringLiteral(".5");
    case 5:
        return QLocale(QLocale::English).toString(value * 1000);  // grouped thousands
    case 6:
        return QStringLiteral(" ") + QString::number(value) + QStringLiteral(" ");
    default:
        return QString::number(value);
    }
}

QStringList Snapshot(const Window& w)
{
    QStringList snapshot;
    for (const char* name : {"lblPVal", "lblRatio1", "lblRatio2", "lblZStat", "lblResult"}) {
        snapshot << w.Label(QString::fromLatin1(name))->text();
    }
    snapshot << w.VisibleIndicators();
    return snapshot;
}

}  // namespace

class KelvorySoakTest : public QObject {
    Q_OBJECT

private slots:
    void manyClicksKeepTheDisplayConsistent();
};

void KelvorySoakTest::manyClicksKeepTheDisplayConsistent()
{
    Window w;
    std::mt19937 random(20261208);
    long residentAfterWarmUp = 0;
    int results = 0;
    for (int click = 0; click < kClicks; ++click) {
        if (click % 100 == 0) {
            // As the event loop would between the user's clicks: paint and
            // deliver what the clicks posted.
            QCoreApplication::processEvents();
        }
        if (click == kClicks / 10) {
            residentAfterWarmUp = ResidentKilobytes();
        }
        w.Enter(RandomText(random, true), RandomText(random, false), RandomText(random, true),
                RandomText(random, false));
        const QStringList before = Snapshot(w);
        w.desktop.messages.clear();
        w.Go();
        const QString inputs = QStringList{w.Box("txtViews1")->text(), w.Box("txtRspn1")->text(),
                                           w.Box("txtViews2")->text(), w.Box("txtRspn2")->text()}
                                   .join(" | ");
        if (!w.desktop.messages.isEmpty()) {
            QVERIFY2(w.desktop.messages.size() == 1, qPrintable(inputs));
            QStringList expected = before;
            if (w.desktop.messages.first().text.startsWith("You must fill in")) {
                expected[4] = "Insufficient data. Please fill in all four input boxes.";
            }
            QVERIFY2(Snapshot(w) == expected, qPrintable(inputs));
            continue;
        }
        ++results;
        const ComparisonResult& r = w.window->FormVariables();
        const double p = ReadNumber(w.Label("lblPVal")->text().toStdString());
        QVERIFY2(p >= 0.00002 && p <= 0.5, qPrintable(inputs));
        QVERIFY2(r.Likelihood >= 50 && r.Likelihood <= 99.998 + 1e-9, qPrintable(inputs));
        const QStringList shown = w.VisibleIndicators();
        const QString verdict = w.Label("lblResult")->text();
        if (r.winner) {
            const QString v = r.winner == Version::A ? "1" : "2";
            const QString other = r.winner == Version::A ? "2" : "1";
            QVERIFY2(verdict.startsWith("Variation " + QString::fromStdString(WinnerText(r.winner)) + " "),
                     qPrintable(inputs));
            QVERIFY2(shown.contains("pbar" + v) && !shown.contains("pbar" + other), qPrintable(inputs));
            QVERIFY2(shown.contains("lblStar" + v) && !shown.contains("lblStar" + other), qPrintable(inputs));
            const bool labels = r.Likelihood >= 80;
            QVERIFY2(shown.contains("lblWin" + v + "a") == labels && shown.contains("lblWin" + v + "b") == labels,
                     qPrintable(inputs));
            QVERIFY2(!shown.contains("lblWin" + other + "a") && !shown.contains("lblWin" + other + "b"),
                     qPrintable(inputs));
            QVERIFY2(w.Bar("pbar" + v)->Value() == static_cast<float>(r.Likelihood), qPrintable(inputs));
        } else {
            for (const char* hidden : {"pbar1", "pbar2", "lblWin1a", "lblWin1b", "lblWin2a", "lblWin2b"}) {
                QVERIFY2(!shown.contains(QString::fromLatin1(hidden)), qPrintable(inputs));
            }
        }
        QVERIFY2(w.FocusName() == "txtViews1", qPrintable(inputs));
    }
    QVERIFY(results > kClicks / 4);  // the mix reaches the result often enough to mean something
    const long growth = ResidentKilobytes() - residentAfterWarmUp;
    qInfo("%d results out of %d clicks; resident memory grew by %ld kB after warm-up", results, kClicks, growth);
    if (kResidentMemoryMeaningful) {
        QVERIFY2(growth < 4096, qPrintable(QString("memory grew by %1 kB").arg(growth)));
    }
}

QTEST_MAIN(KelvorySoakTest)
#include "tst_kelvory_soak.moc"
