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

#include "figures/means_figures.h"
#include "figures/reasons.h"
#include "figures/table_words.h"
#include "numbers/number_text.h"
#include "ui/announcer.h"
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
    const char* names[6] = {"n1", "mean1", "sd1", "n2", "mean2", "sd2"};
    for (int version = 0; version < 2; ++version) {
        for (int row = 0; row < 3; ++row) {
            auto* box = new QLineEdit(typed_);
            box->setObjectName(QString::fromLatin1(names[version * 3 + row]));
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
    auto* sources = new QHBoxLayout;
    sources->addWidget(openValues_);
    sources->addWidget(typeNumbers_);
    sources->addStretch();
    layout->addLayout(sources);
    lowerIsBetter_ = new QCheckBox(QStringLiteral("Lower is better (load time, cost, refunds)"), this);
    lowerIsBetter_->setObjectName(QStringLiteral("lowerIsBetter"));
    connect(lowerIsBetter_, &QCheckBox::toggled, this, [this] { file_ ? ShowFile() : Update(); });
    layout->addWidget(lowerIsBetter_);

    answer_ = new QLabel(this);
    answer_->setObjectName(QStringLiteral("answer"));
    answer_->setWordWrap(true);
    answer_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    answer_->setFocusPolicy(Qt::TabFocus);
    QFont bold = answer_->font();
    bold.setBold(true);
    answer_->setFont(bold);
    warnings_ = new QLabel(this);
    warnings_->setObjectName(QStringLiteral("warnings"));
    warnings_->setWordWrap(true);
    table_ = NewFiguresTable(this);
    // Names and values share the width.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setMinimumHeight(200);
    chart_ = new IntervalChart(desktop_, this);
    chart_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);  // the table takes the height to spare
    announcer_ = new Announcer(answer_);
    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(700);
    connect(pause_, &QTimer::timeout, this, [this] { announcer_->Say(answer_->text()); });
    copy_ = new QPushButton(QStringLiteral("Copy"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy_);
    buttons->addWidget(close);
    for (QWidget* w : std::initializer_list<QWidget*>{answer_, warnings_, table_, chart_}) {
        layout->addWidget(w, w == table_ ? 1 : 0);
    }
    layout->addLayout(buttons);
    copies_ = new ReportCopies(desktop_, this);
    connect(copy_, &QPushButton::clicked, copies_, &ReportCopies::Copy);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    new QShortcut(Qt::Key_Escape, this, this, &QWidget::close);
    resize(620, 820);
    Update();
}

void AveragesWindow::Update()
{
    double numbers[6] = {};
    QStringList missing;
    for (int i = 0; i < 6; ++i) {
        const std::string text = boxes_[i]->text().trimmed().toStdString();
        if (IsNumeric(text)) {
            numbers[i] = ReadNumber(text);
        } else {
            missing << boxes_[i]->accessibleName() + QStringLiteral(": ")
                           + Text(ReasonText(text.empty() ? Reason::NoNumber : Reason::NotANumber));
        }
    }
    if (!missing.isEmpty()) {
        // Until something is typed, what to type; after, what is wrong, first first.
        const bool untouched = std::all_of(std::begin(boxes_), std::end(boxes_),
                                           [](const QLineEdit* box) { return box->text().isEmpty(); });
        ShowNoAnswer(untouched ? QStringLiteral("Type each version's observations, average and standard deviation, "
                                                "or open a file of values.")
                               : missing.front());
        return;
    }
    const MeansRequest request{{numbers[0], numbers[1], numbers[2]},
                               {numbers[3], numbers[4], numbers[5]},
                               lowerIsBetter_->isChecked() ? Better::Lower : Better::Higher, false, std::nullopt,
                               std::nullopt};
    const auto answer = AnswerMeans(request);
    if (!answer) {
        ShowNoAnswer(QStringLiteral("No answer: ") + Text(ReasonText(answer.Failure().reason)));
        return;
    }
    ShowFigures(*answer, {}, MeansWarnings(request), QString());
}

void AveragesWindow::OpenValues()
{
    const QString path = desktop_.ChooseFile(this, QStringLiteral("Open values"),
                                             QStringLiteral("Values (*.csv *.tsv *.txt);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    file_.reset();
    if (!values_->Open(path)) {
        desktop_.ShowMessage(this, Text(UnreadableFileText(path.toStdString())));
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
    if (!file_->opened) {
        ShowNoAnswer(QStringLiteral("No answer: ") + Text(UnreadableFileText(values_->FileName().toStdString())));
        return;
    }
    if (const auto* problem = std::get_if<tables::ValuesProblem>(&file_->read)) {
        ShowNoAnswer(QStringLiteral("No answer: ") + Text(ValuesProblemText(*problem)));
        return;
    }
    const tables::ValuesRead& read = std::get<tables::ValuesRead>(file_->read);
    const QString leftOut = file_->firstRowProblem ? Text(RowsLeftOutText(read.rowProblems, *file_->firstRowProblem))
                                                   : QString();
    const ValuesCollector::Result& result = read.result;
    if (!result.a || !result.b) {
        const Reason why = (result.a ? result.b : result.a).Failure().reason;
        ShowNoAnswer(QStringLiteral("No answer: ") + Text(ReasonText(why)));
        return;
    }
    const tables::ValuesLayout& layout = file_->layout;
    const MeansRequest request{*result.a, *result.b, lowerIsBetter_->isChecked() ? Better::Lower : Better::Higher,
                               layout.Ratio(), std::nullopt, std::nullopt};
    const auto answer = AnswerMeans(request);
    if (!answer) {
        ShowNoAnswer(QStringLiteral("No answer: ") + Text(ReasonText(answer.Failure().reason)));
        return;
    }
    const ValuesReport report{read.labels[0], read.labels[1], result.skewnessA, result.skewnessB, read.blanks,
                              result.caps,    layout.caps.upperPercent, layout.caps.lowerPercent};
    ShowFigures(*answer, AnswerValues(report).All(), ValuesWarnings(request, report), leftOut);
}

void AveragesWindow::ShowAnswer(const QString& answer)
{
    answer_->setText(answer);
    answer_->setAccessibleName(QStringLiteral("Answer: ") + answer);
    pause_->start();
}

void AveragesWindow::ShowNoAnswer(const QString& answer)
{
    copies_->Clear();
    table_->setRowCount(0);
    warnings_->clear();
    warnings_->hide();
    chart_->SetFigures(FigureList<MeansFigure>());
    copy_->setEnabled(false);
    ShowAnswer(answer);
}

void AveragesWindow::ShowFigures(const FigureList<MeansFigure>& answer, const std::vector<Figure>& before,
                                 const std::vector<Warning>& warnings, const QString& note)
{
    QString warningText = Text(WarningsText(warnings)).trimmed();
    if (!note.isEmpty()) {
        warningText = note + (warningText.isEmpty() ? QString() : QStringLiteral("\n") + warningText);
    }
    warnings_->setText(warningText);
    warnings_->setVisible(!warningText.isEmpty());
    std::vector<Figure> all = before;
    all.insert(all.end(), answer.All().begin(), answer.All().end());
    table_->setRowCount(0);
    for (const Figure& figure : all) {
        if (figure.kind == answer[MeansFigure::Answer].kind) {
            continue;  // said above the table
        }
        AddFigureRow(table_, figure);
    }
    chart_->SetFigures(answer);
    ReportFrame frame;
    if (!note.isEmpty()) {
        frame.after.push_back(note.toStdString());
    }
    copies_->Set(FormatReport(all, warnings, frame));
    copy_->setEnabled(true);
    ShowAnswer(Text(answer[MeansFigure::Answer].words));
}

}  // namespace ambrelay
