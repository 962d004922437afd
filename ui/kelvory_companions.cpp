// The companion windows, beyond the window's own controls: "Details…" and
// "Plan a test…" in the interpretation's menu and on a right-click anywhere
// on the window but the input boxes, Ctrl+I and Ctrl+Shift+P, and a double
// click on the interpretation. Both windows are built on first use.

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>

#include "ui/details_window.h"
#include "ui/kelvory.h"
#include "ui/planner_window.h"

namespace ambrelay {

void Kelvory::SetUpCompanions()
{
    details_ = new QAction(QStringLiteral("Details…"), this);
    details_->setEnabled(false);
    plan_ = new QAction(QStringLiteral("Plan a test…"), this);
    connect(details_, &QAction::triggered, this, &Kelvory::OpenDetails);
    connect(plan_, &QAction::triggered, this, &Kelvory::OpenPlanner);
    for (QWidget* target : std::initializer_list<QWidget*>{Label6, lblResult, this}) {
        target->addAction(details_);
        target->addAction(plan_);
    }
    // Labels, buttons, bars and the frame pass a right-click on to the
    // window, which offers the same entries; the boxes keep their edit menu.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // Keys no text box uses, so they work from inside one too.
    auto* details = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), this);
    connect(details, &QShortcut::activated, this, &Kelvory::OpenDetails);
    auto* planner = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), this);
    connect(planner, &QShortcut::activated, this, &Kelvory::OpenPlanner);
    Label6->installEventFilter(this);
    lblResult->installEventFilter(this);
}

void Kelvory::OpenDetails()
{
    if (!detailsWindow_) {
        detailsWindow_ = new DetailsWindow(desktop_, this);
    }
    detailsWindow_->SetJudgement(shown_);
    detailsWindow_->show();
    detailsWindow_->raise();
    detailsWindow_->activateWindow();
}

void Kelvory::OpenPlanner()
{
    if (!plannerWindow_) {
        plannerWindow_ = new PlannerWindow(this);
    }
    if (shown_) {
        plannerWindow_->SetBaseline(shown_->calculation.Ratio1);
    }
    plannerWindow_->show();
    plannerWindow_->raise();
    plannerWindow_->activateWindow();
}

// An open details window shows what the main window shows, without taking
// the focus from it.
void Kelvory::FollowResult()
{
    details_->setEnabled(shown_.has_value());
    if (detailsWindow_ && detailsWindow_->isVisible()) {
        detailsWindow_->SetJudgement(shown_);
    }
}

void Kelvory::closeEvent(QCloseEvent* event)
{
    // The companions belong to the window: closing it closes them, and so
    // ends the program.
    for (QWidget* companion : std::initializer_list<QWidget*>{detailsWindow_, plannerWindow_}) {
        if (companion) {
            companion->close();
        }
    }
    QWidget::closeEvent(event);
}

}  // namespace ambrelay
