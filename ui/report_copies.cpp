#include "ui/report_copies.h"

#include <QAction>
#include <QWidget>

#include "ui/desktop.h"

namespace ambrelay {

ReportCopies::ReportCopies(Desktop& desktop, QWidget* window) : QObject(window), desktop_(desktop)
{
    copy_ = new QAction(QStringLiteral("Copy"), window);
    markdown_ = new QAction(QStringLiteral("Copy as Markdown"), window);
    connect(copy_, &QAction::triggered, this, &ReportCopies::Copy);
    connect(markdown_, &QAction::triggered, this, &ReportCopies::CopyMarkdown);
    window->addAction(copy_);
    window->addAction(markdown_);
    // Labels and tables pass a right-click on to the window; boxes keep their
    // own edit menu, and the picture its own.
    window->setContextMenuPolicy(Qt::ActionsContextMenu);
    Clear();
}

void ReportCopies::Set(ReportForms report)
{
    report_ = std::move(report);
    copy_->setEnabled(!Empty());
    markdown_->setEnabled(!Empty());
}

void ReportCopies::Copy()
{
    if (!Empty()) {
        desktop_.CopyRichText(QString::fromStdString(report_.plain), QString::fromStdString(report_.html));
    }
}

void ReportCopies::CopyMarkdown()
{
    if (!Empty()) {
        desktop_.CopyText(QString::fromStdString(report_.markdown));
    }
}

}  // namespace ambrelay
