// Printing a model: pages, the header with its rule, the "Strona: %d" footer
// with its rule, print preview's first page, and the --print start.
#include <QMap>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextBlock>
#include <QTimer>

#include "tests/workbench/recording_device.h"
#include "tests/workbench/workbench_fixture.h"
#include "workbench/child_frame.h"
#include "workbench/paged_text_printer.h"
#include "workbench/winkolt_app.h"
#include "workbench/winkolt_doc.h"
#include "workbench/winkolt_view.h"

namespace {

QString numberedLines(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i) lines << QStringLiteral("\t/STATION/ NAME=Stanowisko%1").arg(i);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

class TestPrint : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { useTemporarySettings(dir_); }
    void headerFooterAndRulesOnEveryPage();
    void pdfHasTheLaidOutPageCount();
    void previewOpensAtThePageOfTheSelection();
    void printSwitchPrintsWithoutAWindow();
    void modelPrintsAsTheEditorShowsIt();

  private:
    QTemporaryDir dir_;
};

void TestPrint::headerFooterAndRulesOnEveryPage() {
    const QRect area(100, 120, 1900, 2700);
    PagedTextPrinter probe(QString(), QString(), CWinKoltView::editorFont());
    RecordingDevice device;
    probe.layout(&device, area);
    const int perPage = probe.textArea().height() / probe.lineHeight();
    QVERIFY(perPage > 10);

    // Two and a half pages of text.
    PagedTextPrinter pages(numberedLines(perPage * 5 / 2), QStringLiteral("/dom/siec.klt"), CWinKoltView::editorFont());
    pages.layout(&device, area);
    QCOMPARE(pages.pageCount(), 3);
    const int h = pages.lineHeight();
    const int q = h / 4;
    QCOMPARE(pages.headerRuleY(), area.top() + h + q);
    QCOMPARE(pages.footerRuleY(), area.bottom() + 1 - h - q);
    QCOMPARE(pages.textArea().top(), area.top() + h + 2 * q);
    QCOMPARE(pages.textArea().bottom() + 1, area.bottom() + 1 - h - 2 * q);

    QPainter painter(&device);
    for (int page = 1; page <= 3; ++page) {
        device.engine.page = page;
        pages.paintPage(painter, page);
    }
    painter.end();

    for (int page = 1; page <= 3; ++page) {
        QStringList onPage;
        QPointF header, footer;
        for (const auto& t : device.engine.texts) {
            if (t.page != page) continue;
            onPage << t.text;
            if (t.text == QStringLiteral("/dom/siec.klt")) header = t.at;
            if (t.text == QStringLiteral("Strona: %1").arg(page)) footer = t.at;
        }
        QVERIFY2(onPage.contains(QStringLiteral("/dom/siec.klt")), qPrintable(onPage.join('|')));
        QVERIFY2(onPage.contains(QStringLiteral("Strona: %1").arg(page)), qPrintable(onPage.join('|')));
        QCOMPARE(header.x(), qreal(area.left()));
        QVERIFY(header.y() > area.top() && header.y() <= area.top() + h);            // baseline in the first line
        QVERIFY(footer.y() > area.bottom() - h && footer.y() <= area.bottom() + 1);  // baseline in the last line
        // The network text of this page, and none of another page's.
        const int first = (page - 1) * perPage + 1;
        QVERIFY(onPage.join('|').contains(QStringLiteral("Stanowisko%1").arg(first)));
    }
    // Two rules a page, across the page area.
    QCOMPARE(device.engine.lines.size(), 6);
    for (const QLineF& rule : device.engine.lines) {
        QCOMPARE(rule.x1(), qreal(area.left()));
        QCOMPARE(rule.x2(), qreal(area.right()));
        QVERIFY(rule.y1() == pages.headerRuleY() || rule.y1() == pages.footerRuleY());
    }
}

void TestPrint::pdfHasTheLaidOutPageCount() {
    Workbench wb;
    const QString path = writeTestFile(dir_.filePath(QStringLiteral("druk.klt")), numberedLines(150).toLatin1());
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    auto* view = qobject_cast<CWinKoltView*>(wb.frame->activeFrame()->view());

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QString pdf = dir_.filePath(QStringLiteral("druk.pdf"));
    printer.setOutputFileName(pdf);
    QFont printingFont = CWinKoltView::editorFont();  // the view prints its face at ten points
    printingFont.setPointSize(10);
    PagedTextPrinter pages(printableText(doc->plainText()), path, printingFont);
    pages.layout(&printer, QRect(QPoint(0, 0), printer.pageRect(QPrinter::DevicePixel).size().toSize()));
    QVERIFY(pages.pageCount() >= 2);
    QVERIFY(view->printTo(&printer));
    QCOMPARE(pdfPageCount(readTestFile(pdf)), pages.pageCount());

    // A page range prints only those pages.
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 2);
    QVERIFY(view->printTo(&printer));
    QCOMPARE(pdfPageCount(readTestFile(pdf)), 1);
}

