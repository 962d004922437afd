#include "ui/averages_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "answers/table_answers.h"
#include "checks/amounts.h"
#include "checks/given_values.h"
#include "figures/covariate_figures.h"
#include "figures/means_figures.h"
#include "figures/problem_words.h"
#include "figures/versions_figures.h"
#include "ui/announcer.h"
#include "ui/answer_area.h"
#include "ui/desktop.h"
#include "ui/figures_table.h"
#include "ui/interval_chart.h"
#include "ui/report_copies.h"
#include "ui/values_panel.h"

namespace ambrelay {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

AveragesWindow::AveragesWindow(Desktop& desktop, QWidget* owner) : QWidget(owner, Qt::Window), desktop_(desktop)
{
    setObjectName(QStringLiteral("AveragesWindow"));
    setWindowTitle(QStringLiteral("Ambrelay: compare averages"));
    auto* layout = new QVBoxLayout(this);
    typed_ = new QWidget(this);
    auto* grid = new QGridLayout(typed_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Version A"), typed_), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Version B"), typed_), 0, 2);
    const char* rows[3] = {"Observations", "Average", "Standard deviation"};
    for (int version = 0; version < 2; ++version) {
        for (int row = 0; row < 3; ++row) {
            auto* box = new QLineEdit(typed_);
            box->setObjectName(QString::fromLatin1(kSummaryNames[version * 3 + row]));
            box->setAccessibleName(QString::fromLatin1(rows[row]) + (version == 0 ? QStringLiteral(" of A")
                                                                                   : QStringLiteral(" of B")));
            connect(box, &QLineEdit::textChanged, this, &AveragesWindow::Update);
            grid->addWidget(box, row + 1, version + 1);
            boxes_[version * 3 + row] = box;
        }
    }
    for (int row = 0; row < 3; ++row) {
        auto* label = new QLabel(QString::fromLatin1(rows[row]) + QLatin1Char(':'), typed_);
        label->setBuddy(boxes_[row]);
        grid->addWidget(label, row + 1, 0);
    }
    layout->addWidget(typed_);
    values_ = new ValuesPanel(
        this, [this] { ShowAnswer(QStringLiteral("Reading ") + values_->FileName() + QStringLiteral("…")); },
        [this](const ValuesFile& file) {
            file_ = file;
            ShowFile();
        });
    values_->hide();
    layout->addWidget(values_);
    openValues_ = new QPushButton(QStringLiteral("Open values…"), this);
    openValues_->setObjectName(QStringLiteral("openValues"));
    openValues_->setToolTip(QStringLiteral("A CSV file of one row per user: the version and the value"));
    typeNumbers_ = new QPushButton(QStringLiteral("Type numbers instead"), this);
    typeNumbers_->setObjectName(QStringLiteral("typeNumbers"));
    typeNumbers_->hide();
    connect(openValues_, &QPushButton::clicked, this, &AveragesWindow::OpenValues);
    connect(typeNumbers_, &QPushButton::clicked, this, &AveragesWindow::TypeNumbers);
    auto* moreVersions = new QPushButton(QStringLiteral("More versions…"), this);
    moreVersions->setObjectName(QStringLiteral("moreVersions"));
    moreVersions->setToolTip(QStringLiteral("The averages of three versions or more (Ctrl+Shift+V)"));
    connect(moreVersions, &QPushButton::clicked, this, &AveragesWindow::MoreVersionsWanted);
    auto* sources = new QHBoxLayout;
    sources->addWidget(openValues_);
    sources->addWidget(typeNumbers_);
    sources->addWidget(moreVersions);
    sources->addStretch();
    layout->addLayout(sources);
    lowerIsBetter_ = new QCheckBox(QStringLiteral("Lower is better (load time, cost, refunds)"), this);
    lowerIsBetter_->setObjectName(QStringLiteral("lowerIsBetter"));
    connect(lowerIsBetter_, &QCheckBox::toggled, this, [this] { file_ ? ShowFile() : Update(); });
    layout->addWidget(lowerIsBetter_);
    // An uneven split on purpose (a 90/10 holdout) raises no mismatch warning.
    split_ = new QLineEdit(this);
    split_->setObjectName(QStringLiteral("split"));
    split_->setPlaceholderText(QStringLiteral("50"));
    split_->setAccessibleName(QStringLiteral("Version A's intended share of the observations, in percent"));
    split_->setToolTip(QStringLiteral("A's share in percent (90), or every version's (90/10)"));
    connect(split_, &QLineEdit::textChanged, this, [this] { file_ ? ShowFile() : Update(); });
    auto* splitRow = new QHBoxLayout;
    auto* splitLabel = new QLabel(QStringLiteral("A's intended &share of the observations, %:"), this);
    splitLabel->setBuddy(split_);
    splitRow->addWidget(splitLabel);
    splitRow->addWidget(split_);
    splitRow->addStretch();
    layout->addLayout(splitRow);

    chart_ = new IntervalChart(desktop_, this);
    chart_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);  // the table takes the height to spare
    area_ = AddAnswerArea(this, layout, desktop_, chart_, 200);
    resize(620, 820);
    Update();
}

