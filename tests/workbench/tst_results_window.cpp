// The results window in the workbench: after real solver runs, under the
// mouse and the keyboard, with the table's commands, printing and exports,
// and on results files that are not what the solver writes.
#include <QBarSeries>
#include <QChart>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QPrinter>
#include <QSplitter>
#include <QStatusBar>

#include "tests/workbench/recording_device.h"
#include "tests/workbench/results_fixture.h"
#include "tests/workbench/workbench_fixture.h"
#include "workbench/command_ids.h"
#include "workbench/compile_view.h"
#include "workbench/results_chart.h"
#include "workbench/results_printer.h"
#include "workbench/results_table.h"
#include "workbench/results_view.h"
#include "workbench/splitter_frame.h"
#include "workbench/structure_view.h"
#include "workbench/text_order.h"
#include "workbench/winkolt_doc.h"

using namespace Command;
using Tree = StructureTree;

namespace {

CSplitterFrame* resultsFrame(Workbench& wb, CWinKoltDoc* doc) {
    return qobject_cast<CSplitterFrame*>(wb.frame->frameOf(doc, ViewKind::Results));
}

// The cells of every record line of a results file, read here without the
// workbench's reader: the text after each tag's ">", the type, the values.
QList<QStringList> fileRows(const QByteArray& bytes) {
    QList<QStringList> rows;
    for (const QByteArray& line : bytes.split('\n')) {
        const QStringList fields = decodeCp1250(line).split('\t');
        if (fields.size() < 8) continue;
        rows << QStringList{fields[0].section('>', 1),
                            fields[1].section('>', 1),
                            fields[2],
                            fields[3],
                            fields[4],
                            fields[5],
                            fields[6]};
    }
    return rows;
}

QList<QStringList> tableRows(const CResultsView* table) {
    QList<QStringList> rows;
    for (const ResultRecord& r : table->shownRecords()) {
        QStringList cells;
        for (int column = 1; column <= 7; ++column) cells << ResultsTable::cellText(r, column);
        rows << cells;
    }
    return rows;
}

// Labels of the data items under a group item, and the names of that group
// in the file, each sorted.
QStringList treeLabels(const CStructureView* view, int group) {
    QStringList labels;
    for (int id : view->structureTree().item(group).children) labels << view->structureTree().item(id).label;
    labels.sort();
    return labels;
}

QStringList fileNames(const QByteArray& bytes, int group) {
    QSet<QString> names;
    for (const QByteArray& line : bytes.split('\n')) {
        const QStringList fields = decodeCp1250(line).split('\t');
        for (int i = 0; i < 2 && fields.size() >= 8; ++i)
            if (fields[i].section('#', 0, 0).toInt() == group) names.insert(fields[i].section('>', 1));
    }
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted;
}

void pressOn(CStructureView* view, int id, CStructureView::Part part) {
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, view->partRect(id, part).center());
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, view->partRect(id, part).center());
}

}  // namespace

class TestResultsWindow : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void realRunShowsItsResults_data();
    void realRunShowsItsResults();
    void mouseFiltersKeyboardDoesNot();
    void headingClicksSort();
    void copyAndSelectAllFollowTheTable();
    void printsPagesOf40Rows();
    void exportsWriteTheirFiles();
    void strangeResultsFilesOpenQuietly();

  private:
    // A saved model analysed before: stan=2 and the results file given.
    CSplitterFrame* openAnalysed(Workbench& wb, const QString& name, const QByteArray& results);
    QTemporaryDir dir_;
};

void TestResultsWindow::initTestCase() {
    useTemporarySettings(dir_);
    QVERIFY(QFileInfo(QStringLiteral(KOLT_SOLVER_PATH)).isExecutable());
}

CSplitterFrame* TestResultsWindow::openAnalysed(Workbench& wb, const QString& name, const QByteArray& results) {
    const QString path = writeTestFile(dir_.filePath(name + QStringLiteral(".klt")), "SOUR a\r\n*END*");
    writeTestFile(dir_.filePath(name + QStringLiteral(".cfg")), "[Kompilacja]\r\nstan=2\r\n");
    if (!results.isNull()) writeTestFile(dir_.filePath(name + QStringLiteral(".wnk")), results);
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    if (!doc || !wb.enabled(WindowResults)) return nullptr;  // available at once after opening
    wb.frame->action(WindowResults)->trigger();
    return resultsFrame(wb, doc);
}

void TestResultsWindow::realRunShowsItsResults_data() {
    QTest::addColumn<QString>("example");
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("nextMethod");
    QTest::newRow("closed, MVA") << "terminale" << 0 << 2;
    QTest::newRow("open, Jackson") << "otwarta" << 3 << 4;
}

