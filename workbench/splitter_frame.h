// The results window: the structure tree on the left (200 pixels wide at
// first) and, on the right, the results table with the chart on a second
// tab. The table is the window's active view.
//
// The window reads the results file when it is first filled (showResults())
// and whenever the document tells its views to follow it. A change of the
// tree's check boxes goes out as a document notification with the tree as
// the hint; the table and the chart then show only the records the tree
// lets through. A notification from another view without a hint (a run, a
// double click in the report) reads the file again, refills the tree with
// everything checked and shows every record. What the main window does for
// it (the status bar, error messages, printing) it asks through signals.
#pragma once

#include "workbench/child_frame.h"
#include "workbench/results_file.h"

class CResultsView;
class CStructureView;
class QPrinter;
class QSplitter;
class QTabWidget;
class ResultsChartView;

class CSplitterFrame : public CChildFrame {
    Q_OBJECT
  public:
    explicit CSplitterFrame(CWinKoltDoc* document);

    // First display: reads the results file and fills the tree, the table
    // and the chart. Called once the window's signals are connected.
    void showResults();

    QSplitter* splitter() const;
    CStructureView* structureView() const { return tree; }
    CResultsView* resultsView() const { return table; }
    ResultsChartView* chartView() const { return chart; }
    QTabWidget* resultTabs() const { return tabs; }
    bool chartShown() const;
    void showChart(bool chart);

    // Printing acts on the pane shown: the table or the chart.
    bool printTo(QPrinter* printer) const;
    void print(QPrinter* printer);
    void printPreview(QPrinter* printer);

    // The rows the table shows, as a CSV file.
    bool saveCsv(const QString& path, QString* error) const;

  signals:
    // The table's selection or its rows changed.
    void tableChanged();
    // A passing note for the status bar (a damaged results file).
    void statusMessage(const QString& text, int timeoutMs);
    // An error to tell the user (printing or saving failed).
    void errorOccurred(const QString& text);
    // The chart's print button: the print command prints the shown pane.
    void printRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onViewsNotified(QObject* sender, QObject* hint);
    // The tree as wide as its labels, once the window has its real width.
    void fitTreeWidth();
    // Reads the results file; false (records kept) when it cannot be opened.
    bool readResults();
    void showRecords(bool filtered);
    QString documentName() const;
    QString askExportPath(const QString& caption, const QString& extension, const QString& filter);
    void saveCsvAs();
    void saveChartAs(bool svg);
    QWidget* makeCornerButtons();

    CStructureView* tree;
    CResultsView* table;
    ResultsChartView* chart;
    QTabWidget* tabs;
    QList<ResultRecord> records;
    bool treeWidthSet = false;
};
