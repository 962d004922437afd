// Beyond the verdict: after a calculation that ran to the end, the
// interpretation box explains the result in a tooltip, and Ctrl+C or its
// context menu copies a plain-text report. None of it changes the window's
// specified controls or behaviour.

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>

#include "engine/insights.h"
#include "ui/desktop.h"
#include "ui/kelvory.h"

namespace ambrelay {

void Kelvory::SetUpResultCopy()
{
    copyResult_ = new QAction(QStringLiteral("Copy result"), lblResult);
    copyResult_->setEnabled(false);
    connect(copyResult_, &QAction::triggered, this, &Kelvory::CopyResult);
    // The interpretation box is the bordered Label6 with lblResult inside it.
    for (QLabel* box : {Label6, lblResult}) {
        box->addAction(copyResult_);
        box->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    // A text box takes Ctrl+C for its own selection before this shortcut sees it.
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    copy->setContext(Qt::WindowShortcut);
    connect(copy, &QShortcut::activated, this, &Kelvory::CopyResult);
}

void Kelvory::KeepInsights(const Counts& counts)
{
    const std::optional<Insights> insights =
        ComputeInsights(counts.views1, counts.responses1, counts.views2, counts.responses2);
    if (!insights) {
        ForgetInsights();
        return;
    }
    const QString words = QString::fromStdString(InsightsText(*insights));
    Label6->setToolTip(words);
    lblResult->setToolTip(words);
    report_ = QString::fromStdString(ResultReport(counts, formVariables_, *insights));
    copyResult_->setEnabled(true);
}

void Kelvory::ForgetInsights()
{
    Label6->setToolTip(QString());
    lblResult->setToolTip(QString());
    report_.clear();
    copyResult_->setEnabled(false);
}

void Kelvory::CopyResult()
{
    if (!report_.isEmpty()) {
        desktop_.CopyText(report_);
    }
}

}  // namespace ambrelay
