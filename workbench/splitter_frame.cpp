#include "workbench/splitter_frame.h"

#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "workbench/results_chart.h"
#include "workbench/results_printer.h"
#include "workbench/results_table.h"
#include "workbench/results_view.h"
#include "workbench/run_files.h"
#include "workbench/structure_view.h"
#include "workbench/winkolt_doc.h"

namespace {

constexpr int kTreeWidth = 200;

}  // namespace

CSplitterFrame::CSplitterFrame(CWinKoltDoc* document)
    : CChildFrame(document, ViewKind::Results, new QSplitter(Qt::Horizontal)),
      tree(new CStructureView),
      table(new CResultsView),
      chart(new ResultsChartView),
      tabs(new QTabWidget) {
    QSplitter* panes = splitter();
    panes->setObjectName(QStringLiteral("resultsSplitter"));
    panes->setChildrenCollapsible(false);
    tabs->setObjectName(QStringLiteral("resultTabs"));
    tabs->setDocumentMode(true);
    tabs->addTab(table, QStringLiteral("Tabela"));
    tabs->addTab(chart, QStringLiteral("Wykres"));
    tabs->setCornerWidget(makeCornerButtons(), Qt::TopRightCorner);
    chart->setFocusPolicy(Qt::StrongFocus);
    panes->addWidget(tree);
    panes->addWidget(tabs);
    panes->setStretchFactor(0, 0);
    panes->setStretchFactor(1, 1);
    panes->setSizes({kTreeWidth, 3 * kTreeWidth});
    panes->installEventFilter(this);
    // The table (or the chart in its place) takes the focus when the window
    // is activated.
    panes->setFocusProxy(tabs);
    tabs->setFocusProxy(table);
    connect(tabs, &QTabWidget::currentChanged, this, [this] {
        tabs->setFocusProxy(tabs->currentWidget());
        emit tableChanged();
    });

    connect(tree, &CStructureView::checksChanged, this, [this] { this->document()->notifyViews(tree, tree); });
    connect(table, &CResultsView::sortRequested, this, [this] { showRecords(true); });
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CSplitterFrame::tableChanged);
    connect(document, &CWinKoltDoc::viewsNotified, this, &CSplitterFrame::onViewsNotified);
}

void CSplitterFrame::showResults() {
    // The tree is filled before the table asks it.
    readResults();
    if (document()->runState() == 2) tree->refill(records);
    showRecords(true);
}

QSplitter* CSplitterFrame::splitter() const { return qobject_cast<QSplitter*>(widget()); }

bool CSplitterFrame::chartShown() const { return tabs->currentWidget() == chart; }

void CSplitterFrame::showChart(bool shown) { tabs->setCurrentWidget(shown ? static_cast<QWidget*>(chart) : table); }

void CSplitterFrame::onViewsNotified(QObject* sender, QObject* hint) {
    if (sender == tree) {
        showRecords(true);
        return;
    }
    // Filtered for the tree's own changes and for a notification from no
    // view; another view's notification without a hint shows everything.
    const bool filtered = hint || !sender;
    if (!readResults()) return;  // the file is gone: the window stays as it was
    if (document()->runState() == 2) tree->refill(records);
    showRecords(filtered);
}

bool CSplitterFrame::readResults() {
    if (document()->path().isEmpty()) return false;
    ResultsFile file = readResultsFile(resultsPath(document()->path()));
    if (!file.opened) return false;
    records = std::move(file.records);
    // A damaged file is said once, quietly: the window shows what could be read.
    if (file.rejectedLines > 0)
        emit statusMessage(QStringLiteral("Plik wyników zawiera niepełne lub błędne rekordy (%1); "
                                          "pominięto je.")
                               .arg(file.rejectedLines),
                           10000);
    return true;
}

void CSplitterFrame::showRecords(bool filtered) {
    QList<ResultRecord> shown;
    for (const ResultRecord& record : records)
        if (!filtered || tree->structureTree().passes(record)) shown.append(record);
    table->showRecords(shown);
    chart->showRecords(table->shownRecords());
    emit tableChanged();
}

QString CSplitterFrame::documentName() const {
    return document()->path().isEmpty() ? document()->title() : document()->path();
}

bool CSplitterFrame::eventFilter(QObject* watched, QEvent* event) {
    // Once shown and laid out, the window has its real width.
    if (watched == splitter() && event->type() == QEvent::Show && !treeWidthSet) {
        treeWidthSet = true;
        QTimer::singleShot(0, this, &CSplitterFrame::fitTreeWidth);
    }
    return CChildFrame::eventFilter(watched, event);
}

