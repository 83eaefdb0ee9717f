// The model editor: a plain text editor over the document's text.
//
// Edits reach the document through its QTextDocument; the view itself adds
// the editor font, line numbers and highlighting of the language, the
// mouse-wheel rule, the jump to a chosen diagnostic (whose line stays
// marked), printing, and running the solver on the document's file.
#pragma once

#include "workbench/line_numbered_edit.h"

class CMainFrame;
class CWinKoltDoc;
class QPrinter;

class CWinKoltView : public LineNumberedEdit {
    Q_OBJECT
public:
    CWinKoltView(CWinKoltDoc* document, CMainFrame* mainFrame, QWidget* parent = nullptr);
    ~CWinKoltView() override;

    CWinKoltDoc* winKoltDoc() const { return doc; }

    // Runs the solver on the saved file: a syntax analysis or a network
    // analysis with the method selected in the calculation toolbar.
    void runSolver(bool syntaxOnly);

    // Moves to the document's errorLine/errorColumn (1-based) and marks
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
    CMainFrame* frame;
};
