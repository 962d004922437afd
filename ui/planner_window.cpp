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
    baseline_ = AddField(QStringLiteral("Baseline response ratio (%)"), QStringLiteral("10"), "baseline");
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
    resize(520, 360);
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
    return {box, problem};
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

void PlannerWindow::Update()
{
    plannedTotal_.reset();
    copies_->Clear();
    const auto baseline = Read(baseline_);
    const auto effect = Read(effect_);
    const auto alpha = Read(alpha_);
    const auto power = Read(power_);
    const auto share = Read(share_);
    const auto daily = Read(daily_, true);
    const bool dailyBad = !daily && !daily_.box->text().isEmpty();
    if (!baseline || !effect || !alpha || !power || !share || dailyBad) {
        perVersion_->setText(QStringLiteral("Missing: a number in every field marked beside it."));
        total_->clear();
        days_->clear();
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

}  // namespace ambrelay