void TestResultsWindow::realRunShowsItsResults() {
    QFETCH(QString, example);
    QFETCH(int, method);
    QFETCH(int, nextMethod);
    const QString path = dir_.filePath(example + QStringLiteral(".klt"));
    QFile::remove(path);
    QVERIFY(QFile::copy(QStringLiteral(KOLT_SOURCE_DIR "/examples/") + example + QStringLiteral(".klt"), path));
    Workbench wb;
    wb.frame->setSolverPath(QStringLiteral(KOLT_SOLVER_PATH));
    CWinKoltDoc* doc = wb.frame->openDocument(path);
    QVERIFY(doc);
    wb.frame->methodCombo()->setCurrentIndex(method);
    wb.frame->action(NetworkAnalysis)->trigger();
    QCOMPARE(doc->runState(), 2);
    wb.frame->action(WindowResults)->trigger();

    CSplitterFrame* results = resultsFrame(wb, doc);
    QVERIFY(results);
    QCOMPARE(wb.frame->activeFrame(), results);
    QCOMPARE(results->windowTitle(), example + QStringLiteral(".klt — Wyniki"));
    QVERIFY(wb.checked(WindowResults));
    QCOMPARE(wb.frame->currentMenu(), MenuId::Results);
    QCOMPARE(wb.frame->action(EditCopy)->text(), QStringLiteral("&Kopiuj tabelę\tCtrl+C"));
    QCOMPARE(results->splitter()->widget(0), results->structureView());
    QVERIFY(results->splitter()->sizes().value(0) >= 200);

    // The table holds every record of the file, sorted by class.
    const QByteArray file = readTestFile(dir_.filePath(example + QStringLiteral(".wnk")));
    CResultsView* table = results->resultsView();
    QList<QStringList> expected = fileRows(file);
    QVERIFY(expected.size() >= 6);
    QList<QStringList> shown = tableRows(table);
    QCOMPARE(table->headingTexts().value(0), QStringLiteral("Klasa »"));
    for (qsizetype i = 1; i < shown.size(); ++i) QVERIFY(textOrder(shown[i - 1][0], shown[i][0]) <= 0);
    std::sort(expected.begin(), expected.end());
    std::sort(shown.begin(), shown.end());
    QCOMPARE(shown, expected);

    // The tree holds each class and station of the file once, in its group.
    CStructureView* tree = results->structureView();
    for (int group : {Tree::WithQueue, Tree::WithoutQueue, Tree::NoClassSplit, Tree::OpenClasses, Tree::ClosedClasses})
        QCOMPARE(treeLabels(tree, group), fileNames(file, group));
    QCOMPARE(tree->structureTree().item(example == "otwarta" ? Tree::ClosedClasses : Tree::OpenClasses).check,
             int(Tree::NoBox));

    // A new run closes the window; its results are offered again.
    wb.frame->methodCombo()->setCurrentIndex(nextMethod);
    wb.frame->action(NetworkAnalysis)->trigger();
    QCOMPARE(doc->runState(), 2);
    QVERIFY(!resultsFrame(wb, doc));
    QVERIFY(wb.enabled(WindowResults));
}

void TestResultsWindow::mouseFiltersKeyboardDoesNot() {
    Workbench wb;
    CSplitterFrame* results = openAnalysed(wb, QStringLiteral("mysz"), mixedResults());
    QVERIFY(results);
    CWinKoltDoc* doc = results->document();
    CStructureView* tree = results->structureView();
    CResultsView* table = results->resultsView();
    auto check = [tree](int id) { return tree->structureTree().item(id).check; };
    QCOMPARE(table->rowCount(), 21);

    // A press on the label of "STATION": its rows go from the table and the
    // chart, which keeps only the IS station.
    pressOn(tree, Tree::StationKind, CStructureView::Part::Label);
    QCOMPARE(check(Tree::StationKind), int(Tree::Unchecked));
    QCOMPARE(check(Tree::AllModules), int(Tree::Partly));
    QCOMPARE(table->rowCount(), 15);
    QCOMPARE(results->chartView()->series(ChartMeasure::Utilisation).stations, QStringList{"Opoznienie"});
    QCOMPARE(results->chartView()->series(ChartMeasure::Number).sets.size(), 3);

    // On the image nothing happens, not even a selection; on the box the
    // item toggles.
    QCOMPARE(tree->currentItem(), tree->rowOf(Tree::StationKind));
    pressOn(tree, Tree::QueueKind, CStructureView::Part::Image);
    QCOMPARE(check(Tree::QueueKind), int(Tree::Checked));
    QCOMPARE(tree->currentItem(), tree->rowOf(Tree::StationKind));
    pressOn(tree, Tree::QueueKind, CStructureView::Part::Box);
    QCOMPARE(check(Tree::QueueKind), int(Tree::Unchecked));
    QCOMPARE(table->rowCount(), 9);

    // The keyboard moves and expands, it never changes a box.
    tree->setFocus();
    tree->setCurrentItem(tree->rowOf(Tree::StationKind));
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Up, Qt::Key_Space, Qt::Key_Left, Qt::Key_Right})
        QTest::keyClick(tree, key);
    QCOMPARE(check(Tree::StationKind), int(Tree::Unchecked));
    QCOMPARE(check(Tree::AllModules), int(Tree::Partly));
    QCOMPARE(table->rowCount(), 9);

    // A double click on a label neither collapses nor expands the item.
    QTreeWidgetItem* classes = tree->rowOf(Tree::AllClasses);
    QVERIFY(classes->isExpanded());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {},
                       tree->partRect(Tree::AllClasses, CStructureView::Part::Label).center());
    QVERIFY(classes->isExpanded());

    // A double click in the report: the table shows every record again and
    // the tree is refilled with everything checked, each object once. (After
    // an edit of the model the tree is left as it is.)
    wb.frame->action(WindowReport)->trigger();
    auto* report = qobject_cast<CCompileView*>(wb.frame->frameOf(doc, ViewKind::Report)->view());
    doc->setRunOutcome(0, doc->lastMethodIndex());
    emit report->diagnosticChosen(false, -1, -1);
    QCOMPARE(table->rowCount(), 21);
    QCOMPARE(check(Tree::StationKind), int(Tree::Unchecked));
    doc->setRunOutcome(2, doc->lastMethodIndex());
    emit report->diagnosticChosen(false, -1, -1);
    QCOMPARE(table->rowCount(), 21);
    QCOMPARE(check(Tree::StationKind), int(Tree::Checked));
    QCOMPARE(tree->structureTree().item(Tree::WithQueue).children.size(), 2);
    QCOMPARE(results->chartView()->series(ChartMeasure::Utilisation).stations.size(), 3);
}

