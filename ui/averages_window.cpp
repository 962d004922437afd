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
#include "numbers/number_text.h"
#include "ui/announcer.h"
#include "ui/desktop.h"
#include "ui/interval_chart.h"

namespace ambrelay {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

AveragesWindow::AveragesWindow(Desktop& desktop, QWidget* owner) : QWidget(owner, Qt::Window), desktop_(desktop)
{
    setObjectName(QStringLiteral("AveragesWindow"));
    setWindowTitle(QStringLiteral("Ambrelay: compare averages"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Version A"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Version B"), this), 0, 2);
    const char* rows[3] = {"Observations", "Average", "Standard deviation"};
    const char* names[6] = {"n1", "mean1", "sd1", "n2", "mean2", "sd2"};
    for (int version = 0; version < 2; ++version) {
        for (int row = 0; row < 3; ++row) {
            auto* box = new QLineEdit(this);
            box->setObjectName(QString::fromLatin1(names[version * 3 + row]));
            box->setAccessibleName(QString::fromLatin1(rows[row]) + (version == 0 ? QStringLiteral(" of A")
                                                                                   : QStringLiteral(" of B")));
            connect(box, &QLineEdit::textChanged, this, &AveragesWindow::Update);
            grid->addWidget(box, row + 1, version + 1);
            boxes_[version * 3 + row] = box;
        }
    }
    for (int row = 0; row < 3; ++row) {
        auto* label = new QLabel(QString::fromLatin1(rows[row]) + QLatin1Char(':'), this);
        label->setBuddy(boxes_[row]);
        grid->addWidget(label, row + 1, 0);
    }
    layout->addLayout(grid);
    lowerIsBetter_ = new QCheckBox(QStringLiteral("Lower is better (load time, cost, refunds)"), this);
    lowerIsBetter_->setObjectName(QStringLiteral("lowerIsBetter"));
    connect(lowerIsBetter_, &QCheckBox::toggled, this, &AveragesWindow::Update);
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
    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(QStringLiteral("figures"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Figure"), QStringLiteral("Value")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // Names and values share the width, each wrapping where longer.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setWordWrap(true);
    table_->setTextElideMode(Qt::ElideNone);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setAccessibleName(QStringLiteral("Figures"));
    table_->setMinimumHeight(200);
    chart_ = new IntervalChart(this);
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
    connect(copy_, &QPushButton::clicked, this, [this] { desktop_.CopyText(Text(report_)); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    new QShortcut(Qt::Key_Escape, this, this, &QWidget::close);
    resize(620, 820);
    Update();
}

void AveragesWindow::Update()
{
    report_.clear();
    table_->setRowCount(0);
    warnings_->clear();
    warnings_->hide();
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
    const auto show = [&](const QString& answer) {
        answer_->setText(answer);
        answer_->setAccessibleName(QStringLiteral("Answer: ") + answer);
        pause_->start();
    };
    if (!missing.isEmpty()) {
        chart_->SetFigures(FigureList<MeansFigure>());
        copy_->setEnabled(false);
        // Until something is typed, what to type; after, what is wrong, first first.
        const bool untouched = std::all_of(std::begin(boxes_), std::end(boxes_),
                                           [](const QLineEdit* box) { return box->text().isEmpty(); });
        show(untouched ? QStringLiteral("Type each version's observations, average and standard deviation.")
                       : missing.front());
        return;
    }
    const MeansRequest request{{numbers[0], numbers[1], numbers[2]},
                               {numbers[3], numbers[4], numbers[5]},
                               lowerIsBetter_->isChecked() ? Better::Lower : Better::Higher, false, std::nullopt,
                               std::nullopt};
    const auto answer = AnswerMeans(request);
    if (!answer) {
        chart_->SetFigures(FigureList<MeansFigure>());
        copy_->setEnabled(false);
        show(QStringLiteral("No answer: ") + Text(ReasonText(answer.Failure().reason)));
        return;
    }
    const std::vector<Warning> warnings = MeansWarnings(request);
    const QString warningText = Text(WarningsText(warnings)).trimmed();
    warnings_->setText(warningText);
    warnings_->setVisible(!warningText.isEmpty());
    for (const Figure& figure : answer->All()) {
        if (&figure == &(*answer)[MeansFigure::Answer]) {
            continue;  // said above the table
        }
        const int r = table_->rowCount();
        table_->insertRow(r);
        table_->setItem(r, 0, new QTableWidgetItem(Text(figure.label)));
        table_->setItem(r, 1, new QTableWidgetItem(Text(figure.words)));
    }
    chart_->SetFigures(*answer);
    report_ = FiguresText(answer->All(), warnings);
    copy_->setEnabled(true);
    show(Text((*answer)[MeansFigure::Answer].words));
}

}  // namespace ambrelay
