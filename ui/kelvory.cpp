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

#include "engine/normal_table.h"
#include "engine/result_display.h"
#include "engine/verdict.h"
#include "engine/zstat.h"
#include "numbers/number_text.h"
#include "ui/accessibility.h"
#include "ui/calc_failure_message.h"
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

InputTexts Kelvory::CurrentInputs() const
{
    return {txtViews1->text().toStdString(), txtViews2->text().toStdString(), txtRspn1->text().toStdString(),
            txtRspn2->text().toStdString()};
}

QLineEdit* Kelvory::BoxFor(InputBox box) const
{
    switch (box) {
    case InputBox::Views1:
        return txtViews1;
    case InputBox::Views2:
        return txtViews2;
    case InputBox::Responses1:
        return txtRspn1;
    case InputBox::Responses2:
        return txtRspn2;
    }
    return txtViews1;
}

void Kelvory::CheckForBlanks()
{
    BlankFlag = 0;
    const CheckOutcome outcome = CheckBlanks(CurrentInputs());
    if (outcome.failed) {
        SetValueCaption(lblResult, Text(*outcome.resultText));
        ForgetInsights();  // the interpretation no longer shows the verdict they explain
        desktop_.ShowMessage(this, Text(outcome.message));
        BlankFlag = 1;
    }
}

void Kelvory::CheckForInverse()
{
    InverseFlag = 0;
    const CheckOutcome outcome = CheckInverse(CurrentInputs());
    if (outcome.failed) {
        desktop_.ShowMessage(this, Text(outcome.message));
        InverseFlag = 1;
    }
}

void Kelvory::CheckForNumerics()
{
    NumericFlag = 0;
    const CheckOutcome outcome = CheckNumerics(CurrentInputs());
    if (outcome.failed) {
        desktop_.ShowMessage(this, Text(outcome.message));
        BoxFor(*outcome.focusBox)->setFocus();
        NumericFlag = 1;
    }
}

void Kelvory::LookupTable()
{
    // A z between two keys finds no row and leaves the probability as it was;
    // the z statistic the calculation stores is always a key or above them.
    if (const auto probability = LookupNormalTable(formVariables_.ZStat)) {
        formVariables_.Probability = *probability;
    }
}

bool Kelvory::RunCalculation()
{
    const InputTexts inputs = CurrentInputs();
    const Counts counts{ReadNumber(inputs.views1), ReadNumber(inputs.responses1), ReadNumber(inputs.views2),
                        ReadNumber(inputs.responses2)};
    const ZStatOutcome outcome = ComputeZStat(counts.views1, counts.responses1, counts.views2, counts.responses2);
    StoreCompletedSteps(outcome, formVariables_);
    if (outcome.failure) {
        desktop_.ShowMessage(this, CalcFailureMessage(outcome.failure->reason));
        return false;
    }
    LookupTable();
    ComputeVerdict(formVariables_);
    KeepInsights(counts);
    return true;
}

void Kelvory::Command1_Click()
{
    CheckForBlanks();
    if (BlankFlag == 1) {
        return;
    }
    CheckForInverse();
    if (InverseFlag == 1) {
        return;
    }
    CheckForNumerics();
    if (NumericFlag == 1) {
        return;
    }
    if (!RunCalculation()) {
        return;
    }
    ShowResult();
    txtViews1->setFocus();
}

void Kelvory::ShowResult()
{
    const ComparisonResult& r = formVariables_;
    const ResultTexts texts = TextsOf(r);
    SetValueCaption(lblPVal, Text(texts.pValue));
    SetValueCaption(lblRatio1, Text(texts.ratio1));
    SetValueCaption(lblRatio2, Text(texts.ratio2));
    SetValueCaption(lblZStat, Text(texts.zStat));

    const Marker marker = MarkerForShownRatios(lblRatio1->text().toStdString(), lblRatio2->text().toStdString());
    lblStar1->setVisible(marker == Marker::Version1);
    lblStar2->setVisible(marker == Marker::Version2);

    SetValueCaption(lblResult, Text(r.VerdictText));
    const bool barsShown = r.Band == VerdictBand::SlightlyBetter;
    if (barsShown || r.Band == VerdictBand::TooClose || r.Band == VerdictBand::Identical) {
        pbar1->setVisible(barsShown);
        pbar2->setVisible(barsShown);
        for (QLabel* label : {lblWin2a, lblWin2b, lblWin1a, lblWin1b}) {
            label->hide();
        }
    }
    if (r.Band == VerdictBand::Identical) {
        lblStar1->hide();
        lblStar2->hide();
    }

    const bool aWins = r.Winner == "A";
    if (aWins || r.Winner == "B") {
        UprightBar* winnerBar = aWins ? pbar1 : pbar2;
        winnerBar->show();
        (aWins ? pbar2 : pbar1)->hide();
        lblStar1->setVisible(aWins);
        lblStar2->setVisible(!aWins);
        winnerBar->SetValue(BarValue(r.Likelihood));
        if (ShowsWinnerLabels(r.Likelihood)) {
            lblWin1a->setVisible(aWins);
            lblWin1b->setVisible(aWins);
            lblWin2a->setVisible(!aWins);
            lblWin2b->setVisible(!aWins);
        }
    }
}

}  // namespace ambrelay
