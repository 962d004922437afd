// Beyond the verdict: after a calculation that ran to the end, the
// interpretation box explains the result in a tooltip, and Ctrl+C or its
// context menu copies a plain-text report (with an HTML table beside it for
// programs that paste rich text), or the report as Markdown. None of it
// changes the window's specified controls or behaviour.

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>

#include "figures/figures.h"
#include "figures/result_report.h"
#include "ui/announcer.h"
#include "ui/desktop.h"
#include "ui/kelvory.h"

namespace ambrelay {

void Kelvory::SetUpResultCopy()
{
    copyResult_ = new QAction(QStringLiteral("Copy result"), lblResult);
    copyResult_->setEnabled(false);
    connect(copyResult_, &QAction::triggered, this, &Kelvory::CopyResult);
    copyMarkdown_ = new QAction(QStringLiteral("Copy as Markdown"), lblResult);
    copyMarkdown_->setEnabled(false);
    connect(copyMarkdown_, &QAction::triggered, this, &Kelvory::CopyResultAsMarkdown);
    // The interpretation box is the bordered Label6 with lblResult inside it.
    for (QLabel* box : {Label6, lblResult}) {
        box->addAction(copyResult_);
        box->addAction(copyMarkdown_);
        box->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    // A text box takes Copy for itself before this shortcut sees it; see
    // CopiesResultInstead for what it does with it.
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    copy->setContext(Qt::WindowShortcut);
    connect(copy, &QShortcut::activated, this, &Kelvory::CopyResult);
}

void Kelvory::KeepInsights(const Judgement& judgement)
{
    if (!judgement.Finished()) {
        ForgetInsights();
        return;
    }
    const QString words = QString::fromStdString(SummaryText(JudgementFigures(judgement).All(), JudgementWarnings(judgement)))
                          + QStringLiteral("\nFor details and a picture: right-click, or press Ctrl+I.");
    Label6->setToolTip(words);
    lblResult->setToolTip(words);
    report_ = ResultReportForms(judgement);
    copyResult_->setEnabled(true);
    copyMarkdown_->setEnabled(true);
    shown_ = judgement;
    FollowResult();
}

void Kelvory::ForgetInsights()
{
    Label6->setToolTip(QString());
    lblResult->setToolTip(QString());
    report_ = {};
    copyResult_->setEnabled(false);
    copyMarkdown_->setEnabled(false);
    shown_.reset();
    FollowResult();
}

void Kelvory::CopyResult()
{
    if (!report_.plain.empty()) {
        desktop_.CopyRichText(QString::fromStdString(report_.plain), QString::fromStdString(report_.html));
        announcer_->Say(QStringLiteral("The result was copied to the clipboard."));
    }
}

void Kelvory::CopyResultAsMarkdown()
{
    if (!report_.markdown.empty()) {
        desktop_.CopyText(QString::fromStdString(report_.markdown));
        announcer_->Say(QStringLiteral("The result was copied to the clipboard as a Markdown table."));
    }
}

// After Go the focus is back in the first box, so Copy lands there. With
// nothing selected the box would copy nothing; the user means the result.
bool Kelvory::CopiesResultInstead(const QLineEdit* box, const QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !static_cast<const QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        return false;
    }
    if (box->hasSelectedText() || report_.plain.empty()) {
        return false;
    }
    CopyResult();
    return true;
}

}  // namespace ambrelay
