// The companion windows, beyond the window's own controls: "Details…",
// "Plan a test…", "Compare averages…" and "Compare more versions…" in the
// interpretation's menu and on a right-click anywhere on the window but the
// input boxes, Ctrl+I, Ctrl+Shift+P, Ctrl+Shift+A and Ctrl+Shift+V, and a
// double click on the interpretation.
// Each window is built on first use.

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QScreen>
#include <algorithm>
#include <QShortcut>

#include "ui/averages_window.h"
#include "ui/details_window.h"
#include "ui/kelvory.h"
#include "ui/planner_window.h"
#include "ui/versions_window.h"

namespace ambrelay {

void Kelvory::SetUpCompanions()
{
    details_ = new QAction(QStringLiteral("Details…"), this);
    details_->setEnabled(false);
    plan_ = new QAction(QStringLiteral("Plan a test…"), this);
    averages_ = new QAction(QStringLiteral("Compare averages…"), this);
    versions_ = new QAction(QStringLiteral("Compare more versions…"), this);
    connect(versions_, &QAction::triggered, this, [this] { OpenVersions(false); });
    connect(details_, &QAction::triggered, this, &Kelvory::OpenDetails);
    connect(plan_, &QAction::triggered, this, &Kelvory::OpenPlanner);
    connect(averages_, &QAction::triggered, this, &Kelvory::OpenAverages);
    for (QWidget* target : std::initializer_list<QWidget*>{Label6, lblResult, this}) {
        target->addAction(details_);
        target->addAction(plan_);
        target->addAction(averages_);
        target->addAction(versions_);
    }
    // Labels, buttons, bars and the frame pass a right-click on to the
    // window, which offers the same entries; the boxes keep their edit menu.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    AddCompanionKeys(this);
    Label6->installEventFilter(this);
    lblResult->installEventFilter(this);
}

// Keys no text box uses, so they work from inside one too, and from each
// of the windows.
void Kelvory::AddCompanionKeys(QWidget* window)
{
    auto* details = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), window);
    connect(details, &QShortcut::activated, this, &Kelvory::OpenDetails);
    auto* planner = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), window);
    connect(planner, &QShortcut::activated, this, &Kelvory::OpenPlanner);
    auto* averages = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), window);
    connect(averages, &QShortcut::activated, this, &Kelvory::OpenAverages);
    auto* versions = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), window);
    connect(versions, &QShortcut::activated, this, [this] { OpenVersions(false); });
}

// A companion opens beside the window, on the side where the screen has more
// room, narrowed to fit there if need be, so it never hides the result it
// explains; where neither side has room for it the window system places it.
void Kelvory::PlaceBeside(QWidget* companion)
{
    const QScreen* screen = this->screen();
    if (!screen) {
        return;
    }
    constexpr int kGap = 8;
    const QRect room = screen->availableGeometry();
    const QRect main = frameGeometry();
    const int frame = companion->frameGeometry().width() - companion->width();  // 0 before its first show
    const int rightRoom = room.right() - main.right() - kGap - frame;
    const int leftRoom = main.left() - room.left() - kGap - frame;
    const int width = std::min(companion->width(), std::max(rightRoom, leftRoom));
    if (width < companion->minimumSizeHint().width()) {
        return;
    }
    // Its title bar is not known before it shows; leave room for one.
    constexpr int kTitleBar = 40;
    companion->resize(width, std::min(companion->height(), room.height() - kTitleBar));
    const int top = std::clamp(main.top(), room.top(),
                               std::max(room.top(), room.bottom() - companion->height() - kTitleBar));
    companion->move(rightRoom >= leftRoom ? main.right() + kGap : main.left() - kGap - frame - width, top);
}

void Kelvory::OpenDetails()
{
    if (!detailsWindow_) {
        detailsWindow_ = new DetailsWindow(desktop_, this);
        AddCompanionKeys(detailsWindow_);
        connect(detailsWindow_, &DetailsWindow::OptionsChanged, this, &Kelvory::ApplyJudgeOptions);
        connect(detailsWindow_, &DetailsWindow::PlannedWanted, this, &Kelvory::TakePlannedTotal);
        PlaceBeside(detailsWindow_);
    }
    detailsWindow_->SetJudgement(shown_);
    detailsWindow_->show();
    detailsWindow_->raise();
    detailsWindow_->activateWindow();
}

void Kelvory::OpenPlanner()
{
    if (!plannerWindow_) {
        plannerWindow_ = new PlannerWindow(desktop_, this);
        AddCompanionKeys(plannerWindow_);
        PlaceBeside(plannerWindow_);
    }
    if (shown_) {
        plannerWindow_->SetBaseline(shown_->calculation.Ratio1);
    }
    plannerWindow_->show();
    plannerWindow_->raise();
    plannerWindow_->activateWindow();
}

void Kelvory::OpenAverages()
{
    if (!averagesWindow_) {
        averagesWindow_ = new AveragesWindow(desktop_, this);
        AddCompanionKeys(averagesWindow_);
        connect(averagesWindow_, &AveragesWindow::MoreVersionsWanted, this, [this] { OpenVersions(true); });
        PlaceBeside(averagesWindow_);
    }
    averagesWindow_->show();
    averagesWindow_->raise();
    averagesWindow_->activateWindow();
}

void Kelvory::OpenVersions(bool averages)
{
    if (!versionsWindow_) {
        versionsWindow_ = new VersionsWindow(desktop_, this);
        AddCompanionKeys(versionsWindow_);
        PlaceBeside(versionsWindow_);
        versionsWindow_->SetAverages(averages);
    } else if (averages) {
        versionsWindow_->SetAverages(true);
    }
    versionsWindow_->show();
    versionsWindow_->raise();
    versionsWindow_->activateWindow();
}

// The planned total and the margin change the figures beyond the verdict,
// never the verdict: the shown counts are judged again with them.
void Kelvory::ApplyJudgeOptions(const JudgeOptions& options)
{
    judgeOptions_ = options;
    if (shown_) {
        KeepInsights(Judge(shown_->counts, judgeOptions_));
    }
}

void Kelvory::TakePlannedTotal()
{
    if (plannerWindow_ && plannerWindow_->isVisible() && plannerWindow_->PlannedTotal()) {
        detailsWindow_->SetPlanned(*plannerWindow_->PlannedTotal());
    } else {
        OpenPlanner();
    }
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
    for (QWidget* companion : std::initializer_list<QWidget*>{detailsWindow_, plannerWindow_, averagesWindow_}) {
        if (companion) {
            companion->close();
        }
    }
    QWidget::closeEvent(event);
}

}  // namespace ambrelay