void TestResultsWindow::headingClicksSort() {
    Workbench wb;
    CSplitterFrame* results = openAnalysed(wb, QStringLiteral("sort"), mixedResults());
    QVERIFY(results);
    CResultsView* table = results->resultsView();
    pressOn(results->structureView(), Tree::OpenClasses, CStructureView::Part::Label);  // a filter that sorting keeps
    QHeaderView* header = table->horizontalHeader();
    auto clickHeading = [&](int displayed) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(displayed) + 10, header->height() / 2));
    };
    auto column = [&](int displayed) {
        QStringList cells;
        for (int row = 0; row < table->rowCount(); ++row) cells << table->rowTexts(row).value(displayed);
        return cells;
    };

    clickHeading(2);  // the type column moves to the front
    QCOMPARE(table->sortColumn(), 3);
    QCOMPARE(table->headingTexts().mid(0, 3), (QStringList{"Typ »", "Klasa  ", "Stanowisko  "}));
    QCOMPARE(column(0).first(), QStringLiteral("IS"));
    QCOMPARE(column(0).last(), QStringLiteral("STATION"));
    QCOMPARE(table->rowCount(), 14);

    clickHeading(0);  // reversed
    QCOMPARE(table->headingTexts().value(0), QStringLiteral("Typ «"));
    QCOMPARE(column(0).first(), QStringLiteral("STATION"));
    QCOMPARE(column(0).last(), QStringLiteral("IS"));
    QCOMPARE(table->rowCount(), 14);
}

void TestResultsWindow::copyAndSelectAllFollowTheTable() {
    Workbench wb;
    CSplitterFrame* results = openAnalysed(wb, QStringLiteral("kopia"), mixedResults());
    QVERIFY(results);
    CResultsView* table = results->resultsView();
    QVERIFY(!wb.enabled(EditCopy));
    QVERIFY(wb.enabled(EditSelectAll));
    QVERIFY(wb.enabled(FilePrint) && wb.enabled(FilePrintPreview));

    table->selectRow(0);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      table->visualRect(table->model()->index(1, 3)).center());
    QVERIFY(wb.enabled(EditCopy));
    wb.frame->action(EditCopy)->trigger();
    const QStringList lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[1],
             table->rowTexts(0)
                     .replaceInStrings(QRegularExpression(QStringLiteral("\\.(?=\\d+$)")), QStringLiteral(","))
                     .join('\t') +
                 '\t');

    wb.frame->action(EditSelectAll)->trigger();
    QCOMPARE(table->selectedRecords().size(), 21);
}

