// The results window's logic without widgets: reading the results file, the
// structure tree's check rules, the table's sort columns and row order, the
// clipboard and CSV texts, the pages of the printout, the chart's series.
#include <QtTest>

#include "tests/workbench/recording_device.h"
#include "tests/workbench/results_fixture.h"
#include "workbench/results_chart_data.h"
#include "workbench/results_printer.h"
#include "workbench/results_table.h"
#include "workbench/structure_tree.h"

using Tree = StructureTree;

namespace {

QStringList labels(const Tree& tree, int parent) {
    QStringList result;
    for (int child : tree.item(parent).children) result << tree.item(child).label;
    return result;
}

int dataItem(const Tree& tree, const QString& label) {
    for (int id = Tree::FixedItemCount; id < tree.count(); ++id)
        if (tree.item(id).label == label) return id;
    return -1;
}

QList<int> checks(const Tree& tree, const QList<int>& ids) {
    QList<int> values;
    for (int id : ids) values << tree.item(id).check;
    return values;
}

ResultRecord record(const QString& className, const QString& time, int classNumber = 2) {
    ResultRecord r;
    r.classGroup = 7;
    r.classNumber = classNumber;
    r.className = className;
    r.stationGroup = 2;
    r.stationNumber = 1;
    r.stationName = QStringLiteral("\"CPU\"");
    r.type = QStringLiteral("STATION");
    r.values = {time, QStringLiteral("    2.0000"), QString(12, QLatin1Char(' ')), QStringLiteral("    4.5000")};
    return r;
}

}  // namespace

class TestResultsLogic : public QObject {
    Q_OBJECT
  private slots:
    void readerTakesWholeRecordsOnly();
    void treeHasOneItemPerObject();
    void toggleRules();
    void sortColumnsAndHeadings();
    void rowsOrderedByKeyText();
    void clipboardAndCsvTexts();
    void printoutOf100RowsAt40APage();
    void chartFollowsTheFilter();
};

void TestResultsLogic::readerTakesWholeRecordsOnly() {
    const QByteArray good =
        resultsLine(QStringLiteral("5#1"), QStringLiteral("Bez podziału"), QStringLiteral("2#1"), QStringLiteral("CPU"),
                    QStringLiteral("STATION"),
                    {QStringLiteral("0.5000"), QStringLiteral("1.2500"), QString(), QStringLiteral("123456.500")});
    QByteArray bytes = good;
    bytes += good.left(good.size() - 1) + "\r\n";                       // CR LF
    bytes += good.left(good.indexOf("    0.5000")) + "    0.5000\t\n";  // cut after the first value
    bytes += "x#1>\"A\"\t2#1>\"B\"\tSTATION\t\t\t\t\t\n";               // tag without numbers
    bytes += "4#1>\"A\"\t2#1>\"B\"\tSTATION\t\t\t\t\t\n";               // no such class group
    bytes += "5#1>\"A\"\t7#2>\"B\"\tSTATION\t\t\t\t\t\n";               // a class group as station
    bytes += "5#1>\"A\"\t2#1>\"B\"\tSTATION\tabc\t\t\t\t\n";            // not a number
    bytes += "5#1>\"A\"\t2#99999999999>\"B\"\tSTATION\t\t\t\t\t\n";     // number out of range
    bytes +=
        "5#1>\"A\xB3\x81\x01\"\t2#1>\"B\"\tFOO\t\t\t\t\t" + QByteArray(100000, 'x') + "\n";  // odd bytes, long rest
    bytes += "5#1>\"" + QByteArray(300, 'N') + "\"\t3#2>\"IS\"\tIS\t\t\t\t\t\n";             // over-long name
    bytes += "\n";
    bytes += good.left(good.size() - 2);  // cut before the last tab, at the end

    const ResultsFile file = readResultsBytes(bytes);
    QVERIFY(file.opened);
    QCOMPARE(file.records.size(), 4);
    QCOMPARE(file.rejectedLines, 7);
    const ResultRecord& first = file.records[0];
    QCOMPARE(first.className, QStringLiteral("\"Bez podziału\""));
    QCOMPARE(first.classKey(), 5 + 8);
    QCOMPARE(first.stationName, QStringLiteral("\"CPU\""));
    QCOMPARE(first.stationKey(), 2 + 8);
    QCOMPARE(first.kind(), StationRecord);
    QCOMPARE(first.values[0], QStringLiteral("    0.5000"));
    QCOMPARE(first.values[2], QString(12, QLatin1Char(' ')));
    QCOMPARE(first.values[3], QStringLiteral("123456.500"));
    QCOMPARE(file.records[1].values, first.values);  // CR LF read as a line end

    // Bytes the code page leaves undefined and control bytes show as a
    // replacement character; the long rest of a line is dropped.
    QCOMPARE(file.records[2].className, QStringLiteral("\"Ał\uFFFD\uFFFD\""));
    QCOMPARE(file.records[2].kind(), OtherRecord);
    QCOMPARE(file.records[3].className.size(), kResultsFieldLimit);

    QVERIFY(readResultsBytes(QByteArray()).records.isEmpty());
    QVERIFY(!readResultsFile(QStringLiteral("/nonexistent/siec.wnk")).opened);
}

