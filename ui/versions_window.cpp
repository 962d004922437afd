#include "ui/versions_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "answers/versions_answer.h"
#include "checks/amounts.h"
#include "checks/given_values.h"
#include "figures/figure_text.h"
#include "figures/problem_words.h"
#include "figures/versions_figures.h"
#include "ui/announcer.h"
#include "ui/answer_area.h"
#include "ui/desktop.h"
#include "ui/figures_table.h"
#include "ui/report_copies.h"
#include "ui/versions_chart.h"

namespace ambrelay {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

const Adjustment kAdjustments[] = {Adjustment::Holm, Adjustment::Hochberg, Adjustment::BenjaminiHochberg,
                                   Adjustment::Bonferroni, Adjustment::None};

// The next version's name after `count` of them: A, B, ... Z, then 27, 28.
QString NameOf(int count) { return count < 26 ? QString(QChar('A' + count)) : QString::number(count + 1); }

// A heading in the figures table, for the comparison whose figures follow.
Figure Heading(const std::string& text)
{
    Figure heading;
    heading.label = text;
    return heading;
}

// The difference of B from A as the picture shows it: the estimate, its
// interval, and its words, in points (rates) or the metric's units.
VersionsChart::Line LineOf(const std::string& label, const Judgement& j)
{
    const Insights& in = j.Figures();
    const bool bLeads = in.leader == Version::B;
    const double estimate = bLeads ? in.differencePoints : -in.differencePoints;
    const Interval interval = bLeads ? Interval{in.intervalLowPoints, in.intervalHighPoints}
                                     : Interval{-in.intervalHighPoints, -in.intervalLowPoints};
    const int d = IntervalDecimals(interval.low, interval.high);
    return {Text(label), estimate, interval,
            Text(Fixed(estimate, d) + " points (" + Fixed(interval.low, d) + " to " + Fixed(interval.high, d) + ")")};
}

VersionsChart::Line LineOf(const std::string& label, const MeansAnswer& a)
{
    const MeansComparison& c = a.comparison;
    const int d = std::max(2, IntervalDecimals(c.differenceInterval.low, c.differenceInterval.high));
    return {Text(label), c.difference, c.differenceInterval,
            Text(Fixed(c.difference, d) + " (" + Fixed(c.differenceInterval.low, d) + " to "
                 + Fixed(c.differenceInterval.high, d) + ")")};
}

}  // namespace

VersionsWindow::VersionsWindow(Desktop& desktop, QWidget* owner) : QWidget(owner, Qt::Window), desktop_(desktop)
{
    setObjectName(QStringLiteral("VersionsWindow"));
    setWindowTitle(QStringLiteral("Ambrelay: compare more versions"));
    auto* layout = new QVBoxLayout(this);
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("kind"));
    kind_->addItems({QStringLiteral("Response rates: observations and responses"),
                     QStringLiteral("Averages: observations, average and standard deviation")});
    kind_->setAccessibleName(QStringLiteral("What each version has"));
    layout->addWidget(kind_);
    grid_ = new QTableWidget(3, 3, this);
    grid_->setObjectName(QStringLiteral("versions"));
    grid_->setAccessibleName(QStringLiteral("Versions: a row each, the first the control unless chosen below"));
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid_->setTabKeyNavigation(true);
    grid_->setMinimumHeight(140);
    for (int row = 0; row < 3; ++row) {
        grid_->setItem(row, 0, new QTableWidgetItem(NameOf(row)));
    }
    layout->addWidget(grid_);
    auto* add = new QPushButton(QStringLiteral("&Add a version"), this);
    add->setObjectName(QStringLiteral("addVersion"));
    add->setToolTip(QStringLiteral("Insert"));
    auto* remove = new QPushButton(QStringLiteral("&Remove the version"), this);
    remove->setObjectName(QStringLiteral("removeVersion"));
    remove->setToolTip(QStringLiteral("Ctrl+Delete"));
    auto* rows = new QHBoxLayout;
    rows->addWidget(add);
    rows->addWidget(remove);
    rows->addStretch();
    layout->addLayout(rows);
    connect(add, &QPushButton::clicked, this, &VersionsWindow::AddVersion);
    connect(remove, &QPushButton::clicked, this, &VersionsWindow::RemoveVersion);
    new QShortcut(Qt::Key_Insert, grid_, this, &VersionsWindow::AddVersion, Qt::WidgetWithChildrenShortcut);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete), grid_, this, &VersionsWindow::RemoveVersion,
                  Qt::WidgetWithChildrenShortcut);

    auto* options = new QFormLayout;
    control_ = new QComboBox(this);
    control_->setObjectName(QStringLiteral("control"));
    adjustment_ = new QComboBox(this);
    adjustment_->setObjectName(QStringLiteral("adjustment"));
    for (const Adjustment a : kAdjustments) {
        std::string words = AdjustmentWords(a);
        words[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(words[0])));
        adjustment_->addItem(Text(words));
    }
    split_ = new QLineEdit(this);
    split_->setObjectName(QStringLiteral("split"));
    split_->setPlaceholderText(QStringLiteral("equal"));
    split_->setToolTip(QStringLiteral("Every version's share in percent, in the grid's order: 50/25/25"));
    lowerIsBetter_ = new QCheckBox(QStringLiteral("Lower is better (load time, cost, refunds)"), this);
    lowerIsBetter_->setObjectName(QStringLiteral("lowerIsBetter"));
    options->addRow(QStringLiteral("&Control:"), control_);
    options->addRow(QStringLiteral("Co&rrection for the versions compared:"), adjustment_);
    options->addRow(QStringLiteral("Intended &shares of the observations, %:"), split_);
    options->addRow(QString(), lowerIsBetter_);
    layout->addLayout(options);

    chart_ = new VersionsChart(this);
    area_ = AddAnswerArea(this, layout, desktop_, chart_, 160);

    connect(kind_, &QComboBox::currentIndexChanged, this, [this](int index) { SetAverages(index == 1); });
    connect(grid_, &QTableWidget::itemChanged, this, [this] {
        FillControls();
        Update();
    });
    for (QComboBox* box : {control_, adjustment_}) {
        connect(box, &QComboBox::currentIndexChanged, this, &VersionsWindow::Update);
    }
    connect(split_, &QLineEdit::textChanged, this, &VersionsWindow::Update);
    connect(lowerIsBetter_, &QCheckBox::toggled, this, &VersionsWindow::Update);
    resize(640, 860);
    SetAverages(false);
    // The window opens ready for A's observations.
    grid_->setCurrentCell(0, 1);
    grid_->setFocus();
}

