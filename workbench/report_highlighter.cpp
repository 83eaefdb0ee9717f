#include "workbench/report_highlighter.h"

#include <QTextCharFormat>

ReportLineKind reportLineKind(const QString& line) {
    // "BŁĄD FATALNY: " begins like "BŁĄD:" only up to its blank; both are errors.
    if (line.startsWith(QStringLiteral("BŁĄD:")) || line.startsWith(QStringLiteral("BŁĄD FATALNY:")))
        return ReportLineKind::Error;
    if (line.startsWith(QStringLiteral("OSTRZEŻENIE:"))) return ReportLineKind::Warning;
    return ReportLineKind::Plain;
}

QColor reportLineColour(ReportLineKind kind) {
    switch (kind) {
        case ReportLineKind::Error: return QColor(0xc0, 0x00, 0x00);
        case ReportLineKind::Warning: return QColor(0x80, 0x80, 0x00);
        case ReportLineKind::Plain: break;
    }
    return Qt::black;
}

ReportHighlighter::ReportHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void ReportHighlighter::highlightBlock(const QString& text) {
    const ReportLineKind kind = reportLineKind(text);
    if (kind == ReportLineKind::Plain) return;
    QTextCharFormat format;
    format.setForeground(reportLineColour(kind));
    setFormat(0, int(text.size()), format);
}
