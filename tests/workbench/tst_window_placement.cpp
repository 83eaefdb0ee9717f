// The settings kept between runs: the main window's placement, the show
// command of document windows, the recent files; and the start-up command line.
#include <QAction>
#include <QMdiArea>
#include <QSettings>

#include "tests/workbench/workbench_fixture.h"
#include "workbench/app_settings.h"
#include "workbench/child_frame.h"
#include "workbench/command_ids.h"
#include "workbench/window_placement.h"
#include "workbench/winkolt_app.h"
#include "workbench/winkolt_doc.h"

class TestWindowPlacement : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useTemporarySettings(dir_); }
    void init();
    void placementText();
    void placementForTheStartShowCommand();
    void firstStartWithEmptySettings();
    void maximisedAtCloseComesBackMaximised();
    void startedMinimisedUsesTheSavedNormalRectangle();
    void documentWindowsKeepTheLastSizeState();
    void unusableStoredValuesAreNotTaken();
    void documentWindowsOpenAtAWorkingSize();
    void recentFilesKeepFourMostRecentFirst();
    void commandLineOpensOrFails();

  private:
    static QSettings settings() { return QSettings(QStringLiteral("WinKolt"), QStringLiteral("WinKolt")); }
    QTemporaryDir dir_;
};

void TestWindowPlacement::init() {
    settings().clear();
    CMainFrame::setChildShowCommand(ShowCommand::Maximized);
}

void TestWindowPlacement::placementText() {
    WindowPlacement p;
    p.flags = 2;
    p.showState = 3;
    p.left = 10;
    p.top = -20;
    p.right = 810;
    p.bottom = 620;
    const QString text = formatWindowPlacement(p);
    QCOMPARE(text, QStringLiteral("2,3,-1,-1,-1,-1,10,-20,810,620"));
    const auto back = parseWindowPlacement(text);
    QVERIFY(back);
    QCOMPARE(formatWindowPlacement(*back), text);
    QVERIFY(parseWindowPlacement(QStringLiteral("0,1,2,3,4,5,6,7,8,9 and more")));
    for (const char* bad :
         {"", "0,1,2,3,4,5,6,7,8", "a,1,2,3,4,5,6,7,8,9", "0;1;2;3;4;5;6;7;8;9", "0,1,2,3,4,5,6,7,8,99999999999"})
        QVERIFY2(!parseWindowPlacement(QString::fromLatin1(bad)), bad);
}

void TestWindowPlacement::placementForTheStartShowCommand() {
    WindowPlacement stored;
    stored.showState = ShowCommand::Maximized;
    QCOMPARE(placementForStart(stored, ShowCommand::Normal).showState, unsigned(ShowCommand::Maximized));
    QCOMPARE(placementForStart(stored, ShowCommand::Minimized).showState, unsigned(ShowCommand::Minimized));
    QCOMPARE(windowStatesOfShowCommand(ShowCommand::MinNoActive), Qt::WindowStates(Qt::WindowMinimized));
    QCOMPARE(showCommandOfWindowStates(Qt::WindowMaximized), unsigned(ShowCommand::Maximized));
}

void TestWindowPlacement::firstStartWithEmptySettings() {
    auto prompts = std::make_unique<ScriptedPrompts>();
    CWinKoltApp app(std::move(prompts));
    QVERIFY(app.initInstance({QStringLiteral("WinKolt")}));
    CMainFrame* frame = app.mainFrame();
    QVERIFY(frame->isVisible());
    QVERIFY(!frame->isMaximized());
    QCOMPARE(frame->documents().size(), 1);
    QVERIFY(frame->activeFrame()->isMaximized());
    QVERIFY(frame->close());
    // The placement is written; the unchanged show command is not.
    QVERIFY(parseWindowPlacement(settings().value(QStringLiteral("Settings/WindowPos")).toString()));
    QVERIFY(!settings().contains(QStringLiteral("Settings/ShowCmd")));
}

void TestWindowPlacement::maximisedAtCloseComesBackMaximised() {
    {
        Workbench wb;
        wb.frame->showMaximized();
        QTRY_VERIFY(wb.frame->isMaximized());
        wb.frame->close();
    }
    QVERIFY(AppSettings::readWindowPos().startsWith(QStringLiteral("2,3,")));
    CMainFrame next;
    next.restoreWindowPlacement(ShowCommand::Normal);
    QTRY_VERIFY(next.isMaximized());
}

void TestWindowPlacement::startedMinimisedUsesTheSavedNormalRectangle() {
    AppSettings::writeWindowPos(QStringLiteral("0,1,-1,-1,-1,-1,40,50,740,550"));
    CMainFrame frame;
    frame.restoreWindowPlacement(ShowCommand::Minimized);
    QVERIFY(frame.windowState() & Qt::WindowMinimized);
    QCOMPARE(frame.normalGeometry().isValid() ? frame.normalGeometry() : frame.geometry(), QRect(40, 50, 700, 500));
}