void VersionsWindow::SetAverages(bool averages)
{
    const QSignalBlocker block(grid_);
    kind_->setCurrentIndex(averages ? 1 : 0);
    grid_->setColumnCount(averages ? 4 : 3);
    grid_->setHorizontalHeaderLabels(averages ? QStringList{QStringLiteral("Version"), QStringLiteral("Observations"),
                                                            QStringLiteral("Average"),
                                                            QStringLiteral("Standard deviation")}
                                              : QStringList{QStringLiteral("Version"), QStringLiteral("Observations"),
                                                            QStringLiteral("Responses")});
    lowerIsBetter_->setVisible(averages);
    FillControls();
    Update();
}

void VersionsWindow::AddVersion()
{
    const int row = grid_->rowCount();
    if (row >= static_cast<int>(kMostVersions)) {
        return;
    }
    {
        const QSignalBlocker block(grid_);
        grid_->insertRow(row);
        grid_->setItem(row, 0, new QTableWidgetItem(NameOf(row)));
    }
    grid_->setCurrentCell(row, 1);
    FillControls();
    Update();
}

void VersionsWindow::RemoveVersion()
{
    if (grid_->rowCount() <= 2) {
        return;  // a comparison takes two
    }
    const int row = grid_->currentRow() >= 0 ? grid_->currentRow() : grid_->rowCount() - 1;
    const int column = std::max(0, grid_->currentColumn());
    grid_->removeRow(row);
    // The keyboard stays where it was: on the next version, or the last.
    grid_->setCurrentCell(std::min(row, grid_->rowCount() - 1), column);
    FillControls();
    Update();
}

// The control's choices: each version's name, the one chosen kept.
void VersionsWindow::FillControls()
{
    const QSignalBlocker block(control_);
    const QString chosen = control_->currentText();
    control_->clear();
    for (int row = 0; row < grid_->rowCount(); ++row) {
        control_->addItem(grid_->item(row, 0) ? grid_->item(row, 0)->text().trimmed() : QString());
    }
    control_->setCurrentIndex(std::max(0, control_->findText(chosen)));
}

