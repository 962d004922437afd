#include "ui/planner_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <map>

#include "figures/plan_figures.h"
#include "figures/problem_words.h"
#include "numbers/number_text.h"
#include "ui/report_copies.h"

namespace ambrelay {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

PlannerWindow::PlannerWindow(Desktop& desktop, QWidget* owner) : QWidget(owner, Qt::Window)
{
    copies_ = new ReportCopies(desktop, this);
    setObjectName(QStringLiteral("PlannerWindow"));
    setWindowTitle(QStringLiteral("Ambrelay: plan a test"));
    form_ = new QFormLayout(this);
    metric_ = AddChoice(QStringLiteral("Plan a test of"),
                        {QStringLiteral("response rates"), QStringLiteral("averages (revenue, time, …)")}, "metric");
    baseline_ = AddField(QStringLiteral("Baseline response ratio (%)"), QStringLiteral("10"), "baseline");
    sd_ = AddField(QStringLiteral("Standard deviation of the metric"), QString(), "sd");
    mean_ = AddField(QStringLiteral("Control's average (for a relative effect)"), QString(), "mean");
    correlation_ = AddField(QStringLiteral("Correlation with before the test (optional)"), QString(), "correlation");
    correlation_.box->setToolTip(QStringLiteral("When the comparison takes out what each user did before the test: "
                                                "the metric's correlation with it, such as 0.7"));
    effect_ = AddField(QStringLiteral("Smallest effect to detect"), QStringLiteral("20"), "effect");
    kind_ = AddChoice(QStringLiteral("Effect is"),
                      {QStringLiteral("relative, in percent"), QStringLiteral("absolute, in percentage points")},
                      "kind");
    alpha_ = AddField(QStringLiteral("Significance level (%)"), QStringLiteral("5"), "alpha");
    power_ = AddField(QStringLiteral("Power (%)"), QStringLiteral("80"), "power");
    sides_ = AddChoice(QStringLiteral("Test"), {QStringLiteral("two-sided"), QStringLiteral("one-sided")}, "sides");
    share_ = AddField(QStringLiteral("Version A's share of observations (%)"), QStringLiteral("50"), "share");
    daily_ = AddField(QStringLiteral("Observations per day, both versions (optional)"), QString(), "daily");
    perVersion_ = new QLabel(this);
    total_ = new QLabel(this);
    days_ = new QLabel(this);
    for (auto [label, name, title] : {std::tuple{perVersion_, "perVersion", "Observations per version"},
                                      std::tuple{total_, "total", "Observations in all"},
                                      std::tuple{days_, "days", "Days"}}) {
        label->setObjectName(QString::fromLatin1(name));
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        label->setFocusPolicy(Qt::TabFocus);
        label->setAccessibleName(QString::fromLatin1(title));
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        form_->addRow(QString::fromLatin1(title), label);
    }
    new QShortcut(Qt::Key_Escape, this, this, &QWidget::close);
    connect(metric_, &QComboBox::currentIndexChanged, this, [this](int index) { SetAverages(index == 1); });
    resize(520, 360);
    SetAverages(false);
}

// Rates plan from a baseline and a share; averages from the metric's spread,
// its average for a relative effect, and the correlation with before the test.
void PlannerWindow::SetAverages(bool averages)
{
    for (const Field* field : {&baseline_, &share_}) {
        form_->setRowVisible(field->row, !averages);
    }
    for (const Field* field : {&sd_, &mean_, &correlation_}) {
        form_->setRowVisible(field->row, averages);
    }
    kind_->setItemText(0, averages ? QStringLiteral("relative, in percent of the average")
                                   : QStringLiteral("relative, in percent"));
    kind_->setItemText(1, averages ? QStringLiteral("absolute, in the metric's units")
                                   : QStringLiteral("absolute, in percentage points"));
    Update();
}

PlannerWindow::Field PlannerWindow::AddField(const QString& label, const QString& initial, const char* name)
{
    auto* box = new QLineEdit(initial, this);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(label);
    auto* problem = new QLabel(this);
    problem->setObjectName(QString::fromLatin1(name) + QStringLiteral("Problem"));
    problem->setWordWrap(true);
    auto* row = new QHBoxLayout;
    row->addWidget(box);
    row->addWidget(problem, 1);
    form_->addRow(label, row);
    connect(box, &QLineEdit::textChanged, this, &PlannerWindow::Update);
    return {box, problem, row};
}

QComboBox* PlannerWindow::AddChoice(const QString& label, const QStringList& items, const char* name)
{
    auto* choice = new QComboBox(this);
    choice->setObjectName(QString::fromLatin1(name));
    choice->addItems(items);
    choice->setAccessibleName(label);
    form_->addRow(label, choice);
    connect(choice, &QComboBox::currentIndexChanged, this, &PlannerWindow::Update);
    return choice;
}

void PlannerWindow::SetBaseline(double ratio)
{
    baseline_.box->setText(Text(NumberToText(RoundDecimal(ratio * 100, 6))));
}

std::optional<double> PlannerWindow::Read(const Field& field, bool optional)
{
    const std::string text = field.box->text().toStdString();
    if (text.empty() && optional) {
        field.problem->clear();
        return std::nullopt;
    }
    if (!IsNumeric(text)) {
        field.problem->setText(Text(ReasonText(text.empty() ? Reason::NoNumber : Reason::NotANumber)));
        return std::nullopt;
    }
    field.problem->clear();
    return ReadNumber(text);
}

void PlannerWindow::ShowPlan(const QString& perVersion, const QString& total, const QString& days)
{
    perVersion_->setText(perVersion);
    total_->setText(total);
    days_->setText(days);
}

void PlannerWindow::Update()
{
    plannedTotal_.reset();
    copies_->Clear();
    if (!metric_) {
        return;  // the fields are still being laid out
    }
    const bool averages = metric_->currentIndex() == 1;
    const auto effect = Read(effect_);
    const auto alpha = Read(alpha_);
    const auto power = Read(power_);
    const auto daily = Read(daily_, true);
    const bool dailyBad = !daily && !daily_.box->text().isEmpty();
    const QString missing = QStringLiteral("Missing: a number in every field marked beside it.");
    if (averages) {
        if (!effect || !alpha || !power || dailyBad) {
            Read(sd_);
            ShowPlan(missing, {}, {});
            return;
        }
        PlanAverages(*effect, *alpha, *power, daily);
        return;
    }
    const auto baseline = Read(baseline_);
    const auto share = Read(share_);
    if (!baseline || !effect || !alpha || !power || !share || dailyBad) {
        ShowPlan(missing, {}, {});
        return;
    }
    PlanRequest request;
    PlanInputs& in = request.settings;
    in.baseline = *baseline / 100;
    in.kind = kind_->currentIndex() == 0 ? EffectKind::Relative : EffectKind::Absolute;
    in.alpha = *alpha / 100;
    in.power = *power / 100;
    in.twoSided = sides_->currentIndex() == 0;
    in.sharePercent = *share;
    in.dailyObservations = daily;
    request.effect = *effect;
    const auto answer = AnswerPlan(request);
    if (!answer) {
        // Beside the field it is about, and in the outputs, which say why they are empty.
        const Problem& problem = answer.Failure();
        const std::map<Input, const Field*> fields = {{Input::Baseline, &baseline_}, {Input::Effect, &effect_},
                                                      {Input::Alpha, &alpha_},       {Input::Power, &power_},
                                                      {Input::Share, &share_},       {Input::Daily, &daily_}};
        if (problem.input && fields.count(*problem.input)) {
            fields.at(*problem.input)->problem->setText(Text(ProblemText(problem)));
        }
        perVersion_->setText(QStringLiteral("Cannot plan: ") + Text(ProblemText(problem)));
        total_->clear();
        days_->clear();
        return;
    }
    // The plan's own words, as the command line's plan writes them.
    const FigureList<PlanFigure>& f = *answer;
    perVersion_->setText(Text(f[PlanFigure::Observations].words));
    total_->setText(Text(f[PlanFigure::Total].words));
    plannedTotal_ = f[PlanFigure::Total].Number();
    copies_->Set(FormatReport(f.All(), {}));
    days_->setText(f[PlanFigure::Days].Number() ? Text(f[PlanFigure::Days].words)
                                                : QStringLiteral("Enter the observations per day to see the days."));
}

void PlannerWindow::PlanAverages(double effect, double alpha, double power, std::optional<double> daily)
{
    const auto sd = Read(sd_);
    const auto mean = Read(mean_, true);
    const auto correlation = Read(correlation_, true);
    const bool relative = kind_->currentIndex() == 0;
    if (!sd || (!mean && !mean_.box->text().isEmpty())
        || (!correlation && !correlation_.box->text().isEmpty())) {
        ShowPlan(QStringLiteral("Missing: a number in every field marked beside it."), {}, {});
        return;
    }
    if (relative && !mean) {
        mean_.problem->setText(Text(ProblemText(Problem(Reason::RelativeEffectNeedsAverage))));
    }
    if (correlation && !(*correlation > -1 && *correlation < 1)) {
        correlation_.problem->setText(Text(ReasonText(Reason::CorrelationOutOfRange)));
        ShowPlan(QStringLiteral("Cannot plan: ") + Text(ReasonText(Reason::CorrelationOutOfRange)), {}, {});
        return;
    }
    MeansPlanRequest request;
    request.sd = *sd;
    request.effect = effect;
    request.relative = relative;
    request.average = mean;
    request.alpha = alpha / 100;
    request.power = power / 100;
    request.twoSided = sides_->currentIndex() == 0;
    request.dailyObservations = daily;
    request.correlation = correlation;
    const auto answer = AnswerMeansPlan(request);
    if (!answer) {
        const Problem& problem = answer.Failure();
        const std::map<Input, const Field*> fields = {
            {Input::Effect, &effect_}, {Input::Alpha, &alpha_}, {Input::Power, &power_}, {Input::Daily, &daily_}};
        if (problem.input && fields.count(*problem.input)) {
            fields.at(*problem.input)->problem->setText(Text(ProblemText(problem)));
        }
        ShowPlan(QStringLiteral("Cannot plan: ") + Text(ProblemText(problem)), {}, {});
        return;
    }
    const FigureList<MeansPlanFigure>& f = *answer;
    ShowPlan(Text(f[MeansPlanFigure::Observations].words), Text(f[MeansPlanFigure::Total].words),
             f[MeansPlanFigure::Days].Number() ? Text(f[MeansPlanFigure::Days].words)
                                               : QStringLiteral("Enter the observations per day to see the days."));
    // The planned total is the rates test's, which the details window takes; an average's is not.
    std::vector<Figure> all = f.All();
    if (correlation) {
        const std::vector<Figure> more = CovariatePlanFigures(request).All();
        all.insert(all.end(), more.begin(), more.end());
    }
    copies_->Set(FormatReport(all, {}));
}

}  // namespace ambrelay
