// Paged printing of the results table.
//
// Page layout, h being the line height of the printing font, q = h / 4 and
// w its average character width:
//   "Wyniki dla: " and the document's path at the top left, a rule across the
//   page area at top + h + q;
//   the heading line q below the rule, then the rows, each h + q below the
//   one before, followed by a rule and a gap of q;
//   a rule at bottom - h - q, and "Strona: n" with its top at bottom - h.
// A row goes on the page only while its line and the next one's stay above
// the bottom (y + 2 (h + q) <= bottom). Each column starts two characters
// after the widest cell of the column before it.
#pragma once

#include <QFont>
#include <QList>
#include <QRect>
#include <QStringList>

class QPainter;
class QPaintDevice;
class QPrinter;

// Rows a page of that area holds. At least one: a page too short for a row
// still prints one, so that a job always ends.
int rowsPerResultsPage(int lineHeight, const QRect& area);

class ResultsTablePrinter {
  public:
    // headings and the rows' cells in display order; header names the document.
    ResultsTablePrinter(const QStringList& headings, const QList<QStringList>& rows, const QString& header,
                        const QFont& font);

    void layout(QPaintDevice* device, const QRect& pageArea);
    int pageCount() const;
    int rowsPerPage() const { return perPage; }
    int lineHeight() const { return h; }
    // Paints page (1-based).
    void paintPage(QPainter& painter, int page) const;

    // Prints every page, or the printer's page range; false when the
    // printer cannot be started.
    bool print(QPrinter* printer);

    static QString headerText(const QString& documentName);
    static QString footerText(int page);

  private:
    QStringList headingTexts;
    QList<QStringList> rowTexts;
    QString header;
    QFont baseFont;
    QFont deviceFont;
    QRect area;
    QList<int> columnX;
    int h = 0;
    int perPage = 1;
};
