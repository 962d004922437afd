// "Open values…" in the averages window: every choice the command line has
// for a file of observations gives, through the window's Copy, the command
// line's own text for the same file; a file that cannot be judged says why.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <random>
#include <sstream>

#include "../published_covariate.h"
#include "cli/commands.h"
#include "ui/averages_window.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

// Seeded zero-heavy revenue with a long tail, and orders, for two versions
// written in a mixed order; the first row is the treatment's.
std::string RevenueFile()
{
    std::mt19937 random(27);
    std::bernoulli_distribution buys(0.3);
    std::lognormal_distribution<double> amount(3.5, 1.1);
    std::poisson_distribution<int> more(0.6);
    std::string text = "user,arm,revenue,orders\n";
    for (int i = 0; i < 600; ++i) {
        const bool treat = i == 0 || random() % 2 == 0;
        const bool bought = buys(random);
        const double revenue = bought ? amount(random) * (treat ? 1.15 : 1.0) : 0;
        text += "u" + std::to_string(i) + (treat ? ",treat," : ",control,")
                + (bought ? std::to_string(revenue) : std::string(i % 7 == 0 ? "" : "0")) + ","
                + std::to_string(bought ? 1 + more(random) : 0) + "\n";
    }
    return text;
}

struct Averages {
    Averages() : averages(nullptr)
    {
        QTest::keyClick(w.Box("txtViews1"), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        averages = w.window->findChild<AveragesWindow*>("AveragesWindow");
    }
    template <typename T = QWidget>
    T* Find(const char* name) const { return averages->findChild<T*>(name); }
    QString Answer() const { return Find<QLabel>("answer")->text(); }
    QString Warnings() const { return Find<QLabel>("warnings")->isVisible() ? Find<QLabel>("warnings")->text() : ""; }
    QString File(const QString& name, const std::string& text)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size())) {
            return {};
        }
        return file.fileName();
    }
    void Open(const QString& path)
    {
        w.desktop.chosenFile = path;
        Find<QPushButton>("openValues")->click();
        averages->Values()->WaitForReading();
    }
    QString Copied()
    {
        for (QPushButton* button : averages->findChildren<QPushButton*>()) {
            if (button->text() == "Copy" && button->isEnabled()) {
                button->click();
                return w.desktop.copied.back();
            }
        }
        return {};
    }

    Window w;
    AveragesWindow* averages;
    QTemporaryDir dir;
};

}  // namespace

class AveragesValuesTest : public QObject {
    Q_OBJECT

private slots:
    void choicesAsOnTheCommandLine_data();
    void choicesAsOnTheCommandLine();
    void filesThatSayWhy_data();
    void filesThatSayWhy();
    void cancelAndTypeAgain();
    void sameAsTheCommandLine_data();
    void sameAsTheCommandLine();
    void whatUsersDidBefore();
};

void AveragesValuesTest::choicesAsOnTheCommandLine_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<QString>("control");
    QTest::addColumn<double>("capAbove");
    QTest::addColumn<double>("capBelow");
    QTest::addColumn<bool>("ignoreZeros");
    QTest::addColumn<bool>("lowerIsBetter");
    QTest::newRow("as opened: the first label is A") << "revenue" << "" << "" << 0.0 << 0.0 << false << false;
    QTest::newRow("the control chosen") << "revenue" << "" << "control" << 0.0 << 0.0 << false << false;
    QTest::newRow("capped at 99%") << "revenue" << "" << "control" << 99.0 << 0.0 << false << false;
    QTest::newRow("capped over the buyers") << "revenue" << "" << "control" << 95.0 << 5.0 << true << false;
    QTest::newRow("order value, a ratio") << "revenue" << "orders" << "control" << 0.0 << 0.0 << false << false;
    QTest::newRow("capped ratio, lower is better") << "revenue" << "orders" << "" << 90.0 << 0.0 << false << true;
}

