// The report view: how the diagnostics file is cut into lines, the position
// a report line names, and choosing a diagnostic by double click.
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include "test_files.h"
#include "workbench/compile_view.h"
#include "workbench/report_position.h"

class TestCompileView : public QObject {
    Q_OBJECT
  private slots:
    void longLinesAreCutInto119CharacterPieces();
    void finalNewlineGivesAnEmptyLastLineAndTheEndIsInView();
    void textIsDecodedAndReadOnly();
    void reportLoadedBeforeItsWindowIsShownOpensAtTheEnd();
    void missingFileKeepsTheText();
    void positionOfAReportLine_data();
    void positionOfAReportLine();
    void doubleClickOnAPositionChoosesIt();
    void doubleClickWithoutParenthesisDoesNothing();
    void doubleClickOnParenthesisWithoutPosition();

  private:
    QString writeFile(const QByteArray& bytes);
    static QStringList lines(const CCompileView& view);
    static QPoint pointOnLine(CCompileView& view, int blockNumber);
    QTemporaryDir dir_;
    int fileNumber_ = 0;
};

QString TestCompileView::writeFile(const QByteArray& bytes) {
    return writeTestFile(dir_.filePath(QStringLiteral("r%1.err").arg(++fileNumber_)), bytes);
}

QStringList TestCompileView::lines(const CCompileView& view) { return view.toPlainText().split(QLatin1Char('\n')); }

QPoint TestCompileView::pointOnLine(CCompileView& view, int blockNumber) {
    QTextCursor cursor(view.document()->findBlockByNumber(blockNumber));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 2);
    view.setTextCursor(cursor);
    view.ensureCursorVisible();
    return view.cursorRect(cursor).center();
}

void TestCompileView::longLinesAreCutInto119CharacterPieces() {
    CCompileView view;
    const QByteArray line300(300, 'x');
    QVERIFY(view.loadDiagnostics(writeFile("a\r\n" + line300 + "\r\n" + QByteArray(119, 'y') + "\nz")));
    const QStringList shown = lines(view);
    QCOMPARE(shown.size(), 6);
    QCOMPARE(view.loadedLineCount(), 6);
    QCOMPARE(shown[0], QStringLiteral("a"));
    QCOMPARE(shown[1].size(), 119);
    QCOMPARE(shown[2].size(), 119);
    QCOMPARE(shown[3].size(), 62);
    QCOMPARE(shown[4], QString(119, QLatin1Char('y')));  // a line of exactly 119 stays one line
    QCOMPARE(shown[5], QStringLiteral("z"));             // no final newline: the last piece is the rest
}

void TestCompileView::finalNewlineGivesAnEmptyLastLineAndTheEndIsInView() {
    CCompileView view;
    view.resize(300, 60);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(view.loadDiagnostics(writeFile("1\n2\n3\n4\n5\n")));
    QCOMPARE(view.loadedLineCount(), 6);
    QCOMPARE(view.document()->blockCount(), 6);
    QCOMPARE(view.document()->lastBlock().text(), QString());
    QScrollBar* scroll = view.verticalScrollBar();
    QVERIFY(scroll->maximum() > 0);
    QCOMPARE(scroll->value(), std::min(4, scroll->maximum()));

    QByteArray many;
    for (int i = 1; i <= 200; ++i) many += QByteArray::number(i) + "\n";
    QVERIFY(view.loadDiagnostics(writeFile(many)));
    QCOMPARE(view.loadedLineCount(), 201);
    QCOMPARE(scroll->value(), scroll->maximum());
    QVERIFY(view.cursorForPosition(QPoint(0, 0)).blockNumber() > 190);

    QVERIFY(view.loadDiagnostics(writeFile("")));
    QCOMPARE(view.loadedLineCount(), 1);
    QCOMPARE(view.toPlainText(), QString());
}

void TestCompileView::reportLoadedBeforeItsWindowIsShownOpensAtTheEnd() {
    CCompileView view;
    view.resize(300, 80);
    QByteArray many;
    for (int i = 1; i <= 100; ++i) many += "wiersz " + QByteArray::number(i) + "\n";
    QVERIFY(view.loadDiagnostics(writeFile(many)));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QScrollBar* scroll = view.verticalScrollBar();
    QVERIFY(scroll->maximum() > 0);
    QCOMPARE(scroll->value(), scroll->maximum());
}

