// The model editor: a plain text editor over the document's text.
//
// Edits reach the document through its QTextDocument; the view itself adds
// the editor font, line numbers and highlighting of the language, the
// mouse-wheel rule, the jump to a chosen diagnostic (whose line stays
// marked), printing, and running the solver on the document's file.
#pragma once

#include "workbench/line_numbered_edit.h"
#include "workbench/solver_runner.h"

class CWinKoltDoc;
class QPrinter;

// What a run of the solver from the model editor came to. The editor only
// runs the solver; the main window acts on the outcome: it shows the
// refusal or the fatal message, or passes the report and results windows
// and has the run recorded (recordSolverRun).
struct SolverRun {
    enum class Result {
        NotRun,      // the document has no file yet
        Refused,     // the document is one of the run's own files
        NotStarted,  // the solver could not be started or waited for
        Ended,       // the solver ended, by itself or ended by the user
    };
    Result result = Result::NotRun;
    QString documentPath;  // the file run, which names the run files
    bool syntaxOnly = false;
    int methodIndex = -1;
    SolverOutcome process;

    // The run state the run leaves: 1 after a passed syntax analysis, 2
    // after a passed network analysis, 0 after a failed or ended one.
    int runState() const;
};

// Records an ended run in the document's files and state: the report's
// closing line when the user ended the run, the run settings file, then
// the document's run state and method (which tells the listeners).
void recordSolverRun(CWinKoltDoc* document, const SolverRun& run);

class CWinKoltView : public LineNumberedEdit {
    Q_OBJECT
  public:
    explicit CWinKoltView(CWinKoltDoc* document, QWidget* parent = nullptr);
    ~CWinKoltView() override;

    CWinKoltDoc* winKoltDoc() const { return doc; }

    // Runs the solver at solverPath on the saved file: a syntax analysis,
    // or a network analysis with the method of the method list's
    // methodIndex. A long run shows a progress dialog over the editor.
    SolverRun runSolver(bool syntaxOnly, int methodIndex, const QString& solverPath);

    // Moves to the document's errorLine()/errorColumn() (1-based) and marks
    // that line.
    void jumpToDiagnostic();

    // Prints the whole text (or the printer's page range) with the header
    // and page footers; false when the printer cannot be started.
    bool printTo(QPrinter* printer) const;
    // The 1-based page that holds the start of the selection.
    int pageOfSelectionStart(QPrinter* printer) const;
    // The print dialog, then printing on printer.
    void print(QPrinter* printer);
    // Print preview on printer's page setup, opening at the selection's page.
    void printPreview(QPrinter* printer);

    // The editor font: "Courier New", or a fixed-pitch stand-in when the
    // machine's match for it is not fixed-pitch.
    static QFont editorFont();

  protected:
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void onViewsNotified(QObject* sender, QObject* hint);

    CWinKoltDoc* doc;
};