void TestResultsWindow::printsPagesOf40Rows() {
    QByteArray bytes;
    for (int i = 1; i <= 100; ++i)
        bytes += resultsLine(
            QStringLiteral("5#1"), QStringLiteral("Bez podziału"), QStringLiteral("3#%1").arg(i),
            QStringLiteral("S%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("PS"),
            {QStringLiteral("0.5000"), QStringLiteral("1.0000"), QStringLiteral("0.5000"), QStringLiteral("2.0000")});
    Workbench wb;
    CSplitterFrame* results = openAnalysed(wb, QStringLiteral("druk"), bytes + '\n');
    QVERIFY(results);
    QCOMPARE(results->resultsView()->rowCount(), 100);

    // A page on which 40 rows fit: its height in the middle of the heights that hold 40.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setFullPage(true);
    ResultsTablePrinter probe(QStringList(), {}, QString(), CResultsView::printingFont());
    probe.layout(&printer, QRect(0, 0, 1000, 1000));
    const int h = probe.lineHeight();
    int low = h, high;
    while (rowsPerResultsPage(h, QRect(0, 0, 1000, low)) < 40) ++low;
    for (high = low; rowsPerResultsPage(h, QRect(0, 0, 1000, high + 1)) == 40; ++high) {
    }
    const qreal pointsPerPixel = 72.0 / printer.resolution();
    const int middle = (low + high) / 2;
    printer.setPageSize(QPageSize(QSizeF(210 / 25.4 * 72, middle * pointsPerPixel), QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    const QString pdf = dir_.filePath(QStringLiteral("druk.pdf"));
    printer.setOutputFileName(pdf);
    QCOMPARE(rowsPerResultsPage(h, QRect(QPoint(0, 0), printer.pageRect(QPrinter::DevicePixel).size().toSize())), 40);

    QVERIFY(results->printTo(&printer));
    QCOMPARE(pdfPageCount(readTestFile(pdf)), 3);

    // The chart prints on one page.
    results->showChart(true);
    QVERIFY(results->printTo(&printer));
    QCOMPARE(pdfPageCount(readTestFile(pdf)), 1);
}

void TestResultsWindow::exportsWriteTheirFiles() {
    Workbench wb;
    CSplitterFrame* results = openAnalysed(wb, QStringLiteral("eksport"), mixedResults());
    QVERIFY(results);
    pressOn(results->structureView(), Tree::ClosedClasses, CStructureView::Part::Label);
    QString error;

    const QString csv = dir_.filePath(QStringLiteral("eksport.csv"));
    QVERIFY(results->saveCsv(csv, &error));
    const QStringList lines = QString::fromUtf8(readTestFile(csv)).split('\n');
    QCOMPARE(lines.size(), 1 + 14 + 1);
    QCOMPARE(lines[1], QStringLiteral("Bez podziału,Kolejka,STATION,0.5000,1.2500,0.4000,2.5000"));

    const QString png = dir_.filePath(QStringLiteral("eksport.png"));
    QVERIFY(results->chartView()->savePng(png, &error));
    QCOMPARE(QImage(png).size(), ResultsChartView::imageSize());
    const QString svg = dir_.filePath(QStringLiteral("eksport.svg"));
    QVERIFY(results->chartView()->saveSvg(svg, QStringLiteral("Wyniki"), &error));
    const QByteArray drawing = readTestFile(svg);
    QVERIFY(drawing.contains("<svg") && drawing.contains("</svg>"));

    QVERIFY(!results->saveCsv(dir_.filePath(QStringLiteral("brak/eksport.csv")), &error));
    QVERIFY(!error.isEmpty());
}

void TestResultsWindow::strangeResultsFilesOpenQuietly() {
    QByteArray noise;
    for (int i = 0; i < 5000; ++i) noise += char((i * 7919) % 256);
    const QByteArray good = mixedResults();
    const QList<QPair<QString, QByteArray>> files = {
        {QStringLiteral("brak"), QByteArray()},  // no file at all
        {QStringLiteral("pusty"), QByteArray("")},
        {QStringLiteral("szum"), noise + '\n' + QByteArray(200000, '#') + '\n'},
        {QStringLiteral("uciety"), good.left(good.size() / 2)},
    };
    for (const auto& [name, bytes] : files) {
        Workbench wb;
        CSplitterFrame* results = openAnalysed(wb, name, bytes);
        QVERIFY2(results, qPrintable(name));
        // Only whole lines of the cut file are shown.
        const int rows = results->resultsView()->rowCount();
        QCOMPARE(rows, name == QStringLiteral("uciety") ? int(bytes.count('\n')) : 0);
        QCOMPARE(wb.enabled(EditSelectAll), rows > 0);
        QCOMPARE(results->structureView()->structureTree().count() > Tree::FixedItemCount, rows > 0);
        QVERIFY2(wb.prompts->asked.isEmpty(), qPrintable(wb.prompts->asked.join('|')));
        // What was left out is said once, in the status bar.
        const bool damaged = name == QStringLiteral("szum") || name == QStringLiteral("uciety");
        QCOMPARE(wb.frame->statusBar()->currentMessage().contains(QStringLiteral("pominięto")), damaged);
    }
}

QTEST_MAIN(TestResultsWindow)
#include "tst_results_window.moc"