void CSplitterFrame::fitTreeWidth() {
    // The tree starts 200 pixels wide, or as wide as its longest label needs
    // up to two fifths of the window; the table takes the rest and any
    // later change of the window's width.
    if (splitter()->width() <= 2 * kTreeWidth) return;
    const int needed = tree->contentWidth();
    const int treeWidth = qBound(kTreeWidth, needed, splitter()->width() * 2 / 5);
    splitter()->setSizes({treeWidth, splitter()->width() - treeWidth - splitter()->handleWidth()});
}

bool CSplitterFrame::printTo(QPrinter* printer) const {
    return chartShown() ? chart->printTo(printer, documentName()) : table->printTo(printer, documentName());
}

void CSplitterFrame::print(QPrinter* printer) {
    QPrintDialog dialog(printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (dialog.exec() == QDialog::Accepted && !printTo(printer))
        emit errorOccurred(QStringLiteral("Nie można rozpocząć drukowania."));
}

void CSplitterFrame::printPreview(QPrinter* printer) {
    QPrintPreviewDialog dialog(printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { printTo(p); });
    dialog.exec();
}

bool CSplitterFrame::saveCsv(const QString& path, QString* error) const {
    const QByteArray bytes = ResultsTable::csvText(table->shownRecords()).toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

QString CSplitterFrame::askExportPath(const QString& caption, const QString& extension, const QString& filter) {
    const QString suggested = document()->path().isEmpty() ? document()->title() + QLatin1Char('.') + extension
                                                           : basePathOf(document()->path()) + extension;
    return QFileDialog::getSaveFileName(this, caption, suggested, filter);
}

void CSplitterFrame::saveCsvAs() {
    const QString path =
        askExportPath(QStringLiteral("Zapisz jako CSV"), QStringLiteral("csv"), QStringLiteral("Pliki CSV (*.csv)"));
    QString error;
    if (!path.isEmpty() && !saveCsv(path, &error))
        emit errorOccurred(QStringLiteral("Nie można zapisać pliku %1.\n%2").arg(path, error));
}

void CSplitterFrame::saveChartAs(bool svg) {
    const QString path = svg ? askExportPath(QStringLiteral("Zapisz wykres jako SVG"), QStringLiteral("svg"),
                                             QStringLiteral("Rysunki SVG (*.svg)"))
                             : askExportPath(QStringLiteral("Zapisz wykres jako PNG"), QStringLiteral("png"),
                                             QStringLiteral("Obrazy PNG (*.png)"));
    if (path.isEmpty()) return;
    QString error;
    const bool saved = svg ? chart->saveSvg(path, ResultsTablePrinter::headerText(documentName()), &error)
                           : chart->savePng(path, &error);
    if (!saved) emit errorOccurred(QStringLiteral("Nie można zapisać pliku %1.\n%2").arg(path, error));
}

QWidget* CSplitterFrame::makeCornerButtons() {
    auto* corner = new QWidget;
    auto* layout = new QHBoxLayout(corner);
    layout->setContentsMargins(0, 0, 4, 0);
    layout->setSpacing(2);
    auto button = [&](const QString& text, const QString& tip, auto handler) {
        auto* b = new QToolButton(corner);
        b->setText(text);
        b->setToolTip(tip);
        b->setStatusTip(tip);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, handler);
        layout->addWidget(b);
        return b;
    };
    QToolButton* csv = button(QStringLiteral("Zapisz jako CSV..."),
                              QStringLiteral("Zapisuje wiersze tabeli w pliku CSV (UTF-8, kropka dziesiętna)"),
                              [this] { saveCsvAs(); });
    // Printing goes through the print command, which prints the chart
    // while its tab is shown.
    QList<QToolButton*> chartButtons = {
        button(QStringLiteral("Zapisz jako PNG..."), QStringLiteral("Zapisuje wykres jako obraz PNG"),
               [this] { saveChartAs(false); }),
        button(QStringLiteral("Zapisz jako SVG..."), QStringLiteral("Zapisuje wykres jako rysunek SVG"),
               [this] { saveChartAs(true); }),
        button(QStringLiteral("Drukuj wykres..."), QStringLiteral("Drukuje wykres"), [this] { emit printRequested(); }),
    };
    auto follow = [this, csv, chartButtons] {
        csv->setVisible(!chartShown());
        for (QToolButton* b : chartButtons) b->setVisible(chartShown());
    };
    connect(tabs, &QTabWidget::currentChanged, corner, follow);
    follow();
    return corner;
}
