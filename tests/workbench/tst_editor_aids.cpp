// The model editor's and the report's aids: highlighting of the language,
// the caret's line and column as the solver counts them, F4 / Shift+F4
// through the report's messages with the line marked, the report's colours,
// and fixed-pitch faces on any font set.
#include <QLabel>
#include <QTextBlock>
#include <QTextLayout>

#include "tests/workbench/workbench_fixture.h"
#include "workbench/child_frame.h"
#include "workbench/command_ids.h"
#include "workbench/compile_view.h"
#include "workbench/fixed_font.h"
#include "workbench/network_highlighter.h"
#include "workbench/report_highlighter.h"
#include "workbench/report_position.h"
#include "workbench/winkolt_doc.h"
#include "workbench/winkolt_view.h"

using namespace Command;
using Kind = NetworkToken;

namespace {

// The spans of each line of text, a comment carried from line to line.
QList<QList<HighlightSpan>> classify(const QStringList& lines) {
    QList<QList<HighlightSpan>> result;
    bool inComment = false;
    for (int i = 0; i < lines.size(); ++i) result << classifyNetworkLine(lines[i], i == 0, inComment);
    return result;
}

// A span by the text it covers, which reads better than offsets.
HighlightSpan span(const QString& line, const QString& text, Kind kind, int from = 0) {
    return {int(line.indexOf(text, from)), int(text.size()), kind};
}

}  // namespace

class TestEditorAids : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void highlightingFollowsTheLanguage();
    void commentRuleOfTheScanner();
    void positionsAgreeWithTheSolver_data();
    void positionsAgreeWithTheSolver();
    void reportLinesAreColouredByLevel();
    void facesAreFixedPitchOnAnyFontSet();

  private:
    QTemporaryDir dir_;
};

void TestEditorAids::initTestCase() { useTemporarySettings(dir_); }

void TestEditorAids::highlightingFollowsTheLanguage() {
    const QStringList lines = {
        QStringLiteral("SOUR Sieć 2 klas"),
        QStringLiteral("! komentarz na"),
        QStringLiteral("  dwa wiersze ! *DECLARATION*"),
        QStringLiteral("\t/CLASS/ NAME=A[10]"),
        QStringLiteral("\t/OUT/ NAME=OUT"),
        QStringLiteral("*END*"),
        QStringLiteral("\t\tSCHEDULE=LIFO-PR"),
        QStringLiteral("\t\tSERVICE(A)=ERL[2,1.5e-3]"),
        QStringLiteral("\t\tTRANSIT=[0.3]Dysk1,[0.7]OUT;  ! koniec"),
    };
    const auto spans = classify(lines);
    // The network name is text, whatever it holds.
    QCOMPARE(spans[0], (QList<HighlightSpan>{{0, 4, Kind::FileIdentifier}}));
    QCOMPARE(spans[1], (QList<HighlightSpan>{{0, int(lines[1].size()), Kind::Comment}}));
    QCOMPARE(spans[2], (QList<HighlightSpan>{span(lines[2], QStringLiteral("  dwa wiersze !"), Kind::Comment),
                                             span(lines[2], QStringLiteral("*DECLARATION*"), Kind::BlockMarker)}));
    QCOMPARE(spans[3], (QList<HighlightSpan>{span(lines[3], QStringLiteral("/CLASS/"), Kind::ObjectKeyword),
                                             span(lines[3], QStringLiteral("NAME"), Kind::ParameterKeyword),
                                             span(lines[3], QStringLiteral("10"), Kind::Number)}));
    // OUT as an object keyword, and as a name: plain.
    QCOMPARE(spans[4], (QList<HighlightSpan>{span(lines[4], QStringLiteral("/OUT/"), Kind::ObjectKeyword),
                                             span(lines[4], QStringLiteral("NAME"), Kind::ParameterKeyword)}));
    QCOMPARE(spans[5], (QList<HighlightSpan>{{0, 5, Kind::BlockMarker}}));
    QCOMPARE(spans[6], (QList<HighlightSpan>{span(lines[6], QStringLiteral("SCHEDULE"), Kind::ParameterKeyword),
                                             span(lines[6], QStringLiteral("LIFO-PR"), Kind::Discipline)}));
    QCOMPARE(spans[7], (QList<HighlightSpan>{span(lines[7], QStringLiteral("SERVICE"), Kind::ParameterKeyword),
                                             span(lines[7], QStringLiteral("ERL"), Kind::Distribution),
                                             span(lines[7], QStringLiteral("2"), Kind::Number),
                                             span(lines[7], QStringLiteral("1.5e-3"), Kind::Number)}));
    // Digits inside a name are not a number.
    QCOMPARE(spans[8], (QList<HighlightSpan>{span(lines[8], QStringLiteral("TRANSIT"), Kind::ParameterKeyword),
                                             span(lines[8], QStringLiteral("0.3"), Kind::Number),
                                             span(lines[8], QStringLiteral("0.7"), Kind::Number),
                                             span(lines[8], QStringLiteral("! koniec"), Kind::Comment)}));

    // The editor carries the comment's state from block to block.
    NetworkHighlighter highlighter(nullptr);
    QTextDocument text;
    text.setPlainText(lines.join(QLatin1Char('\n')));
    highlighter.setDocument(&text);
    highlighter.rehighlight();
    const QList<QTextLayout::FormatRange> formats = text.findBlockByNumber(2).layout()->formats();
    QVERIFY(!formats.isEmpty());
    QCOMPARE(formats.first().start, 0);
    QCOMPARE(formats.first().format.foreground(), NetworkHighlighter::formatOf(Kind::Comment).foreground());
}