void TestResultsLogic::treeHasOneItemPerObject() {
    Tree tree;
    QCOMPARE(labels(tree, Tree::Network), (QStringList{"Wszystkie klasy", "Wszystkie stanowiska", "Wszystkie moduły"}));
    QCOMPARE(labels(tree, Tree::AllClasses), (QStringList{"bez podziału", "otwarte", "zamknięte"}));
    QCOMPARE(labels(tree, Tree::AllModules), (QStringList{"STATION", "QUEUE", "SERVER"}));

    const QList<ResultRecord> records = readResultsBytes(mixedResults()).records;
    tree.fill(records);
    tree.fill(records);  // a refill does not add the objects twice
    QCOMPARE(labels(tree, Tree::NoClassSplit), QStringList{"\"Bez podziału\""});
    QCOMPARE(labels(tree, Tree::OpenClasses), QStringList{"\"Otwarta\""});
    QCOMPARE(labels(tree, Tree::ClosedClasses), QStringList{"\"Zamknieta\""});
    QCOMPARE(labels(tree, Tree::WithQueue), (QStringList{"\"Dysk\"", "\"Kolejka\""}));  // alphabetical
    QCOMPARE(labels(tree, Tree::WithoutQueue), QStringList{"\"Opoznienie\""});
    QCOMPARE(tree.item(dataItem(tree, "\"Dysk\"")).key, 2 + 8 * 3);
    QCOMPARE(tree.item(Tree::Network).check, int(Tree::NoBox));

    // Without open classes and stations without a queue, those groups lose
    // their box, and a click on them does nothing.
    QList<ResultRecord> closedOnly;
    for (const ResultRecord& r : records)
        if (r.classGroup != 6 && r.stationGroup != 3) closedOnly << r;
    Tree closed;
    closed.fill(closedOnly);
    QCOMPARE(checks(closed, {Tree::OpenClasses, Tree::WithoutQueue, Tree::ClosedClasses}),
             (QList<int>{Tree::NoBox, Tree::NoBox, Tree::Checked}));
    closed.toggle(Tree::OpenClasses);
    QCOMPARE(closed.item(Tree::OpenClasses).check, int(Tree::NoBox));
    QCOMPARE(closed.item(Tree::AllClasses).check, int(Tree::Checked));
    QVERIFY(!closed.isObjectChecked(0, Tree::AllClasses));
}