void TestWindowPlacement::documentWindowsKeepTheLastSizeState() {
    {
        Workbench wb;
        wb.frame->fileNew();
        wb.frame->activeFrame()->showNormal();
        QTRY_COMPARE(CMainFrame::childShowCommand(), int(ShowCommand::Normal));
        // Minimising records nothing.
        wb.frame->activeFrame()->showMinimized();
        QTest::qWait(20);
        QCOMPARE(CMainFrame::childShowCommand(), int(ShowCommand::Normal));
        wb.frame->close();
    }
    QCOMPARE(settings().value(QStringLiteral("Settings/ShowCmd")).toInt(), 1);

    CMainFrame::setChildShowCommand(ShowCommand::Maximized);  // as in a new process
    Workbench next;
    QCOMPARE(CMainFrame::childShowCommand(), int(ShowCommand::Normal));
    next.frame->fileNew();
    QVERIFY(!next.frame->activeFrame()->isMaximized());
}

void TestWindowPlacement::unusableStoredValuesAreNotTaken() {
    // A hidden state would make the program invisible; a rectangle on no
    // screen would put it out of reach.
    AppSettings::writeWindowPos(QStringLiteral("0,0,-1,-1,-1,-1,90000,90000,90800,90600"));
    AppSettings::writeShowCommand(0);
    {
        CMainFrame frame;
        frame.restoreWindowPlacement(ShowCommand::Normal);
        QVERIFY(frame.isVisible());
        QVERIFY(frame.geometry().x() < 90000);
        QCOMPARE(CMainFrame::childShowCommand(), int(ShowCommand::Maximized));
        frame.close();
    }
    QCOMPARE(settings().value(QStringLiteral("Settings/ShowCmd")).toInt(), 3);  // repaired at the end

    // A window once shrunk to nothing does not come back that small.
    AppSettings::writeWindowPos(QStringLiteral("0,1,-1,-1,-1,-1,40,30,300,240"));
    CMainFrame frame;
    frame.restoreWindowPlacement(ShowCommand::Normal);
    QVERIFY(frame.size() != QSize(260, 210));
    frame.close();
}

// Document windows in normal size open at two thirds of the area, each a
// title bar below the one before, come back to that size from maximised,
// and Cascade gives every window that size.
void TestWindowPlacement::documentWindowsOpenAtAWorkingSize() {
    CMainFrame::setChildShowCommand(ShowCommand::Normal);
    Workbench wb;
    const QSize area = wb.frame->mdiArea()->viewport()->size();
    const QSize working(area.width() * 2 / 3, area.height() * 2 / 3);
    CChildFrame* first = (wb.frame->fileNew(), wb.frame->activeFrame());
    CChildFrame* second = (wb.frame->fileNew(), wb.frame->activeFrame());
    QCOMPARE(first->size(), working);
    QCOMPARE(second->size(), working);
    QVERIFY(second->x() > first->x() && second->y() > first->y());

    second->showMaximized();
    second->showNormal();
    QCOMPARE(second->size(), working);

    first->resize(260, 210);
    wb.frame->action(Command::WindowCascade)->trigger();
    QCOMPARE(first->size(), working);
    QCOMPARE(second->size(), working);
    QVERIFY(second->y() > first->y());
    QCOMPARE(wb.frame->activeFrame(), second);  // the active window stays on top

    // The places stay inside the area, however many windows there are.
    for (int index = 0; index < 100; ++index)
        QVERIFY(QRect(QPoint(0, 0), area).contains(cascadedWindowRect(area, index, 24)));
}

void TestWindowPlacement::recentFilesKeepFourMostRecentFirst() {
    Workbench wb;
    QStringList paths;
    for (int i = 1; i <= 5; ++i) {
        paths << writeTestFile(dir_.filePath(QStringLiteral("r%1.klt").arg(i)), "SOUR r\r\n");
        QVERIFY(wb.frame->openDocument(paths.last()));
    }
    const QStringList expected{paths[4], paths[3], paths[2], paths[1]};
    QCOMPARE(wb.frame->recentFiles(), expected);
    QCOMPARE(AppSettings::readRecentFiles(), expected);
    QCOMPARE(settings().value(QStringLiteral("Recent File List/File1")).toString(), paths[4]);

    // Opening an open document again only activates it, and moves nothing.
    QVERIFY(wb.frame->openDocument(paths[1]));
    QCOMPARE(wb.frame->documents().size(), 5);
    QCOMPARE(wb.frame->activeDocument()->path(), paths[1]);
    // The menu entries open them.
    QCOMPARE(wb.frame->action(57616)->text(), QStringLiteral("&1 ") + paths[4]);
}

void TestWindowPlacement::commandLineOpensOrFails() {
    const QString path = writeTestFile(dir_.filePath(QStringLiteral("start.klt")), "SOUR s\r\n");
    {
        CWinKoltApp app(std::make_unique<ScriptedPrompts>());
        QVERIFY(app.initInstance({QStringLiteral("WinKolt"), path}));
        QCOMPARE(app.mainFrame()->documents().size(), 1);
        QCOMPARE(app.mainFrame()->activeDocument()->path(), path);
        app.mainFrame()->close();
    }
    auto prompts = std::make_unique<ScriptedPrompts>();
    ScriptedPrompts* asked = prompts.get();
    CWinKoltApp app(std::move(prompts));
    QVERIFY(!app.initInstance({QStringLiteral("WinKolt"), dir_.filePath(QStringLiteral("nie-ma.klt"))}));
    QCOMPARE(asked->asked.value(0), QStringLiteral("Failed to open document."));
}

QTEST_MAIN(TestWindowPlacement)
#include "tst_window_placement.moc"
