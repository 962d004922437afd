// "Compare more versions…": what a user types into the grid and the options
// gives the command line's own figures for the same versions, in words as
// they type; rows come and go from the keyboard; what cannot be judged says
// why; Copy puts the report and its HTML table on the clipboard, and the
// screen reader hears the answer.

#include <QCheckBox>
#include <QComboBox>
#include <QRegularExpression>
#include <QTableWidget>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/commands.h"
#include "ui/announcer.h"
#include "ui/versions_chart.h"
#include "ui/versions_window.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

struct Versions {
    explicit Versions(bool averages = false)
    {
        QTest::keyClick(w.window.get(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        window = w.window->findChild<VersionsWindow*>("VersionsWindow");
        if (window) {
            QApplication::setActiveWindow(window);
        }
        if (window && averages) {
            Find<QComboBox>("kind")->setCurrentIndex(1);
        }
    }
    template <typename T = QWidget>
    T* Find(const char* name) const { return window->findChild<T*>(name); }
    QTableWidget* Grid() const { return Find<QTableWidget>("versions"); }
    QString Answer() const { return Find<QLabel>("answer")->text(); }

    // Each row "name,number,number..." into the grid, as many rows as given.
    void Type(const QStringList& rows)
    {
        QTableWidget* grid = Grid();
        grid->setRowCount(0);
        grid->setRowCount(int(rows.size()));
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList cells = rows[r].split(',');
            for (int c = 0; c < cells.size(); ++c) {
                grid->setItem(r, c, new QTableWidgetItem(cells[c]));
            }
        }
    }
    // The figures table's words for each label that matches, in order.
    QStringList Words(const QRegularExpression& label) const
    {
        QStringList words;
        const QTableWidget* table = Find<QTableWidget>("figures");
        for (int r = 0; r < table->rowCount(); ++r) {
            if (label.match(table->item(r, 0)->text()).hasMatch()) {
                words << table->item(r, 1)->text();
            }
        }
        return words;
    }

    Window w;
    VersionsWindow* window = nullptr;
};

std::vector<nlohmann::json> CliRows(const QStringList& args, const QStringList& rows, bool averages)
{
    std::string table = averages ? "version,n,mean,sd\n" : "version,views,responses\n";
    for (const QString& row : rows) {
        table += row.toStdString() + "\n";
    }
    std::vector<std::string> words{averages ? "means" : "judge", "--csv", "-", "--json"};
    for (const QString& a : args) {
        words.push_back(a.toStdString());
    }
    std::istringstream in(table);
    std::ostringstream out, err;
    cli::RunCli(words, in, out, err);
    std::vector<nlohmann::json> parsed;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        parsed.push_back(nlohmann::json::parse(line));
    }
    return parsed;
}

}  // namespace

class VersionsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void sameAsTheCommandLine_data();
    void sameAsTheCommandLine();
    void rowsFromTheKeyboard();
    void whyNoAnswer_data();
    void whyNoAnswer();
    void copiedAndHeard();
};

void VersionsWindowTest::sameAsTheCommandLine_data()
{
    QTest::addColumn<bool>("averages");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("adjustment");  // its place in the list: Holm, Hochberg, BH, Bonferroni, none
    QTest::addColumn<QString>("split");
    QTest::addColumn<bool>("lower");
    QTest::addColumn<QStringList>("args");  // the same asked of the command line
    QTest::addColumn<QString>("answer");    // its start
    const QStringList homepages{"A,12500,310", "B,12480,355", "C,12510,342"};
    QTest::newRow("three homepages") << false << homepages << "A" << 0 << "" << false << QStringList{}
                                     << "B responded 14.7% more often than A; with 3 versions compared, p = 0.147 "
                                        "after Holm's correction.";
    QTest::newRow("C the control, Bonferroni, shares")
        << false << homepages << "C" << 3 << "25/25/50" << false
        << QStringList{"--control", "C", "--adjust", "bonferroni", "--split", "25/25/50"}
        << "C responded 10.2% more often than A; with 3 versions compared, p = 0.4157 after Bonferroni's correction.";
    QTest::newRow("averages, lower is better")
        << true << QStringList{"A,1000,10,4", "B,1000,10.4,4.2", "C,1000,10.2,3.9", "D,900,9.8,4.1"} << "A" << 2
        << "" << true << QStringList{"--adjust", "BH", "--lower-is-better"} << "B's average is higher";
}