void TestResultsLogic::toggleRules() {
    const QList<ResultRecord> records = readResultsBytes(mixedResults()).records;
    Tree tree;
    tree.fill(records);
    auto shown = [&] {
        int count = 0;
        for (const ResultRecord& r : records) count += tree.passes(r);
        return count;
    };
    QCOMPARE(shown(), 21);

    // "otwarte" off: its class unchecked, "Wszystkie klasy" partly checked,
    // no record of the open class shown; on again: everything checked.
    const int open = dataItem(tree, "\"Otwarta\"");
    tree.toggle(Tree::OpenClasses);
    QCOMPARE(checks(tree, {Tree::OpenClasses, open, Tree::AllClasses}),
             (QList<int>{Tree::Unchecked, Tree::Unchecked, Tree::Partly}));
    QCOMPARE(shown(), 14);
    tree.toggle(Tree::OpenClasses);
    QCOMPARE(checks(tree, {Tree::OpenClasses, open, Tree::AllClasses}),
             (QList<int>{Tree::Checked, Tree::Checked, Tree::Checked}));

    // STATION off: its rows go (the IS station's row stays, it is of no
    // kind); after QUEUE and SERVER the group itself is unchecked.
    tree.toggle(Tree::StationKind);
    QCOMPARE(tree.item(Tree::AllModules).check, int(Tree::Partly));
    QCOMPARE(shown(), 15);
    tree.toggle(Tree::QueueKind);
    tree.toggle(Tree::ServerKind);
    QCOMPARE(checks(tree, {Tree::AllModules, Tree::StationKind, Tree::QueueKind, Tree::ServerKind}),
             (QList<int>{Tree::Unchecked, Tree::Unchecked, Tree::Unchecked, Tree::Unchecked}));
    QCOMPARE(shown(), 3);
    tree.toggle(Tree::QueueKind);  // one back: the group is partly checked
    QCOMPARE(tree.item(Tree::AllModules).check, int(Tree::Partly));

    // The last checked station of a group takes the whole group with it.
    tree.reset();
    tree.fill(records);
    tree.toggle(dataItem(tree, "\"Dysk\""));
    QCOMPARE(checks(tree, {Tree::WithQueue, Tree::AllStations}), (QList<int>{Tree::Partly, Tree::Partly}));
    tree.toggle(dataItem(tree, "\"Kolejka\""));
    QCOMPARE(checks(tree, {Tree::WithQueue, dataItem(tree, "\"Kolejka\""), Tree::AllStations, Tree::WithoutQueue}),
             (QList<int>{Tree::Unchecked, Tree::Unchecked, Tree::Partly, Tree::Checked}));

    // The last checked top-level group is unchecked like any other: the
    // table is then empty, and a click brings it back.
    tree.reset();
    tree.fill(records);
    tree.toggle(Tree::AllStations);
    tree.toggle(Tree::AllModules);
    tree.toggle(Tree::AllClasses);
    QCOMPARE(checks(tree, {Tree::AllClasses, Tree::OpenClasses, open}),
             (QList<int>{Tree::Unchecked, Tree::Unchecked, Tree::Unchecked}));
    QCOMPARE(tree.item(Tree::Network).check, int(Tree::NoBox));
    QCOMPARE(shown(), 0);
    tree.toggle(Tree::AllClasses);
    QCOMPARE(checks(tree, {Tree::AllClasses, open, Tree::AllStations}),
             (QList<int>{Tree::Checked, Tree::Checked, Tree::Unchecked}));
}

void TestResultsLogic::sortColumnsAndHeadings() {
    using namespace ResultsTable;
    // First display: class first with "»" in place of its second blank.
    QCOMPARE(headings(1), (QStringList{"Klasa »", "Stanowisko  ", "Typ  ", "CZAS OBSŁ.  ", "LICZBA KL.  ",
                                       "WYKORZYST.  ", "PRZEPUST  "}));
    // From the service-time key: the type column and the number column.
    QCOMPARE(sortColumnAfterClick(4, 3), 3);
    QCOMPARE(sortColumnAfterClick(4, 4), 5);
    // The type column moves to the front; a second click reverses.
    const int type = sortColumnAfterClick(1, 2);
    QCOMPARE(type, 3);
    QCOMPARE(displayOrder(type), (std::array<int, 7>{3, 1, 2, 4, 5, 6, 7}));
    QCOMPARE(sortColumnAfterClick(type, 0), -3);
    QCOMPARE(headings(-3).mid(0, 2), (QStringList{"Typ «", "Klasa  "}));
}

