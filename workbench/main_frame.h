// The main window: document windows in an MDI area, the menus of the active
// window's kind, the standard and calculation toolbars, the status bar.
//
// Every command is a QAction built in createActions() and kept by its
// command number; updateActions() alone decides what is enabled and checked.
#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "workbench/command_ids.h"
#include "workbench/command_rules.h"
#include "workbench/user_prompts.h"

class CaretPositionLabel;
class CChildFrame;
class CWinKoltDoc;
class CWinKoltView;
class FindReplaceController;
class MiniWizardDialog;
class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QPrinter;
class QTextBrowser;
class QToolBar;
struct SolverRun;

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Where the solver is; by default kolt-32 beside the executable.
    QString solverPath() const { return solverFile; }
    void setSolverPath(const QString& path) { solverFile = path; }

    // The show command of new document windows: 3 maximised, 1 normal.
    static int childShowCommand();
    static void setChildShowCommand(int showCommand);

    // Questions to the user; tests put in scripted answers.
    void setPrompts(std::unique_ptr<UserPrompts> prompts);
    UserPrompts& prompts() const { return *userPrompts; }

    QString newDocumentText() const { return newText; }
    void setNewDocumentText(const QString& text) { newText = text; }

    // --- documents -------------------------------------------------------
    CWinKoltDoc* fileNew();
    // Opens path (or activates the document already open on it); nullptr
    // after telling the user when it cannot be opened.
    CWinKoltDoc* openDocument(const QString& path);
    bool saveDocument(CWinKoltDoc* document);
    bool saveDocumentAs(CWinKoltDoc* document, const QString& path);
    // Asks to save a modified document; false when the user cancelled.
    bool saveModified(CWinKoltDoc* document);
    // Closes all windows of document, asking to save it first.
    bool closeDocument(CWinKoltDoc* document);
    QList<CWinKoltDoc*> documents() const;
    QStringList recentFiles() const { return recentFileList; }

    // --- windows ---------------------------------------------------------
    CChildFrame* activeFrame() const;
    CWinKoltDoc* activeDocument() const;
    QList<CChildFrame*> framesOf(const CWinKoltDoc* document) const;
    CChildFrame* frameOf(const CWinKoltDoc* document, ViewKind kind) const;
    // Activates the first window of that kind of the active document with
    // showCommand (-1: childShowCommand, 0: hide), or makes one.
    CChildFrame* openOrActivateView(ViewKind kind, int showCommand);
    CChildFrame* openOrActivateView(CWinKoltDoc* document, ViewKind kind, int showCommand);
    void closeViewWindow(ViewKind kind);
    void closeViewWindow(CWinKoltDoc* document, ViewKind kind);
    void activateFrame(CChildFrame* frame, int showCommand);

    // --- commands --------------------------------------------------------
    QAction* action(int commandId) const { return actions.value(commandId); }
    QComboBox* methodCombo() const { return methodList; }
    QToolBar* calcBar() const { return calculationBar; }
    QToolBar* standardBar() const { return standardToolBar; }
    MenuId currentMenu() const { return shownMenu; }
    QMdiArea* mdiArea() const { return area; }
    MiniWizardDialog* miniWizard() const { return wizard; }
    void updateActions();

    // The help page shipped with the program, or empty when it is missing.
    static QString helpPagePath();
    QTextBrowser* helpBrowser() const;

    // The printer that page setup sets up and print and preview use.
    QPrinter* pageSetup() const { return pageSetupPrinter; }

    // Prints the file without showing it (the --print start).
    bool printFile(const QString& path, QPrinter* printer);

    // Saves the window placement, then closes every document (asking about
    // unsaved ones); false when the user cancelled.
    bool closeAllDocuments();

    void saveWindowPlacement();
    void restoreWindowPlacement(int startShowCommand);
    // Writes childShowCommand when it differs from the last value read or written.
    static void saveChildShowCommandIfChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void showMenu(MenuId menu);
    void onSubWindowActivated();
    void updateTitle();
    void updateRecentFileActions();
    void addToRecentFiles(const QString& path);
    void fillWindowMenu(QMenu* menu);
    CWinKoltDoc* documentOnPath(const QString& path) const;
    CChildFrame* createFrame(CWinKoltDoc* document, ViewKind kind);
    // The main window's part in a document window's life: the save question
    // when the document's last window closes, forgetting the window, and
    // the show command of the next windows.
    void connectFrame(CChildFrame* frame);
    // A closed frame: forgets it and, when it was the document's last
    // window, the document.
    void frameClosed(CChildFrame* frame);
    // Records the active frame's size state as childShowCommand.
    void recordChildShowCommand();
    CWinKoltView* modelViewForRun();
    CommandContext commandContext() const;

    // Command handlers.
    void onFileOpen();
    void onFileSave();
    void onFileSaveAs();
    void onFileClose();
    void onMiniWizard();
    void onPrintSetup();
    void onEditCommand(int id);
    void onRunCommand(bool syntaxOnly);
    // The windows and the records that follow a run of the solver.
    void onSolverRun(CWinKoltView* view, const SolverRun& run);
    // F4 / Shift+F4: the report's next or previous positioned message.
    void onMessageCommand(bool forward);
    void onWindowCommand(ViewKind kind);
    void onAbout();
    void onHelp();
    void onContextHelp();
    // Document windows one above another, each across the whole area.
    void tileHorizontally();
    // Document windows at a working size, each a title bar below the one before.
    void cascadeWindows();
    QSize documentWindowSpace() const;
    int cascadeStep() const;
    // F6 / Shift+F6: the next or previous pane of a split document window.
    void focusPane(bool forward);

    QMdiArea* area;
    QHash<int, QAction*> actions;
    QMenu* windowMenu129 = nullptr;
    QMenu* windowMenu131 = nullptr;
    QList<QMenu*> menus128, menus129, menus131;
    MenuId shownMenu = MenuId::NoDocument;
    QToolBar* standardToolBar = nullptr;
    QToolBar* calculationBar = nullptr;
    QComboBox* methodList = nullptr;
    QLabel* idleLabel = nullptr;
    CaretPositionLabel* caretLabel = nullptr;
    MiniWizardDialog* wizard = nullptr;
    FindReplaceController* findReplace = nullptr;
    QPointer<QTextBrowser> helpWindow;
    QPrinter* pageSetupPrinter = nullptr;
    std::unique_ptr<UserPrompts> userPrompts;
    QList<CWinKoltDoc*> docs;
    QStringList recentFileList;
    QString newText;
    QString solverFile;
    QString shownMainTitle;
    int untitledCount = 0;
    bool placementSaved = false;
};
