// Colours of the report view: errors and fatal errors red, warnings dark
// yellow, every other line black.
#pragma once

#include <QColor>
#include <QString>
#include <QSyntaxHighlighter>

enum class ReportLineKind { Plain, Warning, Error };

// The kind of a report line by the level prefix the solver writes.
ReportLineKind reportLineKind(const QString& line);

// The text colour of a kind.
QColor reportLineColour(ReportLineKind kind);

class ReportHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    explicit ReportHighlighter(QTextDocument* document);

  protected:
    void highlightBlock(const QString& text) override;
};
