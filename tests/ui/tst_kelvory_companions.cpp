// The companion windows: what opens them, that the details follow each new
// result and show "No result" after Clear, that the planner shows a bad
// input's reason, and that the picture puts the difference's interval on the
// right side of zero, at one and two device pixels a point.

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QPainter>
#include <QTableWidget>

#include "figures/figures.h"

#include <QCheckBox>

#include "ui/announcer.h"
#include "ui/interval_chart.h"
#include "ui/details_window.h"
#include "window_fixture.h"

using namespace ambrelay;
using namespace ambrelay::testing;

namespace {

QString Summary(const Window& w) { return w.window->findChild<QLabel*>("summary")->text(); }

QWidget* Companion(const Window& w, const char* name) { return w.window->findChild<QWidget*>(name); }

// The details window after Go on A 1000/100 against B 1000/responses2, opened with Ctrl+I.
QWidget* DetailsAfterGo(Window& w, const QString& responses2 = QStringLiteral("130"))
{
    w.Enter("1000", "100", "1000", responses2);
    w.Go();
    QTest::keyClick(w.Box("txtViews1"), Qt::Key_I, Qt::ControlModifier);
    return Companion(w, "DetailsWindow");
}

}  // namespace

class KelvoryCompanionsTest : public QObject {
    Q_OBJECT

private slots:
    void opening_data();
    void opening();
    void detailsFollowTheWindow();
    void plannerExplainsBadInput();
    void plannerOfAverages_data();
    void plannerOfAverages();
    void detailsTakeAPlannedTotalAndAMargin();
    void detailsStayReadableWhenNarrow();
    void keysWorkFromEveryWindow_data();
    void keysWorkFromEveryWindow();
    void pictureAgainstZero_data();
    void pictureAgainstZero();
    void averagesAnswerAsTyped();
    void anIntendedSplitRaisesNoWarning_data();
    void anIntendedSplitRaisesNoWarning();
};

void KelvoryCompanionsTest::opening_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("window");
    QTest::newRow("Ctrl+I in a box") << "ctrl+i" << "DetailsWindow";
    QTest::newRow("Ctrl+Shift+P in a box") << "ctrl+shift+p" << "PlannerWindow";
    QTest::newRow("Ctrl+Shift+A in a box") << "ctrl+shift+a" << "AveragesWindow";
    QTest::newRow("Compare averages in the menu") << "averages menu" << "AveragesWindow";
    QTest::newRow("interpretation's menu") << "menu" << "DetailsWindow";
    QTest::newRow("double click on the interpretation") << "double" << "DetailsWindow";
}

