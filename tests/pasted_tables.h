#pragma once
// A pasted report's table read back as a reader sees it, independently of
// how it was written: a row a figure, "label: words" as the plain report has it.

#include <QRegularExpression>
#include <QStringList>

namespace ambrelay::testing {

inline QStringList HtmlRows(const QString& html)
{
    QStringList rows;
    static const QRegularExpression row("<tr><td>(.*?)</td><td>(.*?)</td></tr>");
    for (const QRegularExpressionMatch& m : row.globalMatch(html)) {
        QString cells = m.captured(1) + "\t" + m.captured(2);
        cells.replace("<br>", "\n").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
        rows << cells.replace("&#39;", "'").replace("&amp;", "&").replace("\t", ": ");
    }
    return rows;
}

// Cells split at the bars no backslash escapes; a backslash keeps the
// character after it, <br> is a line end. The head and its rule left out.
inline QStringList MarkdownRows(const QString& markdown)
{
    QStringList rows;
    static const QRegularExpression row("^\\| ((?:[^\\\\|]|\\\\.)*) \\| ((?:[^\\\\|]|\\\\.)*) \\|$",
                                        QRegularExpression::MultilineOption);
    static const QRegularExpression escaped("\\\\(.)|<br>");
    for (const QRegularExpressionMatch& m : row.globalMatch(markdown)) {
        QString shown;
        const QString cells = m.captured(1) + "\t" + m.captured(2);
        qsizetype at = 0;
        for (const QRegularExpressionMatch& e : escaped.globalMatch(cells)) {
            shown += cells.mid(at, e.capturedStart() - at) + (e.hasCaptured(1) ? e.captured(1) : "\n");
            at = e.capturedEnd();
        }
        shown += cells.mid(at);
        rows << shown.replace("\t", ": ");
    }
    return rows.mid(2);
}

}  // namespace ambrelay::testing