void VersionsWindow::Update()
{
    const bool averages = kind_->currentIndex() == 1;
    const int columns = averages ? 3 : 2;
    std::vector<std::string> labels;
    std::vector<std::vector<double>> numbers;
    const QStringList what = averages ? QStringList{"observations", "average", "standard deviation"}
                                      : QStringList{"observations", "responses"};
    const auto cell = [this](int row, int column) {
        return grid_->item(row, column) ? grid_->item(row, column)->text().trimmed() : QString();
    };
    bool untouched = true;
    for (int row = 0; row < grid_->rowCount(); ++row) {
        for (int column = 1; column <= columns; ++column) {
            untouched = untouched && cell(row, column).isEmpty();
        }
    }
    if (untouched) {
        ShowNoAnswer(QStringLiteral("Type each version's %1, a row a version; Insert adds one.")
                         .arg(averages ? QStringLiteral("observations, average and standard deviation")
                                       : QStringLiteral("observations and responses")));
        return;
    }
    // Once anything is typed, every cell counts: a blank one is said, never taken as 0.
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const QString name = cell(row, 0);
        if (name.isEmpty()) {
            ShowNoAnswer(QStringLiteral("No answer: row %1 needs the version's name.").arg(row + 1));
            return;
        }
        labels.push_back(name.toStdString());
        numbers.emplace_back();
        for (int column = 1; column <= columns; ++column) {
            const Outcome<double> read = ReadGiven(cell(row, column).toStdString(), {});
            if (!read) {
                ShowNoAnswer(QStringLiteral("%1's %2: ").arg(name, what[column - 1]) + Text(ProblemText(read.Failure())));
                return;
            }
            numbers.back().push_back(*read);
        }
    }
    VersionsOptions family;
    family.control = control_->currentText().toStdString();
    family.adjustment = kAdjustments[std::max(0, adjustment_->currentIndex())];
    if (!split_->text().trimmed().isEmpty()) {
        const Outcome<Split> split = ReadSplit(split_->text().toStdString(), {}, Amount::PercentShown);
        if (!split) {
            ShowNoAnswer(QStringLiteral("No answer: ") + Text(ProblemText(split.Failure())));
            return;
        }
        family.sharesPercent = split->sharesPercent;
    }
    std::vector<Figure> figures;
    std::vector<VersionsChart::Line> lines;
    QStringList sentences;
    std::vector<Warning> warnings;
    const auto show = [&](const auto& answer) {
        warnings = VersionsWarnings(answer);
        const std::vector<ReportSection> sections = VersionsSections(answer);
        for (std::size_t c = 0; c < sections.size(); ++c) {
            figures.push_back(Heading(sections[c].heading));
            figures.insert(figures.end(), sections[c].figures.begin(), sections[c].figures.end());
            lines.push_back(LineOf(answer.labels[answer.comparisons[c].version], answer.comparisons[c].answer));
            sentences << Text(VersionsSentence(answer, c));
        }
        area_.copies->Set(FormatSections(warnings, sections));
    };
    if (averages) {
        MeansVersions versions{labels, {}, {}, std::nullopt};
        for (const std::vector<double>& n : numbers) {
            versions.summaries.push_back({n[0], n[1], n[2]});
        }
        MeansOptions options;
        options.better = lowerIsBetter_->isChecked() ? Better::Lower : Better::Higher;
        const Outcome<MeansVersionsAnswer> answer = CompareVersions(versions, options, family);
        if (!answer) {
            ShowNoAnswer(QStringLiteral("No answer: ") + Text(ProblemText(answer.Failure())));
            return;
        }
        show(*answer);
    } else {
        RatesVersions versions{labels, {}};
        for (const std::vector<double>& n : numbers) {
            versions.counts.push_back({n[0], n[1]});
        }
        const Outcome<RatesVersionsAnswer> answer = JudgeVersions(versions, {}, family);
        if (!answer) {
            ShowNoAnswer(QStringLiteral("No answer: ") + Text(ProblemText(answer.Failure())));
            return;
        }
        show(*answer);
    }
    const QString warningText = Text(WarningsText(warnings)).trimmed();
    area_.warnings->setText(warningText);
    area_.warnings->setVisible(!warningText.isEmpty());
    area_.table->setRowCount(0);
    for (const Figure& figure : figures) {
        AddFigureRow(area_.table, figure);
    }
    chart_->SetLines(std::move(lines), averages ? QStringLiteral("Difference from the control (interval)")
                                                : QStringLiteral("Difference from the control, in points (interval)"));
    area_.copy->setEnabled(true);
    ShowAnswer(sentences.join(QLatin1Char('\n')));
}

void VersionsWindow::ShowAnswer(const QString& answer)
{
    ambrelay::ShowAnswer(area_, answer);
}

void VersionsWindow::ShowNoAnswer(const QString& answer)
{
    area_.copies->Clear();
    area_.table->setRowCount(0);
    area_.warnings->clear();
    area_.warnings->hide();
    chart_->SetLines({}, QString());
    area_.copy->setEnabled(false);
    ShowAnswer(answer);
}

}  // namespace ambrelay