void TestEditorAids::commentRuleOfTheScanner() {
    // X !a!!b! Y: the '!' right after a closing '!' is an ordinary
    // character, and the one after b opens a comment that runs on.
    bool inComment = false;
    const QString line = QStringLiteral("X !a!!b! Y");
    QCOMPARE(classifyNetworkLine(line, false, inComment),
             (QList<HighlightSpan>{{2, 3, Kind::Comment}, {7, 3, Kind::Comment}}));
    QVERIFY(inComment);
    // A comment never closed runs to the end of the text.
    QCOMPARE(classifyNetworkLine(QStringLiteral("*END*"), false, inComment),
             (QList<HighlightSpan>{{0, 5, Kind::Comment}}));
    QVERIFY(inComment);
}

// The solver's positions, the caret readout, F4 / Shift+F4 and the marked
// line agree, in a tabbed text with LF and with CR LF line ends.
void TestEditorAids::positionsAgreeWithTheSolver_data() {
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR LF") << QByteArray("\r\n");
}

void TestEditorAids::positionsAgreeWithTheSolver() {
    QFETCH(QByteArray, lineEnd);
    // Three warnings: the number 0.5kg at its ']' (line 8), 1.0x at its ']'
    // (line 9), the return to S1 at the ';' (line 9).
    const QList<QByteArray> lines = {
        "SOUR Test",     "*DECLARATION*",       "\t/CLASS/ NAME=A[2]",    "\t/STATION/ NAME=S1",   "*END*",
        "*DESCRIPTION*", "\t/STATION/ NAME=S1", "\t\tSERVICE=EXP[0.5kg]", "\t\tTRANSIT=[1.0x]S1;", "*END*"};
    QByteArray bytes;
    for (const QByteArray& line : lines) bytes += line + lineEnd;
    const QString path = writeTestFile(dir_.filePath(QStringLiteral("pozycje%1.klt").arg(lineEnd.size())), bytes);

    Workbench wb;
    wb.frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(wb.frame.get()));
    wb.frame->setSolverPath(QStringLiteral(KOLT_SOLVER_PATH));
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QVERIFY(doc);
    auto* editor = qobject_cast<CWinKoltView*>(wb.frame->frameOf(doc, ViewKind::Model)->view());
    wb.frame->action(SyntaxAnalysis)->trigger();
    QTRY_COMPARE(doc->runState(), 1);
    auto* report = qobject_cast<CCompileView*>(wb.frame->frameOf(doc, ViewKind::Report)->view());
    QStringList positioned;
    for (const QString& line : report->toPlainText().split(QLatin1Char('\n')))
        if (reportPositionOf(line).hasPosition) positioned << line;
    QCOMPARE(positioned.size(), 3);

    auto* readout = wb.frame->findChild<QLabel*>(QStringLiteral("caretPosition"));
    QVERIFY(readout);
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int message;    // index in positioned
        QChar atCaret;  // the character the message names
    } steps[] = {{Qt::Key_F4, Qt::NoModifier, 0, QLatin1Char(']')},
                 {Qt::Key_F4, Qt::NoModifier, 1, QLatin1Char(']')},
                 {Qt::Key_F4, Qt::NoModifier, 2, QLatin1Char(';')},
                 {Qt::Key_F4, Qt::ShiftModifier, 1, QLatin1Char(']')}};
    for (const auto& step : steps) {
        QTest::keyClick(wb.frame->activeFrame()->view(), Qt::Key(step.key), step.modifiers);
        const ReportPosition said = reportPositionOf(positioned[step.message]);
        QCOMPARE(wb.frame->activeFrame()->viewKind(), ViewKind::Model);
        QCOMPARE(textPositionOf(editor->textCursor()), (TextPosition{said.line, said.column}));
        QCOMPARE(readout->text(), QStringLiteral("Wiersz %1, kolumna %2").arg(said.line).arg(said.column));
        const QTextCursor caret = editor->textCursor();
        QCOMPARE(caret.block().text().at(caret.positionInBlock()), step.atCaret);
        QCOMPARE(editor->markedLine(), said.line - 1);
    }
    // The mark stays on its line when a line is put in above it.
    QTextCursor(editor->document()).insertText(QStringLiteral("! nowy wiersz !\n"));
    QCOMPARE(editor->markedLine(), 9);
}