void VersionsWindowTest::sameAsTheCommandLine()
{
    QFETCH(bool, averages);
    QFETCH(QStringList, rows);
    QFETCH(QString, control);
    QFETCH(int, adjustment);
    QFETCH(QString, split);
    QFETCH(bool, lower);
    QFETCH(QStringList, args);
    QFETCH(QString, answer);
    Versions v(averages);
    QVERIFY(v.window && v.window->isVisible());
    v.Type(rows);
    v.Find<QComboBox>("control")->setCurrentText(control);
    v.Find<QComboBox>("adjustment")->setCurrentIndex(adjustment);
    v.Find<QLineEdit>("split")->setText(split);
    v.Find<QCheckBox>("lowerIsBetter")->setChecked(lower);
    QVERIFY2(v.Answer().startsWith(answer), qPrintable(v.Answer()));
    QCOMPARE(v.Answer().count('\n'), rows.size() - 2);  // a sentence a comparison
    const std::vector<nlohmann::json> cli = CliRows(args, rows, averages);
    QCOMPARE(int(cli.size()), rows.size() - 1);
    const QStringList adjusted = v.Words(QRegularExpression("^p value of .* against .*, adjusted$"));
    QCOMPARE(adjusted.size(), int(cli.size()));
    for (std::size_t c = 0; c < cli.size(); ++c) {
        // The window rounds to four decimals what the command line gives whole.
        const double shown = adjusted[int(c)].section(' ', 0, 0).toDouble();
        QVERIFY2(std::fabs(shown - cli[c]["p_adjusted"].get<double>()) <= 0.5e-4 + 1e-12,
                 qPrintable(adjusted[int(c)]));
    }
}

// Insert adds the next version, named after the last; Ctrl+Delete removes
// the current one; never fewer than two.
void VersionsWindowTest::rowsFromTheKeyboard()
{
    Versions v;
    v.Type({"A,1000,100", "B,1000,130", "C,1000,120"});
    QTableWidget* grid = v.Grid();
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->item(3, 0)->text(), QString("D"));
    QCOMPARE(grid->currentRow(), 3);
    QVERIFY2(v.Answer().contains("D's observations"), qPrintable(v.Answer()));  // said, never taken as 0
    grid->setItem(3, 1, new QTableWidgetItem("1000"));
    grid->setItem(3, 2, new QTableWidgetItem("90"));
    QCOMPARE(v.Answer().count('\n'), 2);
    grid->setCurrentCell(1, 1);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(1, 0)->text(), QString("C"));
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->item(1, 0)->text(), QString("D"));
    QVERIFY2(v.Answer().startsWith("A responded 11.1% more often than D"), qPrintable(v.Answer()));
}

void VersionsWindowTest::whyNoAnswer_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("split");
    QTest::addColumn<QString>("answer");
    QTest::newRow("nothing typed") << QStringList{"A,,", "B,,", "C,,"} << ""
                                   << "Type each version's observations and responses, a row a version; Insert adds "
                                      "one.";
    QTest::newRow("a word for a count") << QStringList{"A,1000,100", "B,1000,lots", "C,1000,120"} << ""
                                        << "B's responses: ";
    QTest::newRow("a blank first row once others are typed") << QStringList{"A,,", "B,1000,130", "C,1000,120"} << ""
                                                             << "A's observations: ";
    QTest::newRow("a version without a name") << QStringList{"A,1000,100", ",1000,130", "C,1000,120"} << ""
                                              << "No answer: row 2 needs the version's name.";
    QTest::newRow("one name twice") << QStringList{"A,1000,100", "A,1000,130", "C,1000,120"} << ""
                                    << "No answer: the version 'A' is named twice in one test";
    QTest::newRow("shares for two") << QStringList{"A,1000,100", "B,1000,130", "C,1000,120"} << "50/50"
                                    << "No answer: ";
    QTest::newRow("a version never shown") << QStringList{"A,1000,100", "B,0,0", "C,1000,120"} << ""
                                           << "No answer: the version 'B' has no observations, so its response ratio cannot be "
                                              "computed";
}

void VersionsWindowTest::whyNoAnswer()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, split);
    QFETCH(QString, answer);
    Versions v;
    v.Type(rows);
    v.Find<QLineEdit>("split")->setText(split);
    QVERIFY2(v.Answer().startsWith(answer), qPrintable(v.Answer()));
    QVERIFY(!v.Find<QPushButton>("copy")->isEnabled());
    QCOMPARE(v.Find<QTableWidget>("figures")->rowCount(), 0);
}

void VersionsWindowTest::copiedAndHeard()
{
    Versions v;
    v.Type({"A,12500,310", "B,12480,355", "C,12510,342"});
    v.Find<QPushButton>("copy")->click();
    const QString plain = v.w.desktop.copied.back();
    QVERIFY(plain.startsWith("B against A, the control:\n"));
    QVERIFY(plain.contains("\nC against A, the control:\n"));
    QVERIFY(v.w.desktop.copiedHtml.back().contains("<table"));
    QCOMPARE(v.w.desktop.copiedHtml.back().count("<table"), 2);
    QTRY_COMPARE(v.window->findChild<Announcer*>()->LastMessage(), v.Answer());
}

QTEST_MAIN(VersionsWindowTest)
#include "tst_versions_window.moc"
