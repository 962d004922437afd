#pragma once
// The table of figures the details and averages windows show: a name and
// its value in words on each row, read-only, wrapping rather than eliding.

class QTableWidget;
class QWidget;

namespace ambrelay {

struct Figure;

// An empty table; the window decides how its two columns share the width.
QTableWidget* NewFiguresTable(QWidget* parent);

// The figure's label and words as the table's next row.
void AddFigureRow(QTableWidget* table, const Figure& figure);

}  // namespace ambrelay