void AveragesValuesTest::choicesAsOnTheCommandLine()
{
    QFETCH(QString, value);
    QFETCH(QString, denominator);
    QFETCH(QString, control);
    QFETCH(double, capAbove);
    QFETCH(double, capBelow);
    QFETCH(bool, ignoreZeros);
    QFETCH(bool, lowerIsBetter);
    Averages a;
    const std::string text = RevenueFile();
    a.Open(a.File("revenue.csv", text));
    QCOMPARE(a.Find<QComboBox>("groupColumn")->currentText(), QString("arm"));
    a.Find<QComboBox>("valueColumn")->setCurrentText(value);
    if (!denominator.isEmpty()) {
        a.Find<QComboBox>("denominatorColumn")->setCurrentText(denominator);
    }
    if (!control.isEmpty()) {
        QCOMPARE(a.Find<QComboBox>("controlLabel")->findText(control) > 0, true);
        a.Find<QComboBox>("controlLabel")->setCurrentText(control);
    }
    a.Find<QDoubleSpinBox>("capAbove")->setValue(capAbove);
    a.Find<QDoubleSpinBox>("capBelow")->setValue(capBelow);
    a.Find<QCheckBox>("ignoreZeros")->setChecked(ignoreZeros);
    a.Find<QCheckBox>("lowerIsBetter")->setChecked(lowerIsBetter);
    a.averages->Values()->WaitForReading();

    std::vector<std::string> args{"means", "--values", "-", "--group", "arm"};
    if (denominator.isEmpty()) {
        args.insert(args.end(), {"--value", value.toStdString()});
    } else {
        args.insert(args.end(), {"--numerator", value.toStdString(), "--denominator", denominator.toStdString()});
    }
    if (!control.isEmpty()) {
        args.insert(args.end(), {"--control", control.toStdString()});
    }
    for (const auto& [option, percentile] : {std::pair{"--cap", capAbove}, std::pair{"--cap-lower", capBelow}}) {
        if (percentile > 0) {
            args.insert(args.end(), {option, QString::number(percentile).toStdString() + "%"});
        }
    }
    if (ignoreZeros) {
        args.push_back("--ignore-zeros");
    }
    if (lowerIsBetter) {
        args.push_back("--lower-is-better");
    }
    std::istringstream in(text);
    std::ostringstream out, err;
    QCOMPARE(cli::RunCli(args, in, out, err), 0);
    QCOMPARE(a.Copied(), QString::fromStdString(out.str()));
}

void AveragesValuesTest::filesThatSayWhy_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("answer");   // its start
    QTest::addColumn<QString>("warning");  // its start
    QTest::newRow("a value that is not a number")
        << "group,value\nA,1\nA,x\nB,2\nB,4\nA,3\n" << "B's average is higher: 3.00 against 2.00"
        << "One row was left out, line 3: 'x' in column value is not a number";
    QTest::newRow("a third version and a short row")
        << "group,value\nA,1\nB,2\nC,3\nA,2\nB\nB,5\nC,5\n" << "B's average is higher than A's, 133.3% more; with 3 versions compared, p = 0.3975"
        << "One row was left out, line 6: The row has 1 field where the header has 2.";
    QTest::newRow("a third version seen once")
        << "group,value\nA,1\nB,2\nC,3\nA,2\nB,5\n"
        << "No answer: 'C' against the control 'A': Each version needs at least two observations" << "";
    QTest::newRow("one version") << "group,value\nA,1\nA,2\n"
                                 << "No answer: the file has only one version, 'A'; a comparison takes two" << "";
    QTest::newRow("one observation a version")
        << "group,value\nA,1\nB,2\n"
        << "No answer: Each version needs at least two observations for an average to have a spread." << "";
    QTest::newRow("semicolons and decimal commas")
        << "version;amount\nA;1,5\nA;2,5\nB;3,0\nB;5,0\n" << "B's average is higher: 4.00 against 2.00" << "";
}

void AveragesValuesTest::filesThatSayWhy()
{
    QFETCH(QString, file);
    QFETCH(QString, answer);
    QFETCH(QString, warning);
    Averages a;
    a.Open(a.File("values.csv", file.toStdString()));
    QVERIFY2(a.Answer().startsWith(answer), qPrintable(a.Answer()));
    QVERIFY2(a.Warnings().startsWith(warning), qPrintable(a.Warnings()));
    QCOMPARE(a.Copied().isEmpty(), answer.startsWith("No answer"));
}

// Cancelling the file dialog changes nothing; an empty file is said in a
// message; "Type numbers instead" brings back the typed numbers' answer.
void AveragesValuesTest::cancelAndTypeAgain()
{
    Averages a;
    const char* names[6] = {"n1", "mean1", "sd1", "n2", "mean2", "sd2"};
    const char* check[6] = {"40", "10.0", "3.0", "35", "11.5", "5.0"};
    for (int i = 0; i < 6; ++i) {
        a.Find<QLineEdit>(names[i])->setText(check[i]);
    }
    const QString typed = a.Answer();
    a.Open(QString());
    QCOMPARE(a.Answer(), typed);
    QVERIFY(a.Find<QLineEdit>("n1")->isVisible());
    const QString empty = a.File("empty.csv", "");
    a.Open(empty);
    QCOMPARE(a.w.desktop.messages.size(), 1);
    QCOMPARE(a.w.desktop.messages.back().text, "The file is empty: it needs a header row naming its columns, and a "
                                                "row of values for each user.");
    QVERIFY(a.Find<QLineEdit>("n1")->isVisible());
    a.Open(a.File("values.csv", "group,value\nA,1\nA,3\nB,2\nB,6\n"));
    QVERIFY(!a.Find<QLineEdit>("n1")->isVisible());
    QVERIFY2(a.Answer().startsWith("B's average is higher: 4.00 against 2.00"), qPrintable(a.Answer()));
    a.Find<QPushButton>("typeNumbers")->click();
    QVERIFY(a.Find<QLineEdit>("n1")->isVisible());
    QCOMPARE(a.Answer(), typed);
}