void TestPrint::previewOpensAtThePageOfTheSelection() {
    Workbench wb;
    const QString path = writeTestFile(dir_.filePath(QStringLiteral("podglad.klt")), numberedLines(200).toLatin1());
    wb.frame->openDocument(path);
    auto* view = qobject_cast<CWinKoltView*>(wb.frame->activeFrame()->view());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));

    QCOMPARE(view->pageOfSelectionStart(&printer), 1);
    view->setTextCursor(QTextCursor(view->document()->findBlockByNumber(90)));
    const int page = view->pageOfSelectionStart(&printer);
    QVERIFY(page >= 2);
    view->setTextCursor(QTextCursor(view->document()->lastBlock()));
    QVERIFY(view->pageOfSelectionStart(&printer) > page);

    // The preview window itself opens on the selection's page.
    view->setTextCursor(QTextCursor(view->document()->findBlockByNumber(90)));
    int shownPage = 0;
    int shownPages = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        auto* preview = dialog ? dialog->findChild<QPrintPreviewWidget*>() : nullptr;
        if (!preview || preview->pageCount() == 0) return;
        shownPage = preview->currentPage();
        shownPages = preview->pageCount();
        dialog->reject();
    });
    closer.start(50);
    view->printPreview(&printer);
    QVERIFY(shownPages >= 3);
    QCOMPARE(shownPage, page);
}

void TestPrint::printSwitchPrintsWithoutAWindow() {
    // The command line's print path, on a PDF printer.
    const QString path = writeTestFile(dir_.filePath(QStringLiteral("wiersz.klt")), numberedLines(10).toLatin1());
    CMainFrame frame;
    auto scripted = std::make_unique<ScriptedPrompts>();
    ScriptedPrompts* prompts = scripted.get();
    frame.setPrompts(std::move(scripted));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir_.filePath(QStringLiteral("wiersz.pdf"));
    printer.setOutputFileName(pdf);
    QVERIFY(frame.printFile(path, &printer));
    QCOMPARE(pdfPageCount(readTestFile(pdf)), 1);
    QVERIFY(frame.documents().isEmpty());
    QVERIFY(!frame.isVisible());

    QVERIFY(!frame.printFile(dir_.filePath(QStringLiteral("brak.klt")), &printer));
    QCOMPARE(prompts->asked.value(0), QStringLiteral("Failed to open document."));

    // A print switch without its file is refused with a message.
    auto startPrompts = std::make_unique<ScriptedPrompts>();
    ScriptedPrompts* asked = startPrompts.get();
    CWinKoltApp app(std::move(startPrompts));
    QVERIFY(!app.initInstance({QStringLiteral("WinKolt"), QStringLiteral("--print")}));
    QCOMPARE(asked->asked.value(0), QStringLiteral("Użycie: WinKolt --print PLIK"));
}

// A CR LF model with tabs: one printed line per line, indented as in the
// editor, on sensible margins; the 33 lines of the example fit one page.
void TestPrint::modelPrintsAsTheEditorShowsIt() {
    QByteArray bytes = readTestFile(QStringLiteral(KOLT_SOURCE_DIR "/examples/terminale.klt"));
    bytes.replace("\r\n", "\n").replace("\n", "\r\n");
    const QString path = writeTestFile(dir_.filePath(QStringLiteral("terminale.klt")), bytes);
    Workbench wb;
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QVERIFY(doc);
    auto* view = qobject_cast<CWinKoltView*>(wb.frame->activeFrame()->view());

    // The printer of page setup, print and preview: margins of a page.
    const QMarginsF margins = wb.frame->pageSetup()->pageLayout().margins(QPageLayout::Millimeter);
    for (qreal side : {margins.left(), margins.top(), margins.right(), margins.bottom()}) QVERIFY(side >= 10);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageLayout(wb.frame->pageSetup()->pageLayout());
    const QString pdf = dir_.filePath(QStringLiteral("terminale.pdf"));
    printer.setOutputFileName(pdf);
    QVERIFY(view->printTo(&printer));
    QCOMPARE(pdfPageCount(readTestFile(pdf)), 1);

    // What the page says, line by line, on a device of a printer's resolution.
    RecordingDevice device(1200);
    QFont printingFont = CWinKoltView::editorFont();
    printingFont.setPointSize(10);
    PagedTextPrinter pages(printableText(doc->plainText()), path, printingFont);
    pages.layout(&device, QRect(0, 0, device.width() * 4 / 5, device.height() * 4 / 5));
    QPainter painter(&device);
    pages.paintPage(painter, 1);
    painter.end();
    QMap<qreal, QString> printed;  // by baseline, the texts of the text area
    for (const auto& t : device.engine.texts)
        if (t.at.y() > pages.textArea().top() && t.at.y() < pages.textArea().bottom()) printed[t.at.y()] += t.text;
    const QStringList lines = printed.values();
    QCOMPARE(lines.size(), int(bytes.count('\n')));
    QCOMPARE(lines.value(0), QStringLiteral("SOUR System interakcyjny z terminalami"));
    QCOMPARE(lines.value(5), QStringLiteral("        /CLASS/ NAME=Interaktywni[15]"));
    QCOMPARE(lines.value(15), QStringLiteral("                SCHEDULE=IS"));
    const QList<qreal> baselines = printed.keys();
    for (int i = 1; i < baselines.size(); ++i) QVERIFY(qAbs(baselines[i] - baselines[i - 1] - pages.lineHeight()) <= 1);
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
