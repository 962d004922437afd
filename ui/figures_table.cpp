#include "ui/figures_table.h"

#include <QHeaderView>
#include <QTableWidget>

#include "figures/figures.h"

namespace ambrelay {

QTableWidget* NewFiguresTable(QWidget* parent)
{
    auto* table = new QTableWidget(0, 2, parent);
    table->setObjectName(QStringLiteral("figures"));
    table->setHorizontalHeaderLabels({QStringLiteral("Figure"), QStringLiteral("Value")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    // Long names and values wrap rather than end in an ellipsis.
    table->setWordWrap(true);
    table->setTextElideMode(Qt::ElideNone);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setAccessibleName(QStringLiteral("Figures"));
    return table;
}

void AddFigureRow(QTableWidget* table, const Figure& figure)
{
    const int row = table->rowCount();
    table->insertRow(row);
    auto* label = new QTableWidgetItem(QString::fromStdString(figure.label));
    if (!figure.kind && figure.words.empty()) {
        // A heading over the figures that follow it.
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
    }
    table->setItem(row, 0, label);
    table->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(figure.words)));
}

}  // namespace ambrelay