void TestEditorAids::reportLinesAreColouredByLevel() {
    const QString errPath = writeTestFile(dir_.filePath(QStringLiteral("kolory.err")),
                                          "KOLT-32 wersja 1.0\r\n"
                                          "OSTRZE\xaf"
                                          "ENIE:  (3,1) uwaga\r\n"
                                          "B\xa3\xa5"
                                          "D:         (4,2) blad\r\n"
                                          "B\xa3\xa5"
                                          "D FATALNY: Blad allokacji pami\xea"
                                          "ci (CAN2)\r\n");
    CCompileView view;
    QVERIFY(view.loadDiagnostics(errPath));
    auto colourOf = [&](int block) {
        const QList<QTextLayout::FormatRange> formats = view.document()->findBlockByNumber(block).layout()->formats();
        return formats.isEmpty() ? QColor(Qt::black) : formats.first().format.foreground().color();
    };
    QCOMPARE(colourOf(0), QColor(Qt::black));
    QCOMPARE(colourOf(1), reportLineColour(ReportLineKind::Warning));
    QCOMPARE(colourOf(2), reportLineColour(ReportLineKind::Error));
    QCOMPARE(colourOf(3), reportLineColour(ReportLineKind::Error));
    QVERIFY(reportLineColour(ReportLineKind::Error).red() > 150);
    QCOMPARE(view.palette().color(QPalette::Base), QColor(Qt::white));
}

void TestEditorAids::facesAreFixedPitchOnAnyFontSet() {
    // A proportional face asked for, as a font set may answer for
    // "Courier New", gives way to a fixed-pitch one.
    QFont proportional(QStringLiteral("Sans Serif"));
    proportional.setStyleHint(QFont::SansSerif);
    proportional.setPixelSize(11);
    if (QFontInfo(proportional).fixedPitch()) QSKIP("this machine has no proportional face");
    const QFont chosen = fixedPitchFont(proportional);
    QVERIFY(QFontInfo(chosen).fixedPitch());
    QCOMPARE(chosen.pixelSize(), 11);

    QVERIFY(QFontInfo(editorFont()).fixedPitch());
    CCompileView report;
    QVERIFY(QFontInfo(report.font()).fixedPitch());
}

QTEST_MAIN(TestEditorAids)
#include "tst_editor_aids.moc"
