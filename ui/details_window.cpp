#include "ui/details_window.h"

#include <algorithm>

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "figures/figures.h"
#include "figures/figure_text.h"
#include "checks/amounts.h"
#include "figures/problem_words.h"
#include "figures/verdict_words.h"
#include "figures/result_report.h"
#include "numbers/number_text.h"
#include "ui/desktop.h"
#include "ui/figures_table.h"
#include "ui/interval_chart.h"
#include "ui/report_copies.h"

namespace ambrelay {

DetailsWindow::DetailsWindow(Desktop& desktop, QWidget* owner) : QWidget(owner, Qt::Window), desktop_(desktop)
{
    setObjectName(QStringLiteral("DetailsWindow"));
    setWindowTitle(QStringLiteral("Ambrelay details"));
    auto* layout = new QVBoxLayout(this);
    warnings_ = new QLabel(this);
    warnings_->setObjectName(QStringLiteral("warnings"));
    warnings_->setWordWrap(true);
    QFont bold = warnings_->font();
    bold.setBold(true);
    warnings_->setFont(bold);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setWordWrap(true);
    table_ = NewFiguresTable(this);
    // Names get room for most of their words on one line, within reason (see
    // eventFilter); the values take the rest, and both wrap where longer.
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table_->setMinimumHeight(250);
    table_->viewport()->installEventFilter(this);
    // The peeking-safe test's planned total, and a margin for "not worse than".
    planned_ = new QLineEdit(this);
    planned_->setObjectName(QStringLiteral("planned"));
    planned_->setPlaceholderText(QString::fromStdString(Grouped(kDefaultPlannedObservations) + ", the default"));
    planned_->setAccessibleName(QStringLiteral("Planned observations in all"));
    // Wide enough to show its hint whole.
    planned_->setMinimumWidth(planned_->fontMetrics().horizontalAdvance(planned_->placeholderText())
                              + planned_->fontMetrics().averageCharWidth() * 3);
    auto* fromPlanner = new QPushButton(QStringLiteral("From the planner"), this);
    fromPlanner->setObjectName(QStringLiteral("fromPlanner"));
    fromPlanner->setToolTip(QStringLiteral("Takes the planner's observations in all (Ctrl+Shift+P opens it)."));
    margin_ = new QLineEdit(this);
    margin_->setObjectName(QStringLiteral("margin"));
    margin_->setPlaceholderText(QStringLiteral("none"));
    margin_->setAccessibleName(QStringLiteral("Margin: B not worse than A by more than"));
    marginKind_ = new QComboBox(this);
    marginKind_->setObjectName(QStringLiteral("marginKind"));
    marginKind_->addItems({QStringLiteral("% of A's ratio"), QStringLiteral("points")});
    marginKind_->setAccessibleName(QStringLiteral("Margin in"));
    // How the observations were meant to split, so an uneven split on purpose raises no warning.
    split_ = new QLineEdit(this);
    split_->setObjectName(QStringLiteral("split"));
    split_->setPlaceholderText(QStringLiteral("50"));
    split_->setAccessibleName(QStringLiteral("Version A's intended share of the observations, in percent"));
    split_->setToolTip(QStringLiteral("A's share in percent (90), or every version's (90/10)"));
    optionsProblem_ = new QLabel(this);
    optionsProblem_->setObjectName(QStringLiteral("optionsProblem"));
    optionsProblem_->setWordWrap(true);
    optionsProblem_->hide();
    auto* plannedRow = new QHBoxLayout;
    plannedRow->addWidget(planned_);
    plannedRow->addWidget(fromPlanner);
    auto* marginRow = new QHBoxLayout;
    marginRow->addWidget(margin_);
    marginRow->addWidget(marginKind_);
    auto* options = new QFormLayout;
    // On a narrow side of the screen a field goes below its label rather
    // than shrinking until its hint is cut off.
    options->setRowWrapPolicy(QFormLayout::WrapLongRows);
    options->addRow(QStringLiteral("Planned observations in all:"), plannedRow);
    options->addRow(QStringLiteral("B not worse than A by more than:"), marginRow);
    options->addRow(QStringLiteral("A's intended share of the observations, %:"), split_);
    options->addRow(optionsProblem_);
    connect(planned_, &QLineEdit::textChanged, this, &DetailsWindow::ReadOptions);
    connect(margin_, &QLineEdit::textChanged, this, &DetailsWindow::ReadOptions);
    connect(split_, &QLineEdit::textChanged, this, &DetailsWindow::ReadOptions);
    connect(marginKind_, &QComboBox::currentIndexChanged, this, &DetailsWindow::ReadOptions);
    connect(fromPlanner, &QPushButton::clicked, this, &DetailsWindow::PlannedWanted);
    footnote_ = new QLabel(QStringLiteral("Each version's own interval is the Wilson score interval; the others "
                                          "come from the normal approximation."),
                           this);
    footnote_->setWordWrap(true);
    chart_ = new IntervalChart(desktop_, this);
    copy_ = new QPushButton(QStringLiteral("Copy"), this);
    save_ = new QPushButton(QStringLiteral("Save picture…"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {copy_, save_, close}) {
        buttons->addWidget(b);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{warnings_, summary_, table_, footnote_, chart_}) {
        layout->addWidget(w);
    }
    layout->insertLayout(2, options);
    layout->addLayout(buttons);
    copies_ = new ReportCopies(desktop_, this);
    connect(copy_, &QPushButton::clicked, copies_, &ReportCopies::Copy);
    connect(save_, &QPushButton::clicked, chart_, &IntervalChart::SavePicture);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    new QShortcut(Qt::Key_Escape, this, this, &QWidget::close);
    resize(640, 780);
    SetJudgement(std::nullopt);
}

bool DetailsWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Where the screen beside the main window is narrow, the names give way
    // first, so the values keep room for a few words a line.
    if (watched == table_->viewport() && event->type() == QEvent::Resize) {
        const int names = table_->fontMetrics().averageCharWidth() * 44;
        table_->horizontalHeader()->resizeSection(0, std::min(names, table_->viewport()->width() * 11 / 20));
    }
    return QWidget::eventFilter(watched, event);
}

void DetailsWindow::SetPlanned(double observations)
{
    planned_->setText(QString::fromStdString(NumberToText(observations)));
}

void DetailsWindow::ReadOptions()
{
    JudgeOptions options;
    QStringList problems;
    const std::string planned = planned_->text().toStdString();
    if (!planned.empty()) {
        const Outcome<double> total = ReadPlanned(planned, {});
        if (total) {
            options.plannedObservations = *total;
        } else {
            problems << QString::fromStdString(ProblemText(total.Failure()));
        }
    }
    // The fields show their unit beside them: a bare number is in that unit.
    const std::string margin = margin_->text().toStdString();
    if (!margin.empty()) {
        const Outcome<Margin> read =
            ReadMargin(margin, marginKind_->currentIndex() == 0 ? MarginKind::RelativePercent : MarginKind::Points, {},
                       Amount::PercentShown);
        if (read) {
            options.margin = *read;
        } else {
            problems << QString::fromStdString(ProblemText(read.Failure()));
        }
    }
    const std::string split = split_->text().toStdString();
    if (!split.empty()) {
        const Outcome<Split> read = ReadSplit(split, {}, Amount::PercentShown);
        const Outcome<Split> two = read ? SplitFor(*read, 2, {}) : read;
        if (two) {
            options.splitPercentA = two->SharePercentA();
        } else {
            problems << QString::fromStdString(ProblemText(two.Failure()));
        }
    }
    optionsProblem_->setText(problems.join(QLatin1Char(' ')));
    optionsProblem_->setVisible(!problems.isEmpty());
    emit OptionsChanged(options);
}

void DetailsWindow::SetJudgement(const std::optional<Judgement>& judgement)
{
    const bool shown = judgement && judgement->Finished();
    copies_->Set(shown ? ResultReportForms(*judgement) : ReportForms());
    copy_->setEnabled(shown);
    save_->setEnabled(shown);
    table_->setRowCount(0);
    if (!shown) {
        warnings_->clear();
        warnings_->hide();
        summary_->setText(QStringLiteral("No result"));
        chart_->SetFigures(FigureList<JudgementFigure>());
        return;
    }
    const Judgement& j = *judgement;
    const QString warnings = QString::fromStdString(WarningsText(JudgementWarnings(j))).trimmed();
    warnings_->setText(warnings);
    warnings_->setVisible(!warnings.isEmpty());
    summary_->setText(QString::fromStdString(CountsText(j.counts) + VerdictSentence(j.calculation)));
    const FigureList<JudgementFigure> figures = JudgementFigures(j);
    for (const Figure& figure : figures.All()) {
        AddFigureRow(table_, figure);
    }
    chart_->SetFigures(figures);
}

}  // namespace ambrelay
