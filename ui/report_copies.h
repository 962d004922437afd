#pragma once
// Copy and Copy as Markdown for a companion window's report, in the
// window's context menu: Copy puts the plain report on the clipboard with
// its HTML table beside it, Copy as Markdown the Markdown table as plain
// text. Both are unavailable while there is nothing to copy.

#include <QObject>

#include "figures/report_formats.h"

class QAction;
class QWidget;

namespace ambrelay {

class Desktop;

class ReportCopies final : public QObject {
    Q_OBJECT

public:
    ReportCopies(Desktop& desktop, QWidget* window);

    void Set(ReportForms report);
    void Clear() { Set({}); }
    bool Empty() const { return report_.plain.empty(); }

    // What the window's Copy button does too.
    void Copy();
    void CopyMarkdown();

private:
    Desktop& desktop_;
    ReportForms report_;
    QAction* copy_ = nullptr;
    QAction* markdown_ = nullptr;
};

}  // namespace ambrelay
