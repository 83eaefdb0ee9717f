#include "workbench/results_printer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace {

// y of the heading line's top: the header line, a gap of q, the rule, a gap of q.
int headingTop(const QRect& area, int h) { return area.top() + h + 2 * (h / 4); }

int areaBottom(const QRect& area) { return area.top() + area.height(); }

}  // namespace

int rowsPerResultsPage(int lineHeight, const QRect& area) {
    const int h = lineHeight;
    const int q = h / 4;
    int rows = 0;
    for (int y = headingTop(area, h) + h + q; y + 2 * (h + q) <= areaBottom(area); y += h + 2 * q) ++rows;
    return qMax(1, rows);
}

ResultsTablePrinter::ResultsTablePrinter(const QStringList& headings, const QList<QStringList>& rows,
                                         const QString& documentName, const QFont& font)
    : headingTexts(headings), rowTexts(rows), header(headerText(documentName)), baseFont(font) {}

QString ResultsTablePrinter::headerText(const QString& documentName) {
    return QStringLiteral("Wyniki dla: ") + documentName;
}

QString ResultsTablePrinter::footerText(int page) { return QString::asprintf("Strona: %d", page); }

void ResultsTablePrinter::layout(QPaintDevice* device, const QRect& pageArea) {
    area = pageArea;
    deviceFont = QFont(baseFont, device);
    const QFontMetrics metrics(deviceFont, device);
    h = metrics.height();
    const int w = metrics.averageCharWidth();
    perPage = rowsPerResultsPage(h, area);

    // The widest cell of each column, in characters; headings do not count.
    QList<int> widest(headingTexts.size(), 0);
    for (const QStringList& row : rowTexts)
        for (qsizetype i = 0; i < row.size() && i < widest.size(); ++i) widest[i] = qMax(widest[i], int(row[i].size()));
    columnX.clear();
    int x = area.left();
    for (int chars : widest) {
        columnX << x;
        x += (chars + 2) * w;
    }
}

int ResultsTablePrinter::pageCount() const { return qMax(1, int((rowTexts.size() + perPage - 1) / perPage)); }

void ResultsTablePrinter::paintPage(QPainter& painter, int page) const {
    const int q = h / 4;
    const int bottom = areaBottom(area);
    auto line = [&](const QStringList& cells, int y) {
        for (qsizetype i = 0; i < cells.size() && i < columnX.size(); ++i)
            painter.drawText(QRect(columnX[i], y, area.right() - columnX[i], h),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, cells[i]);
    };
    painter.save();
    painter.setFont(deviceFont);
    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left(), area.top(), area.width(), h), Qt::AlignLeft | Qt::AlignTop, header);
    painter.drawLine(area.left(), area.top() + h + q, area.right(), area.top() + h + q);

    int y = headingTop(area, h);
    line(headingTexts, y);
    y += h + q;
    const qsizetype first = qsizetype(page - 1) * perPage;
    const qsizetype end = qMin(rowTexts.size(), first + perPage);
    for (qsizetype row = first; row < end; ++row) {
        line(rowTexts[row], y);
        y += h + q;
        painter.drawLine(area.left(), y, area.right(), y);
        y += q;
    }

    painter.drawLine(area.left(), bottom - h - q, area.right(), bottom - h - q);
    painter.drawText(QRect(area.left(), bottom - h, area.width(), h), Qt::AlignLeft | Qt::AlignTop, footerText(page));
    painter.restore();
}

bool ResultsTablePrinter::print(QPrinter* printer) {
    layout(printer, QRect(QPoint(0, 0), printer->pageRect(QPrinter::DevicePixel).size().toSize()));
    QPainter painter;
    if (!painter.begin(printer)) return false;
    const int count = pageCount();
    const int from = printer->fromPage() > 0 ? qMin(printer->fromPage(), count) : 1;
    const int to = printer->toPage() > 0 ? qMin(printer->toPage(), count) : count;
    for (int page = from; page <= to; ++page) {
        if (page != from) printer->newPage();
        paintPage(painter, page);
    }
    return painter.end();
}