std::optional<Problem> AveragesWindow::ReadOptions(MeansOptions& options, VersionsOptions& family) const
{
    options.better = lowerIsBetter_->isChecked() ? Better::Lower : Better::Higher;
    const std::string split = split_->text().toStdString();
    if (split.empty()) {
        return std::nullopt;
    }
    // The field shows its unit beside it: a bare number is a percent.
    const Outcome<Split> read = ReadSplit(split, {}, Amount::PercentShown);
    if (!read) {
        return read.Failure();
    }
    // A file may hold more versions than two, each with its share.
    family.sharesPercent = read->sharesPercent;
    if (const Outcome<Split> two = SplitFor(*read, 2, {})) {
        options.splitPercentA = two->SharePercentA();
    } else if (!file_) {
        return two.Failure();  // typed numbers are two versions'
    }
    return std::nullopt;
}

void AveragesWindow::Update()
{
    Outcome<double> six[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    int firstMissing = -1;
    for (int i = 0; i < 6; ++i) {
        six[i] = ReadGiven(boxes_[i]->text().trimmed().toStdString(), {});
        firstMissing = firstMissing < 0 && !six[i] ? i : firstMissing;
    }
    if (firstMissing >= 0) {
        // Until something is typed, what to type; after, what is wrong, first first.
        const bool untouched = std::all_of(std::begin(boxes_), std::end(boxes_),
                                           [](const QLineEdit* box) { return box->text().isEmpty(); });
        ShowNoAnswer(untouched ? QStringLiteral("Type each version's observations, average and standard deviation, "
                                                "or open a file of values.")
                               : boxes_[firstMissing]->accessibleName() + QStringLiteral(": ")
                                     + Text(ProblemText(six[firstMissing].Failure())));
        return;
    }
    MeansOptions options;
    VersionsOptions family;
    if (auto problem = ReadOptions(options, family)) {
        ShowNoAnswer(QStringLiteral("No answer: ") + Text(ProblemText(*problem)));
        return;
    }
    const auto answer = CompareSummaries(*SummariesGiven(six, options));
    if (!answer) {
        ShowNoAnswer(QStringLiteral("No answer: ") + Text(ProblemText(answer.Failure())));
        return;
    }
    ShowFigures(MeansFigures(*answer), {}, MeansWarnings(*answer), QString());
}

void AveragesWindow::OpenValues()
{
    const QString path = desktop_.ChooseFile(this, QStringLiteral("Open values"),
                                             QStringLiteral("Values (*.csv *.tsv *.txt);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    file_.reset();
    if (const auto problem = values_->Open(path)) {
        desktop_.ShowMessage(this, Text(ProblemSentence(*problem)));
        return;
    }
    typed_->hide();
    values_->show();
    typeNumbers_->show();
}

void AveragesWindow::TypeNumbers()
{
    file_.reset();
    values_->hide();
    typeNumbers_->hide();
    typed_->show();
    boxes_[0]->setFocus();
    Update();
}

void AveragesWindow::ShowFile()
{
    if (!file_) {
        return;
    }
    if (!file_->answer) {
        ShowNoAnswer(QStringLiteral("No answer: ") + Text(ProblemText(file_->answer.Failure())));
        return;
    }
    MeansOptions options;
    VersionsOptions family;
    if (auto problem = ReadOptions(options, family)) {
        ShowNoAnswer(QStringLiteral("No answer: ") + Text(ProblemText(*problem)));
        return;
    }
    const ValuesAnswer answer = Recompared(*file_->answer, options, family);
    const tables::ValuesRead& read = answer.read;
    const QString leftOut =
        read.rowsLeftOut > 0 ? Text(RowsLeftOutText(read.rowsLeftOut, read.firstRowsLeftOut.front())) : QString();
    if (!answer.versions) {
        // The rows left out may be why: they are said too.
        ShowNoAnswer(QStringLiteral("No answer: ") + Text(ProblemText(answer.versions.Failure()))
                     + (leftOut.isEmpty() ? QString() : QStringLiteral("\n") + leftOut));
        return;
    }
    if (const MeansAnswer* pair = answer.Pair()) {
        // What users did before the test, with its figures after the comparison's, as the command line writes them.
        const std::vector<Figure> covariate =
            answer.request.layout.Covariate() ? CovariateFigures(answer).All() : std::vector<Figure>();
        ShowFigures(MeansFigures(*pair), ValuesFigures(answer).All(), ValuesWarnings(answer), leftOut, covariate);
    } else {
        ShowVersions(answer, leftOut);
    }
}

void AveragesWindow::ShowVersions(const ValuesAnswer& answer, const QString& note)
{
    const MeansVersionsAnswer& versions = *answer.versions;
    QString warningText = Text(WarningsText(VersionsWarnings(versions))).trimmed();
    if (!note.isEmpty()) {
        warningText = note + (warningText.isEmpty() ? QString() : QStringLiteral("\n") + warningText);
    }
    area_.warnings->setText(warningText);
    area_.warnings->setVisible(!warningText.isEmpty());
    area_.table->setRowCount(0);
    const std::vector<ReportSection> sections = ValuesVersionsSections(answer);
    QStringList sentences;
    for (std::size_t c = 0; c < sections.size(); ++c) {
        Figure heading;
        heading.label = sections[c].heading;
        AddFigureRow(area_.table, heading);
        for (const Figure& figure : sections[c].figures) {
            AddFigureRow(area_.table, figure);
        }
        sentences << Text(VersionsSentence(versions, c));
    }
    // The picture shows two averages; more versions have theirs in Compare more versions.
    chart_->SetFigures(FigureList<MeansFigure>());
    std::vector<std::string> after;
    if (!note.isEmpty()) {
        after.push_back(note.toStdString());
    }
    area_.copies->Set(FormatSections(VersionsWarnings(versions), sections, after));
    area_.copy->setEnabled(true);
    ShowAnswer(sentences.join(QLatin1Char('\n')));
}

void AveragesWindow::ShowAnswer(const QString& answer)
{
    ambrelay::ShowAnswer(area_, answer);
}

void AveragesWindow::ShowNoAnswer(const QString& answer)
{
    area_.copies->Clear();
    area_.table->setRowCount(0);
    area_.warnings->clear();
    area_.warnings->hide();
    chart_->SetFigures(FigureList<MeansFigure>());
    area_.copy->setEnabled(false);
    ShowAnswer(answer);
}

void AveragesWindow::ShowFigures(const FigureList<MeansFigure>& answer, const std::vector<Figure>& before,
                                 const std::vector<Warning>& warnings, const QString& note,
                                 const std::vector<Figure>& after)
{
    QString warningText = Text(WarningsText(warnings)).trimmed();
    if (!note.isEmpty()) {
        warningText = note + (warningText.isEmpty() ? QString() : QStringLiteral("\n") + warningText);
    }
    area_.warnings->setText(warningText);
    area_.warnings->setVisible(!warningText.isEmpty());
    std::vector<Figure> all = before;
    all.insert(all.end(), answer.All().begin(), answer.All().end());
    all.insert(all.end(), after.begin(), after.end());
    area_.table->setRowCount(0);
    for (const Figure& figure : all) {
        if (figure.kind == answer[MeansFigure::Answer].kind) {
            continue;  // said above the table
        }
        AddFigureRow(area_.table, figure);
    }
    chart_->SetFigures(answer);
    ReportFrame frame;
    if (!note.isEmpty()) {
        frame.after.push_back(note.toStdString());
    }
    area_.copies->Set(FormatReport(all, warnings, frame));
    area_.copy->setEnabled(true);
    ShowAnswer(Text(answer[MeansFigure::Answer].words));
}

}  // namespace ambrelay