void TestResultsLogic::rowsOrderedByKeyText() {
    using namespace ResultsTable;
    const QList<ResultRecord> rows = {record("\"Żaba\"", "   12.5000"), record("\"zebra\"", "    0.5000"),
                                      record("\"Ala\"", QString(12, ' ')), record("\"ąb\"", "    3.0000", 3),
                                      record("\"ala\"", "    1.0000", 4)};
    auto namesIn = [&](const QList<int>& order) {
        QStringList names;
        for (int row : order) names << rows[row].className;
        return names;
    };
    // Polish order, case ignored, equal keys in file order both ways.
    QCOMPARE(namesIn(sortedRows(rows, 1)), (QStringList{"\"Ala\"", "\"ala\"", "\"ąb\"", "\"zebra\"", "\"Żaba\""}));
    QCOMPARE(namesIn(sortedRows(rows, -1)), (QStringList{"\"Żaba\"", "\"zebra\"", "\"ąb\"", "\"Ala\"", "\"ala\""}));
    // Right-aligned numbers of one width come in numeric order, blanks first.
    QCOMPARE(sortedRows(rows, 4), (QList<int>{2, 1, 4, 3, 0}));
}

void TestResultsLogic::clipboardAndCsvTexts() {
    using namespace ResultsTable;
    const QList<ResultRecord> two = {record("\"Bez podziału\"", "    0.1234"), record("\"A,b\"", "1.2.3")};
    const QStringList lines = clipboardText(two, 1).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 4);  // three lines, each ended by CR LF
    QVERIFY(lines.last().isEmpty());
    for (int i = 0; i < 3; ++i) {
        QVERIFY(lines[i].endsWith('\t'));
        QCOMPARE(lines[i].count('\t'), 7);
    }
    QCOMPARE(lines[0],
             QStringLiteral("Klasa »\tStanowisko  \tTyp  \tCZAS OBSŁ.  \tLICZBA KL.  \tWYKORZYST.  \tPRZEPUST  \t"));
    QCOMPARE(lines[1],
             QStringLiteral("\"Bez podziału\"\t\"CPU\"\tSTATION\t    0,1234\t    2,0000\t            \t    4,5000\t"));
    QCOMPARE(lines[2].section('\t', 3, 3), QStringLiteral("1.2,3"));
    QCOMPARE(withDecimalComma(QStringLiteral(".5")), QStringLiteral(".5"));

    QCOMPARE(csvText(two), QStringLiteral("Klasa,Stanowisko,Typ,CZAS OBSŁ.,LICZBA KL.,WYKORZYST.,PRZEPUST\n"
                                          "Bez podziału,CPU,STATION,0.1234,2.0000,,4.5000\n"
                                          "\"A,b\",CPU,STATION,1.2.3,2.0000,,4.5000\n"));
}