// One table of files, through the command line and the window's Open
// values alike: the same answer (Copy is the command line's text), or the
// same problem in the same words, and the same first row left out.
void AveragesValuesTest::sameAsTheCommandLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QByteArray utf16("\xFF\xFE", 2);
    for (const QChar c : QString::fromUtf8("group\tvalue\nCafé\t1\nCafé\t3\nB\t2\nB\t6\n")) {
        utf16.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    }
    QTest::newRow("Unicode Text") << utf16;
    QTest::newRow("Windows-1252") << QByteArray("group,value\nCaf\xE9,1\nCaf\xE9,3\nB,2\nB,6\n");
    QTest::newRow("sep= and decimal commas") << QByteArray("sep=;\ngroup;value\nA;1,5\nA;2,5\nB;3\nB;5\n");
    QTest::newRow("a field too many") << QByteArray("group,value\nA,1\nA,1,234.50\nA,3\nB,2\nB,6\n");
    QTest::newRow("a blank label") << QByteArray("group,value\nA,1\n,7\nA,3\nB,2\nB,6\n");
    QTest::newRow("a value that is no number") << QByteArray("group,value\nA,1\nA,x\nA,3\nB,2\nB,6\n");
    QTest::newRow("a third version") << QByteArray("group,value\nA,1\nC,7\nA,3\nB,2\nB,6\n");
    QTest::newRow("a quote never closed, one version left")
        << QByteArray("group,value\nA,1\nA,3\nB,\"2\nB,6\n");
    QTest::newRow("one observation a version") << QByteArray("group,value\nA,1\nB,2\n");
}

void AveragesValuesTest::sameAsTheCommandLine()
{
    QFETCH(QByteArray, file);
    std::istringstream in(file.toStdString());
    std::ostringstream out, err;
    cli::RunCli({"means", "--values", "-", "--group", "group", "--value", "value"}, in, out, err);
    const QStringList said = QString::fromStdString(err.str()).split('\n', Qt::SkipEmptyParts);
    Averages a;
    a.Open(a.File("values.csv", file.toStdString()));
    QVERIFY(a.w.desktop.messages.isEmpty());
    const QString shown = a.Answer() + "\n" + a.Warnings();
    if (!out.str().empty()) {
        // The window's report is the command line's, and then says the rows left out.
        QVERIFY2(a.Copied().startsWith(QString::fromStdString(out.str())), qPrintable(a.Copied()));
    } else {
        QString reason = said.back();
        reason.remove(QRegularExpression("^ambrelay-cli: "));
        QCOMPARE(a.Answer().section('\n', 0, 0), "No answer: " + reason);
    }
    // The first row left out, by its line, in the same words.
    if (!said.isEmpty() && said.front().startsWith("line ")) {
        QVERIFY2(shown.contains(said.front()), qPrintable(shown + " | " + said.front()));
    }
}

// The published test through Open values, its covariate chosen under
// Before the test: the check values in the answer, and Copy the command
// line's own text for the same file and choices.
void AveragesValuesTest::whatUsersDidBefore()
{
    Averages a;
    a.Open(a.File("before.csv", testing::PublishedCovariateFile()));
    a.Find<QComboBox>("controlLabel")->setCurrentText("control");
    a.Find<QComboBox>("covariateColumn")->setCurrentText("pre_revenue");
    QTest::qWait(400);
    a.averages->Values()->WaitForReading();
    QVERIFY2(a.Answer().startsWith("A's average is higher: 0.101 against 0.072 once what users did before the test is "
                                   "taken out, 39.4% more (95% interval 2.5% to 76.3%); p = 0.0116"),
             qPrintable(a.Answer()));
    const std::vector<std::string> args{"means", "--values", "-", "--group", "arm", "--value", "revenue",
                                        "--covariate", "pre_revenue", "--control", "control"};
    std::istringstream in(testing::PublishedCovariateFile());
    std::ostringstream out, err;
    QCOMPARE(cli::RunCli(args, in, out, err), 0);
    QCOMPARE(a.Copied(), QString::fromStdString(out.str()));
}

QTEST_MAIN(AveragesValuesTest)
#include "tst_averages_values.moc"