void TestCompileView::textIsDecodedAndReadOnly() {
    CCompileView view;
    QVERIFY(
        view.loadDiagnostics(writeFile("B\xa3\xa5"
                                       "D:         (7,3) Nieznany obiekt \xaf\xf3\xb3w\n")));
    QCOMPARE(lines(view).first(), QStringLiteral("BŁĄD:         (7,3) Nieznany obiekt Żółw"));
    QVERIFY(view.isReadOnly());
    QVERIFY(!view.document()->isModified());
    QCOMPARE(view.palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(view.palette().color(QPalette::Text), QColor(Qt::black));
    QVERIFY(QFontInfo(view.font()).fixedPitch());
}

void TestCompileView::missingFileKeepsTheText() {
    CCompileView view;
    QVERIFY(view.loadDiagnostics(writeFile("pierwszy raport\n")));
    QVERIFY(!view.loadDiagnostics(dir_.filePath(QStringLiteral("brak.err"))));
    QCOMPARE(lines(view).first(), QStringLiteral("pierwszy raport"));
    QCOMPARE(view.loadedLineCount(), 2);
}

void TestCompileView::positionOfAReportLine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasParenthesis");
    QTest::addColumn<int>("line");  // -1: no position
    QTest::addColumn<int>("column");
    const auto row = [](const char* name, const QString& text, bool parenthesis, int line, int column) {
        QTest::newRow(name) << text << parenthesis << line << column;
    };
    // The lines the solver writes.
    row("error", QStringLiteral("BŁĄD:         (8,37) Suma prawdopodobieństw gałęzi (\"=\") różna od 1"), true, 8, 37);
    row("column 0", QStringLiteral("BŁĄD:         (14,0) Nieprawidłowa nazwa regulaminu szeregowania"), true, 14, 0);
    row("fatal", QStringLiteral("BŁĄD FATALNY: Blad allokacji pamięci (ADP)"), true, -1, -1);
    row("plain", QStringLiteral("Analizowany plik: siec.klt"), false, -1, -1);
    row("empty", QString(), false, -1, -1);
    // A CR left by CR LF line ends, blanks as "%d" skips them, and what
    // does not make a position.
    row("CR", QStringLiteral("OSTRZEŻENIE:  (3,5) uwaga\r"), true, 3, 5);
    row("blanks", QStringLiteral("( 7,\t3)"), true, 7, 3);
    row("blank before comma", QStringLiteral("(7 ,3)"), true, -1, -1);
    row("letter", QStringLiteral("(12,x)"), true, -1, -1);
    row("no column", QStringLiteral("(12,)"), true, -1, -1);
    row("too large", QStringLiteral("(2147483648,1)"), true, -1, -1);
    row("only the first '(' counts", QStringLiteral("uwaga (a) (3,4)"), true, -1, -1);
    // Only the first 120 characters count.
    row("'(' is the 120th", QString(119, u'x') + QStringLiteral("(5,6)"), true, -1, -1);
    row("'(' is the 121st", QString(120, u'x') + QStringLiteral("(5,6)"), false, -1, -1);
}

void TestCompileView::positionOfAReportLine() {
    QFETCH(QString, text);
    QFETCH(bool, hasParenthesis);
    QFETCH(int, line);
    QFETCH(int, column);
    const ReportPosition position = reportPositionOf(text);
    QCOMPARE(position.hasParenthesis, hasParenthesis);
    QCOMPARE(position.hasPosition, line != -1);
    if (!position.hasPosition) return;
    QCOMPARE(position.line, line);
    QCOMPARE(position.column, column);
}

void TestCompileView::doubleClickOnAPositionChoosesIt() {
    CCompileView view;
    view.resize(600, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QString error = QStringLiteral("BŁĄD:         (7,3) Oczekiwano znaku (\"=\")");
    QVERIFY(
        view.loadDiagnostics(writeFile("KOLT-32 wersja 1.0\n\nB\xa3\xa5"
                                       "D:         (7,3) Oczekiwano znaku (\"=\")\n")));
    QSignalSpy chosen(&view, &CCompileView::diagnosticChosen);

    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pointOnLine(view, 2));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].toBool(), true);
    QCOMPARE(chosen[0][1].toInt(), 7);
    QCOMPARE(chosen[0][2].toInt(), 3);
    QCOMPARE(view.textCursor().selectedText(), error);  // the whole line, not a word
}

void TestCompileView::doubleClickWithoutParenthesisDoesNothing() {
    CCompileView view;
    view.resize(600, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(view.loadDiagnostics(writeFile("Analizowany plik: /tmp/a.klt\n\n")));
    QSignalSpy chosen(&view, &CCompileView::diagnosticChosen);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pointOnLine(view, 0));
    QCOMPARE(chosen.size(), 0);
    QVERIFY(!view.textCursor().selectedText().contains(QStringLiteral("Analizowany")));
}

void TestCompileView::doubleClickOnParenthesisWithoutPosition() {
    CCompileView view;
    view.resize(600, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(
        view.loadDiagnostics(writeFile("B\xa3\xa5"
                                       "D FATALNY: Blad allokacji pami\xea"
                                       "ci (CAN2)\n(12,x)\n")));
    QSignalSpy chosen(&view, &CCompileView::diagnosticChosen);

    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pointOnLine(view, 0));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].toBool(), false);
    QCOMPARE(view.textCursor().selectedText(), QStringLiteral("BŁĄD FATALNY: Blad allokacji pamięci (CAN2)"));

    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, pointOnLine(view, 1));
    QCOMPARE(chosen.size(), 2);
    QCOMPARE(chosen[1][0].toBool(), false);
}

QTEST_MAIN(TestCompileView)
#include "tst_compile_view.moc"