void TestResultsLogic::printoutOf100RowsAt40APage() {
    QList<QStringList> rows;
    for (int i = 1; i <= 100; ++i)
        rows << QStringList{QStringLiteral("\"W%1\"").arg(i, 3, 10, QLatin1Char('0')),
                            "\"CPU\"",
                            "STATION",
                            "    0.5000",
                            "    1.0000",
                            "    0.5000",
                            "    1.0000"};
    const QStringList headings = ResultsTable::headings(1);
    ResultsTablePrinter pages(headings, rows, QStringLiteral("/dom/siec.klt"),
                              QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    RecordingDevice device;
    pages.layout(&device, QRect(100, 100, 1900, 2700));
    // A page area in which 40 rows fit, half a row short of the 41st.
    const int h = pages.lineHeight();
    QRect area(100, 100, 1900, h);
    while (rowsPerResultsPage(h, area) < 40) area.setHeight(area.height() + 1);
    area.setHeight(area.height() + (h + 2 * (h / 4)) / 2);
    QCOMPARE(rowsPerResultsPage(h, area), 40);
    pages.layout(&device, area);
    QCOMPARE(pages.pageCount(), 3);

    QPainter painter(&device);
    for (int page = 1; page <= 3; ++page) {
        device.engine.page = page;
        pages.paintPage(painter, page);
    }
    painter.end();
    const int firstRows[] = {1, 41, 81};
    const int lastRows[] = {40, 80, 100};
    for (int page = 1; page <= 3; ++page) {
        QStringList onPage;
        for (const auto& t : device.engine.texts)
            if (t.page == page) onPage << t.text;
        QVERIFY2(onPage.contains(QStringLiteral("Wyniki dla: /dom/siec.klt")), qPrintable(onPage.join('|')));
        QVERIFY(onPage.contains(QStringLiteral("Strona: %1").arg(page)));
        QVERIFY(onPage.contains(headings[0]) && onPage.contains(headings.last()));
        QStringList rowNames = onPage.filter(QRegularExpression(QStringLiteral("^\"W\\d+\"$")));
        QCOMPARE(rowNames.size(), lastRows[page - 1] - firstRows[page - 1] + 1);
        QCOMPARE(rowNames.first(), QStringLiteral("\"W%1\"").arg(firstRows[page - 1], 3, 10, QLatin1Char('0')));
        QCOMPARE(rowNames.last(), QStringLiteral("\"W%1\"").arg(lastRows[page - 1], 3, 10, QLatin1Char('0')));
    }
    // A rule under the header and above the footer of each page, one under each row.
    QCOMPARE(device.engine.lines.size(), 3 * 2 + 100);
    int headerRules = 0, footerRules = 0;
    const int headerRuleY = area.top() + h + h / 4, footerRuleY = area.top() + area.height() - h - h / 4;
    for (const QLineF& rule : device.engine.lines) {
        headerRules += rule.y1() == headerRuleY;
        footerRules += rule.y1() == footerRuleY;
    }
    QCOMPARE(headerRules, 3);
    QCOMPARE(footerRules, 3);

    // By hand, h = 40 and q = 10 on a page from 0 to 1050: the heading line
    // at 60, rows at 110 + 60 k while the row and the next line end above
    // the bottom (110 + 60 k + 100 <= 1050).
    QCOMPARE(rowsPerResultsPage(40, QRect(0, 0, 500, 1049)), 14);
    QCOMPARE(rowsPerResultsPage(40, QRect(0, 0, 500, 1050)), 15);

    // A page too short for one row still prints one a page: the job ends.
    QCOMPARE(rowsPerResultsPage(h, QRect(0, 0, 100, h)), 1);
}

void TestResultsLogic::chartFollowsTheFilter() {
    const QList<ResultRecord> records = readResultsBytes(mixedResults()).records;
    Tree tree;
    tree.fill(records);
    tree.toggle(dataItem(tree, "\"Otwarta\""));
    tree.toggle(dataItem(tree, "\"Dysk\""));
    QList<ResultRecord> shown;
    for (const ResultRecord& r : records)
        if (tree.passes(r)) shown << r;

    const ChartSeries utilisation = chartSeries(shown, ChartMeasure::Utilisation);
    QCOMPARE(utilisation.stations, (QStringList{"Kolejka", "Opoznienie"}));
    QCOMPARE(utilisation.sets.size(), 2);
    QCOMPARE(utilisation.sets[0].label, QStringLiteral("Bez podziału"));
    QCOMPARE(utilisation.sets[1].label, QStringLiteral("Zamknieta"));
    QCOMPARE(utilisation.sets[1].values, (QList<double>{0.4, 0.0}));  // IS: no utilisation
    QCOMPARE(chartSeries(shown, ChartMeasure::Number).sets[1].values, (QList<double>{1.25, 7.5}));
}

QTEST_MAIN(TestResultsLogic)
#include "tst_results_logic.moc"
