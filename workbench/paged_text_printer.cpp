#include "workbench/paged_text_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

PagedTextPrinter::PagedTextPrinter(const QString& text, const QString& header, const QFont& font)
    : document(std::make_unique<QTextDocument>()), headerText(header), baseFont(font) {
    document->setPlainText(text);
    document->setDocumentMargin(0);
    document->setUndoRedoEnabled(false);
}

PagedTextPrinter::~PagedTextPrinter() = default;

void PagedTextPrinter::layout(QPaintDevice* device, const QRect& pageArea) {
    area = pageArea;
    deviceFont = QFont(baseFont, device);
    const QFontMetrics metrics(deviceFont, device);
    h = metrics.height();
    const int q = h / 4;
    textRect = QRect(area.left(), area.top() + h + 2 * q, area.width(), qMax(h, area.height() - 2 * (h + 2 * q)));

    document->documentLayout()->setPaintDevice(device);
    document->setDefaultFont(deviceFont);
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document->setDefaultTextOption(option);
    document->setPageSize(textRect.size());
}

int PagedTextPrinter::pageCount() const { return qMax(1, document->pageCount()); }

int PagedTextPrinter::pageOfPosition(int position) const {
    position = qBound(0, position, qMax(0, document->characterCount() - 1));
    const QTextBlock block = document->findBlock(position);
    if (!block.isValid() || textRect.height() <= 0) return 1;
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    qreal y = document->documentLayout()->blockBoundingRect(block).top();
    if (line.isValid()) y += line.y();
    return qBound(1, int(y / textRect.height()) + 1, pageCount());
}

int PagedTextPrinter::pageOfLineAndColumn(int line, int column) const {
    const QTextBlock block = document->findBlockByNumber(line);
    if (!block.isValid()) return pageCount();
    return pageOfPosition(block.position() + qMin(column, block.length() - 1));
}

void PagedTextPrinter::paintPage(QPainter& painter, int page) const {
    const int q = h / 4;
    const int bottom = areaBottom();
    painter.save();
    painter.setFont(deviceFont);
    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left(), area.top(), area.width(), h), Qt::AlignLeft | Qt::AlignTop, headerText);
    painter.drawLine(area.left(), area.top() + h + q, area.right(), area.top() + h + q);
    painter.drawLine(area.left(), bottom - h - q, area.right(), bottom - h - q);
    painter.drawText(QRect(area.left(), bottom - h, area.width(), h), Qt::AlignLeft | Qt::AlignTop, footerText(page));

    // The laid-out text is one tall strip of pages; show the strip's page.
    const qreal pageHeight = textRect.height();
    painter.translate(textRect.left(), textRect.top() - (page - 1) * pageHeight);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, (page - 1) * pageHeight, textRect.width(), pageHeight);
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.setClipRect(context.clip);
    document->documentLayout()->draw(&painter, context);
    painter.restore();
}

QString PagedTextPrinter::footerText(int page) { return QString::asprintf("Strona: %d", page); }

namespace {

QString expandTabs(QStringView line, int tabWidth) {
    QString expanded;
    expanded.reserve(line.size());
    for (QChar c : line) {
        if (c == QLatin1Char('\t'))
            expanded.append(QString(tabWidth - expanded.size() % tabWidth, QLatin1Char(' ')));
        else
            expanded.append(c);
    }
    return expanded;
}

}  // namespace

QString printableText(const QString& text, int tabWidth) {
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines;
    for (QStringView line : QStringView(unified).split(QLatin1Char('\n'))) lines.append(expandTabs(line, tabWidth));
    return lines.join(QLatin1Char('\n'));
}

int printableColumn(const QString& line, int column, int tabWidth) {
    return int(expandTabs(QStringView(line).left(column), tabWidth).size());
}

void setDefaultPageMargins(QPrinter* printer) {
    printer->setPageMargins(QMarginsF(20, 15, 15, 15), QPageLayout::Millimeter);
}
