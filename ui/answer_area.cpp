#include "ui/answer_area.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/announcer.h"
#include "ui/figures_table.h"
#include "ui/report_copies.h"

namespace ambrelay {

AnswerArea AddAnswerArea(QWidget* window, QVBoxLayout* layout, Desktop& desktop, QWidget* picture, int tableHeight)
{
    AnswerArea area;
    area.answer = new QLabel(window);
    area.answer->setObjectName(QStringLiteral("answer"));
    area.answer->setWordWrap(true);
    area.answer->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    area.answer->setFocusPolicy(Qt::TabFocus);
    QFont bold = area.answer->font();
    bold.setBold(true);
    area.answer->setFont(bold);
    area.warnings = new QLabel(window);
    area.warnings->setObjectName(QStringLiteral("warnings"));
    area.warnings->setWordWrap(true);
    area.table = NewFiguresTable(window);
    // Names and values share the width.
    area.table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    area.table->setMinimumHeight(tableHeight);
    area.announcer = new Announcer(area.answer);
    area.pause = new QTimer(window);
    area.pause->setSingleShot(true);
    area.pause->setInterval(700);
    QObject::connect(area.pause, &QTimer::timeout, area.announcer,
                     [announcer = area.announcer, answer = area.answer] { announcer->Say(answer->text()); });
    area.copy = new QPushButton(QStringLiteral("Copy"), window);
    area.copy->setObjectName(QStringLiteral("copy"));
    auto* close = new QPushButton(QStringLiteral("Close"), window);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(area.copy);
    buttons->addWidget(close);
    for (QWidget* w : {static_cast<QWidget*>(area.answer), static_cast<QWidget*>(area.warnings),
                       static_cast<QWidget*>(area.table), picture}) {
        layout->addWidget(w, w == area.table ? 1 : 0);
    }
    layout->addLayout(buttons);
    area.copies = new ReportCopies(desktop, window);
    QObject::connect(area.copy, &QPushButton::clicked, area.copies, &ReportCopies::Copy);
    QObject::connect(close, &QPushButton::clicked, window, &QWidget::close);
    new QShortcut(Qt::Key_Escape, window, window, &QWidget::close);
    return area;
}

void ShowAnswer(const AnswerArea& area, const QString& answer)
{
    area.answer->setText(answer);
    area.answer->setAccessibleName(QStringLiteral("Answer: ") + answer);
    area.pause->start();
}

}  // namespace ambrelay