void KelvoryCompanionsTest::opening()
{
    QFETCH(QString, how);
    QFETCH(QString, window);
    Window w;
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    QVERIFY(!Companion(w, "DetailsWindow") && !Companion(w, "PlannerWindow"));  // built on first use
    QLineEdit* box = w.Box("txtViews1");
    if (how == "ctrl+i") {
        QTest::keyClick(box, Qt::Key_I, Qt::ControlModifier);
    } else if (how == "ctrl+shift+p") {
        QTest::keyClick(box, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    } else if (how == "ctrl+shift+a") {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    } else if (how.endsWith("menu")) {
        for (QAction* action : w.Label("lblResult")->actions()) {
            if (action->text() == (how == "menu" ? "Details…" : "Compare averages…")) {
                action->trigger();
            }
        }
    } else {
        QTest::mouseDClick(w.Label("lblResult"), Qt::LeftButton);
    }
    QWidget* opened = Companion(w, qPrintable(window));
    QVERIFY(opened && opened->isVisible());
    QVERIFY(opened->isWindow() && !opened->isModal());
    QCOMPARE(box->text(), QString("1000"));  // no key reached the box
    if (window == "PlannerWindow") {
        QCOMPARE(opened->findChild<QLineEdit*>("baseline")->text(), QString("10"));  // version A's ratio
        QCOMPARE(opened->findChild<QLabel*>("perVersion")->text(), QString("3,841 for A and 3,841 for B"));
    }
    // A right-click on the window itself offers the same entries.
    QStringList entries;
    for (QAction* action : w.window->actions()) {
        entries << action->text();
    }
    QVERIFY(entries.contains("Details…") && entries.contains("Plan a test…"));
    QCOMPARE(w.window->contextMenuPolicy(), Qt::ActionsContextMenu);
    QApplication::setActiveWindow(opened);
    QTest::keyClick(opened, Qt::Key_Escape);
    QVERIFY(!opened->isVisible());
}

void KelvoryCompanionsTest::detailsFollowTheWindow()
{
    Window w;
    DetailsAfterGo(w);
    QVERIFY(Summary(w).endsWith("Variation B is the clear and undisputed winner with a likelihood of 98.214%"));
    // A row for every figure of the list, its name and its words.
    auto* table = w.window->findChild<QTableWidget*>("figures");
    QCOMPARE(table->rowCount(), int(JudgementFigureKinds().size()));
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        rows << table->item(r, 0)->text() + ": " + table->item(r, 1)->text();
    }
    QVERIFY(rows.contains("Lift of B over A (95% interval): 30.0% (1.7% to 66.2%)"));
    QVERIFY(rows.contains("Difference, B minus A (95% interval): 3.0 points (0.2 to 5.8 points)"));
    w.Enter("1000", "100", "1000", "110");
    w.Go();
    QVERIFY(Summary(w).contains("The scale is at 76.73%"));
    QCOMPARE(w.FocusName(), QString("txtViews1"));  // the window keeps the focus
    w.Enter("1000", "100", "0", "0");  // no result: the window, and so the details, keep the last one
    w.Go();
    QVERIFY(Summary(w).contains("76.73%"));
    w.Clear();
    QCOMPARE(Summary(w), QString("No result"));
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    w.Enter("", "100", "1000", "130");
    w.Go();
    QCOMPARE(Summary(w), QString("No result"));
}

