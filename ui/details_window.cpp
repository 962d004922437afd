#include "ui/details_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "engine/figures.h"
#include "engine/result_report.h"
#include "numbers/number_text.h"
#include "ui/desktop.h"
#include "ui/interval_chart.h"

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
    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(QStringLiteral("figures"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Figure"), QStringLiteral("Value")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table_->setWordWrap(false);
    table_->setAccessibleName(QStringLiteral("Figures"));
    table_->setMinimumHeight(250);
    footnote_ = new QLabel(QStringLiteral("Each version's own interval is the Wilson score interval; the others "
                                          "come from the normal approximation."),
                           this);
    footnote_->setWordWrap(true);
    chart_ = new IntervalChart(this);
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
    layout->addLayout(buttons);
    connect(copy_, &QPushButton::clicked, this, [this] { desktop_.CopyText(QString::fromStdString(report_)); });
    connect(save_, &QPushButton::clicked, this, [this] {
        // At the screen's density, so the picture is as crisp as on screen.
        desktop_.SavePicture(this, chart_->grab().toImage());
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    new QShortcut(Qt::Key_Escape, this, this, &QWidget::close);
    resize(620, 660);
    SetJudgement(std::nullopt);
}

void DetailsWindow::SetJudgement(const std::optional<Judgement>& judgement)
{
    const bool shown = judgement && judgement->Finished() && judgement->insights;
    report_ = shown ? ResultReport(*judgement) : std::string();
    copy_->setEnabled(shown);
    save_->setEnabled(shown);
    table_->setRowCount(0);
    if (!shown) {
        warnings_->clear();
        warnings_->hide();
        summary_->setText(QStringLiteral("No result"));
        chart_->SetFigures({});
        return;
    }
    const Judgement& j = *judgement;
    QString warnings;
    for (const Warning& w : j.insights->warnings) {
        warnings += (warnings.isEmpty() ? QString() : QStringLiteral("\n")) + QStringLiteral("Warning: ")
                    + QString::fromStdString(w.message);
    }
    warnings_->setText(warnings);
    warnings_->setVisible(!warnings.isEmpty());
    const Counts& c = j.counts;
    summary_->setText(QString::fromStdString("A: " + NumberToText(c.views1) + " observations, "
                                             + NumberToText(c.responses1) + " responses. B: "
                                             + NumberToText(c.views2) + " observations, "
                                             + NumberToText(c.responses2) + " responses.\n" + j.view.verdict));
    std::vector<Figure> figures = JudgementFigures(j);
    for (const Figure& figure : figures) {
        const int r = table_->rowCount();
        table_->insertRow(r);
        table_->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(figure.label)));
        table_->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(figure.words)));
    }
    chart_->SetFigures(std::move(figures));
}

}  // namespace ambrelay
