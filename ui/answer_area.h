#pragma once
// What a companion window answers with, under its inputs: the answer in bold
// words that a screen reader hears once typing pauses, the warnings, the
// table of figures, the window's picture, and Copy and Close (with Copy as
// Markdown on a right-click, and Escape closing).

#include <QString>

class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;
class QVBoxLayout;
class QWidget;

namespace ambrelay {

class Announcer;
class Desktop;
class ReportCopies;

struct AnswerArea {
    QLabel* answer = nullptr;
    QLabel* warnings = nullptr;
    QTableWidget* table = nullptr;
    QPushButton* copy = nullptr;
    ReportCopies* copies = nullptr;
    Announcer* announcer = nullptr;
    QTimer* pause = nullptr;  // the answer is spoken once typing pauses
};

// Adds the area to `window`'s `layout`, `picture` between the table (which
// takes the height to spare, at least `tableHeight`) and the buttons.
AnswerArea AddAnswerArea(QWidget* window, QVBoxLayout* layout, Desktop& desktop, QWidget* picture, int tableHeight);

// Shows the answer, names it for a screen reader and speaks it once typing pauses.
void ShowAnswer(const AnswerArea& area, const QString& answer);

}  // namespace ambrelay
