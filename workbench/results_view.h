// The results table pane: one row per result record shown, the key column
// first, full-row selection, cells too wide for their column shortened with
// "...". Selected rows are highlighted while the table has the focus.
//
// A click on a heading changes sortColumn and asks for the rows again
// (sortRequested()); the window decides which records to show.
#pragma once

#include <QTableView>

#include "workbench/results_file.h"

class QPrinter;
class ResultsTableModel;

class CResultsView : public QTableView {
    Q_OBJECT
  public:
    explicit CResultsView(QWidget* parent = nullptr);

    int sortColumn() const { return sortKey; }

    // Shows records sorted by the key column; headings, widths and
    // alignments are set again (a width changed by hand does not stay).
    void showRecords(const QList<ResultRecord>& records);
    // The records in list order.
    const QList<ResultRecord>& shownRecords() const;
    QList<ResultRecord> selectedRecords() const;

    QStringList headingTexts() const;
    QStringList rowTexts(int row) const;
    int rowCount() const;
    bool hasSelectedRows() const;

    // Puts the headings and the selected rows on the clipboard.
    void copyTable();
    void selectAllRows();

    // Prints the table with "Wyniki dla: " documentName in the page header;
    // false when the printer cannot be started.
    bool printTo(QPrinter* printer, const QString& documentName) const;

    // The font of the printout: the editor's face at ten points.
    static QFont printingFont();

  signals:
    void sortRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void onHeadingClicked(int displayedColumn);

    ResultsTableModel* rowsModel;
    int sortKey = 1;
};
