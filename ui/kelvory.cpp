// The window's start and the "Go" command: the three checks, the
// calculation, and the result shown in the controls.

#include "ui/kelvory.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

#include "ui/accessibility.h"
#include "ui/announcer.h"
#include "figures/problem_words.h"
#include "figures/window_view.h"
#include "ui/desktop.h"
#include "ui/upright_bar.h"

namespace ambrelay {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

Kelvory::Kelvory(Desktop& desktop, QWidget* parent) : QWidget(parent), desktop_(desktop)
{
    BuildLayout();
    ConnectHandlers();
    SetUpResultCopy();
    SetUpCompanions();
    SetMousePointer(kHandPointer);
    txtViews1->setFocus();
}

void Kelvory::CentreOnScreen()
{
    const QScreen* target = screen() ? screen() : QGuiApplication::primaryScreen();
    if (target) {
        // The frame is part of what the user sees centred; it is known once shown.
        const QSize outer = frameGeometry().size().expandedTo(size());
        move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, outer, target->availableGeometry()).topLeft());
    }
}

void Kelvory::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!centred_ && !event->spontaneous()) {
        centred_ = true;
        CentreOnScreen();
    }
}

void Kelvory::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange) {
        FillSystemColours();  // the user changed the colour scheme
        KeepTextLegible();
    }
}

CountTexts Kelvory::CurrentInputs() const
{
    return {txtViews1->text().toStdString(), txtRspn1->text().toStdString(), txtViews2->text().toStdString(),
            txtRspn2->text().toStdString()};
}

QLineEdit* Kelvory::BoxFor(Input box) const
{
    switch (box) {
    case Input::Views2:
        return txtViews2;
    case Input::Responses1:
        return txtRspn1;
    case Input::Responses2:
        return txtRspn2;
    default:
        return txtViews1;
    }
}

bool Kelvory::InputsPassChecks(const CountTexts& inputs)
{
    const std::optional<CheckFailure> failure = RunInputChecks(inputs);
    if (failure) {
        if (failure->check == InputCheck::Blanks) {
            SetValueCaption(lblResult, Text(InsufficientDataText()));
            ForgetInsights();  // the interpretation no longer shows the verdict they explain
        }
        desktop_.ShowMessage(this, Text(ProblemText(failure->problem)));
        if (failure->check == InputCheck::Numerics && failure->problem.input) {
            BoxFor(*failure->problem.input)->setFocus();
        }
    }
    flags_.Record(failure);
    return !failure;
}

void Kelvory::Command1_Click()
{
    const CountTexts inputs = CurrentInputs();
    if (!InputsPassChecks(inputs)) {
        return;
    }
    const Judgement judgement = Judge(ReadCounts(inputs), judgeOptions_);
    StoreFormVariables(judgement, formVariables_);
    if (!judgement.Finished()) {
        desktop_.ShowMessage(this, Text(ReasonText(judgement.result.Failure().reason)));
        return;
    }
    const ResultView view = ViewOf(judgement.calculation);
    ShowResult(view);
    KeepInsights(judgement);
    txtViews1->setFocus();
    announcer_->Say(Text(view.verdict + ". p value " + view.pValue + "."));
}

void Kelvory::ShowResult(const ResultView& view)
{
    SetValueCaption(lblPVal, Text(view.pValue));
    SetValueCaption(lblRatio1, Text(view.ratio1));
    SetValueCaption(lblRatio2, Text(view.ratio2));
    SetValueCaption(lblZStat, Text(view.zStat));
    lblStar1->setVisible(view.star == Version::A);
    lblStar2->setVisible(view.star == Version::B);
    SetValueCaption(lblResult, Text(view.verdict));

    // A hidden bar keeps its value; only the bar that shows gets a new one,
    // once shown, so a screen reader hears the value it now shows.
    const bool aShown = view.bar == Version::A;
    const bool bShown = view.bar == Version::B;
    pbar1->setVisible(aShown);
    pbar2->setVisible(bShown);
    if (aShown || bShown) {
        (aShown ? pbar1 : pbar2)->SetValue(view.barValue);
    }
    for (QLabel* label : {lblWin1a, lblWin1b}) {
        label->setVisible(aShown && view.winnerLabels);
    }
    for (QLabel* label : {lblWin2a, lblWin2b}) {
        label->setVisible(bShown && view.winnerLabels);
    }
}

}  // namespace ambrelay