// The peeking-safe line follows the planned total as it is typed, the
// planner's total comes over with one click, and a margin adds its answer.
void KelvoryCompanionsTest::detailsTakeAPlannedTotalAndAMargin()
{
    Window w;
    QWidget* details = DetailsAfterGo(w);
    const auto tooltip = [&] { return w.Label("lblResult")->toolTip(); };
    QVERIFY(tooltip().contains("the peeking-safe p value is 0.3789 (planned 5,000 observations, the default)"));
    QTest::keyClicks(details->findChild<QLineEdit*>("planned"), "2000");
    QVERIFY2(tooltip().contains("the peeking-safe p value is 0.4178 (planned 2,000 observations): keep"),
             qPrintable(tooltip()));
    auto* table = details->findChild<QTableWidget*>("figures");
    QList<QString> values;
    for (int r = 0; r < table->rowCount(); ++r) {
        values << table->item(r, 0)->text() + ": " + table->item(r, 1)->text();
    }
    QVERIFY(values.contains("p value, peeking-safe (valid however often you look): 0.4178"));
    QTest::keyClicks(details->findChild<QLineEdit*>("margin"), "2");
    details->findChild<QComboBox*>("marginKind")->setCurrentIndex(1);
    QVERIFY(tooltip().contains("\nB is not worse than A by more than 2 points (one-sided p = 0.00023)."));
    QVERIFY(w.desktop.copied.isEmpty());
    QTest::keyClick(w.Box("txtViews1"), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(w.desktop.copied.value(0).contains("B not worse than A by more than 2 points: yes\n"));
    // What is not a number is said beside the fields, and the default counts again.
    QTest::keyClicks(details->findChild<QLineEdit*>("planned"), "x");
    QVERIFY(details->findChild<QLabel*>("optionsProblem")->isVisibleTo(details));
    QVERIFY(tooltip().contains("(planned 5,000 observations, the default)"));
    // The next result keeps the planned total and the margin.
    details->findChild<QLineEdit*>("planned")->setText("12000");
    w.Enter("1000", "100", "1000", "120");
    w.Go();
    QVERIFY(tooltip().contains("(planned 12,000 observations)"));
    QVERIFY(tooltip().contains("than A by more than 2 points"));
    // From the planner: its observations in all, 3,841 a version at its start.
    QTest::keyClick(details, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::mouseClick(details->findChild<QPushButton*>("fromPlanner"), Qt::LeftButton);
    QCOMPARE(details->findChild<QLineEdit*>("planned")->text(), QString("7682"));
}

// Beside the main window on a small screen the details get a narrow side:
// the values keep close to half the table, and the planned total's hint
// stays whole (its field moves below its label).
void KelvoryCompanionsTest::detailsStayReadableWhenNarrow()
{
    Window w;
    QWidget* details = DetailsAfterGo(w);
    auto* table = details->findChild<QTableWidget*>("figures");
    auto* planned = details->findChild<QLineEdit*>("planned");
    for (const int width : {640, 450}) {
        details->resize(width, 780);
        QCoreApplication::processEvents();
        const int values = table->horizontalHeader()->sectionSize(1);
        QVERIFY2(values * 10 >= table->viewport()->width() * 4, qPrintable(QString::number(values)));
        QVERIFY(planned->width() > planned->fontMetrics().horizontalAdvance(planned->placeholderText()));
    }
}

void KelvoryCompanionsTest::keysWorkFromEveryWindow_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("plannerKey");
    QTest::addColumn<QString>("opens");
    QTest::newRow("Ctrl+I in the planner") << "PlannerWindow" << false << "DetailsWindow";
    QTest::newRow("Ctrl+Shift+P in the details") << "DetailsWindow" << true << "PlannerWindow";
    QTest::newRow("Ctrl+I in the averages") << "AveragesWindow" << false << "DetailsWindow";
}

void KelvoryCompanionsTest::keysWorkFromEveryWindow()
{
    QFETCH(QString, from);
    QFETCH(bool, plannerKey);
    QFETCH(QString, opens);
    Window w;
    w.Enter("1000", "100", "1000", "130");
    w.Go();
    if (from == "AveragesWindow") {
        QTest::keyClick(w.Box("txtViews1"), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    } else {
        QTest::keyClick(w.Box("txtViews1"), plannerKey ? Qt::Key_I : Qt::Key_P,
                        plannerKey ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
    }
    QWidget* start = Companion(w, qPrintable(from));
    QVERIFY(start && !Companion(w, qPrintable(opens)));
    QApplication::setActiveWindow(start);
    QTest::keyClick(start, plannerKey ? Qt::Key_P : Qt::Key_I,
                    plannerKey ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
    QWidget* opened = Companion(w, qPrintable(opens));
    QVERIFY(opened && opened->isVisible());
    // Closing the window closes every companion, or the program runs on.
    w.window->close();
    QVERIFY(!start->isVisible() && !opened->isVisible());
}

void KelvoryCompanionsTest::plannerExplainsBadInput()
{
    Window w;
    QTest::keyClick(w.Box("txtViews1"), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QWidget* planner = Companion(w, "PlannerWindow");
    auto* baseline = planner->findChild<QLineEdit*>("baseline");
    auto* outcome = planner->findChild<QLabel*>("perVersion");
    QCOMPARE(outcome->text(), QString("3,841 for A and 3,841 for B"));  // 10% and 20% relative to start with
    // Each choice replans at once: a one-sided test, or 20 points rather than 20%, needs fewer.
    for (const char* name : {"sides", "kind"}) {
        auto* choice = planner->findChild<QComboBox*>(name);
        choice->setCurrentIndex(1);
        const int forA = outcome->text().section(' ', 0, 0).remove(',').toInt();
        QVERIFY2(forA > 0 && forA < 3841, name);
        choice->setCurrentIndex(0);
        QCOMPARE(outcome->text(), QString("3,841 for A and 3,841 for B"));
    }
    baseline->setText("ten");
    QCOMPARE(planner->findChild<QLabel*>("baselineProblem")->text(), QString("Not a number."));
    QVERIFY(outcome->text().startsWith("Missing"));
    baseline->setText("0");
    QVERIFY(outcome->text().startsWith("Cannot plan: The baseline ratio must lie between 0% and 100%"));
    QVERIFY(planner->findChild<QLabel*>("baselineProblem")->text().startsWith("The baseline ratio must lie"));
}

// A test of averages planned as the command line plans it (R:
// power.t.test(delta = 2.5, sd = 40, power = 0.8) is 4,019.59; with the spread
// a correlation of 0.7 leaves, sd 40 sqrt(0.51), 2,050.46).
void KelvoryCompanionsTest::plannerOfAverages_data()
{
    QTest::addColumn<QString>("correlation");
    QTest::addColumn<QString>("perVersion");
    QTest::addColumn<QString>("problem");  // beside the correlation
    QTest::newRow("without a correlation") << "" << "4,020 for A and 4,020 for B" << "";
    QTest::newRow("a correlation of 0.7") << "0.7" << "2,051 for A and 2,051 for B" << "";
    QTest::newRow("a correlation of 1") << "1" << "Cannot plan: A correlation lies above -1 and below 1."
                                        << "A correlation lies above -1 and below 1.";
    QTest::newRow("a word") << "high" << "Missing: a number in every field marked beside it." << "Not a number.";
}

void KelvoryCompanionsTest::plannerOfAverages()
{
    QFETCH(QString, correlation);
    QFETCH(QString, perVersion);
    QFETCH(QString, problem);
    Window w;
    QTest::keyClick(w.Box("txtViews1"), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QWidget* planner = Companion(w, "PlannerWindow");
    planner->findChild<QComboBox*>("metric")->setCurrentIndex(1);
    QVERIFY(!planner->findChild<QLineEdit*>("baseline")->isVisible());
    QVERIFY(planner->findChild<QLineEdit*>("sd")->isVisible());
    planner->findChild<QComboBox*>("kind")->setCurrentIndex(1);  // in the metric's units
    planner->findChild<QLineEdit*>("sd")->setText("40");
    planner->findChild<QLineEdit*>("effect")->setText("2.5");
    planner->findChild<QLineEdit*>("correlation")->setText(correlation);
    QCOMPARE(planner->findChild<QLabel*>("perVersion")->text(), perVersion);
    QCOMPARE(planner->findChild<QLabel*>("correlationProblem")->text(), problem);
}

void KelvoryCompanionsTest::pictureAgainstZero_data()
{
    QTest::addColumn<double>("responses2");
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("rightOfZero");
    for (const int scale : {1, 2}) {
        QTest::addRow("B at 130, %dx", scale) << 130.0 << scale << true;
        QTest::addRow("B at 110, %dx", scale) << 110.0 << scale << false;
    }
}

void KelvoryCompanionsTest::pictureAgainstZero()
{
    QFETCH(double, responses2);
    QFETCH(int, scale);
    QFETCH(bool, rightOfZero);
    Window w;
    auto* chart = DetailsAfterGo(w, QString::number(responses2))->findChild<IntervalChart*>();
    const ChartGeometry g = chart->Geometry();
    QCOMPARE(g.differenceLowX > g.zeroX, rightOfZero);
    // What is drawn: the difference's black line, on its row, starts where the geometry says.
    QImage image(chart->size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    chart->render(&image);
    const int row = 136 * scale;  // the difference's line, right of its label
    int firstBlack = -1;
    for (int x = 110 * scale; x < image.width() && firstBlack < 0; ++x) {
        firstBlack = qGray(image.pixel(x, row)) < 60 ? x : -1;
    }
    QVERIFY(firstBlack >= 0);
    QVERIFY(std::abs(firstBlack - g.differenceLowX * scale) <= 2 * scale);
    QCOMPARE(firstBlack > g.zeroX * scale, rightOfZero);
}

// The averages window answers as the user types: the order-value check,
// what a box lacks, why there is no test, "lower is better", Copy, and the
// answer spoken once typing pauses.
void KelvoryCompanionsTest::averagesAnswerAsTyped()
{
    Window w;
    QTest::keyClick(w.Box("txtViews1"), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QWidget* averages = Companion(w, "AveragesWindow");
    QVERIFY(averages && averages->isVisible());
    auto* answer = averages->findChild<QLabel*>("answer");
    const char* names[6] = {"n1", "mean1", "sd1", "n2", "mean2", "sd2"};
    const char* check[6] = {"1200", "52.30", "41.7", "1180", "55.90", "44.2"};
    for (int i = 0; i < 6; ++i) {
        QTest::keyClicks(averages->findChild<QLineEdit*>(names[i]), check[i]);
    }
    QVERIFY2(answer->text().startsWith("B's average is higher: 55.90 against 52.30, 6.9% more (95% interval "),
             qPrintable(answer->text()));
    QVERIFY(answer->text().contains("p = 0.0412"));
    QVERIFY(averages->findChild<QTableWidget*>("figures")->rowCount() > 10);
    QVERIFY(averages->findChild<IntervalChart*>()->Geometry().differenceHighX > 0);
    for (QPushButton* button : averages->findChildren<QPushButton*>()) {
        if (button->text() == "Copy") {
            button->click();
        }
    }
    QVERIFY(!w.desktop.copied.isEmpty() && w.desktop.copied.back().startsWith("Answer: B's average is higher"));
    averages->findChild<QCheckBox*>("lowerIsBetter")->setChecked(true);
    QVERIFY(answer->text().startsWith("A's average is lower: 52.30 against 55.90"));
    QTRY_VERIFY(averages->findChild<Announcer*>()->LastMessage() == answer->text());
    averages->findChild<QLineEdit*>("sd1")->setText("-1");
    QCOMPARE(answer->text(), QString("No answer: A standard deviation cannot be below 0."));
    averages->findChild<QLineEdit*>("n2")->setText("x");
    QCOMPARE(answer->text(), QString("Observations of B: Not a number."));
}

// A holdout of 90/10 on purpose: the split check warns until the windows
// are told the split intended, and says why a split cannot be one.
void KelvoryCompanionsTest::anIntendedSplitRaisesNoWarning_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("split");
    QTest::addColumn<bool>("warned");
    QTest::addColumn<QString>("problem");  // said beside the fields, or in the answer
    QTest::newRow("details, none said") << "details" << "" << true << "";
    QTest::newRow("details, A's share") << "details" << "90" << false << "";
    QTest::newRow("details, every version's") << "details" << "90/10" << false << "";
    QTest::newRow("details, shares that do not add up")
        << "details" << "60/30" << true << "The versions' shares must add up to 100.";
    QTest::newRow("averages, none said") << "averages" << "" << true << "";
    QTest::newRow("averages, every version's") << "averages" << "90%/10%" << false << "";
    QTest::newRow("averages, a share of 100") << "averages" << "100" << false
                                              << "No answer: Version A's share of the observations must lie between 0% "
                                                 "and 100%, both excluded.";
}

void KelvoryCompanionsTest::anIntendedSplitRaisesNoWarning()
{
    QFETCH(QString, window);
    QFETCH(QString, split);
    QFETCH(bool, warned);
    QFETCH(QString, problem);
    Window w;
    QWidget* companion = nullptr;
    if (window == "details") {
        w.Enter("900", "90", "100", "12");
        w.Go();
        QTest::keyClick(w.Box("txtViews1"), Qt::Key_I, Qt::ControlModifier);
        companion = Companion(w, "DetailsWindow");
    } else {
        QTest::keyClick(w.Box("txtViews1"), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        companion = Companion(w, "AveragesWindow");
        const char* names[6] = {"n1", "mean1", "sd1", "n2", "mean2", "sd2"};
        const char* holdout[6] = {"900", "10", "3", "100", "10.1", "3"};
        for (int i = 0; i < 6; ++i) {
            companion->findChild<QLineEdit*>(names[i])->setText(holdout[i]);
        }
    }
    QTest::keyClicks(companion->findChild<QLineEdit*>("split"), split);
    auto* warnings = companion->findChild<QLabel*>("warnings");
    QCOMPARE(warnings->isVisibleTo(companion) && warnings->text().contains("Sample ratio mismatch"), warned);
    if (window == "details") {
        auto* said = companion->findChild<QLabel*>("optionsProblem");
        QCOMPARE(said->isVisibleTo(companion) ? said->text() : QString(), problem);
    } else if (!problem.isEmpty()) {
        QCOMPARE(companion->findChild<QLabel*>("answer")->text(), problem);
    }
}

QTEST_MAIN(KelvoryCompanionsTest)
#include "tst_kelvory_companions.moc"
