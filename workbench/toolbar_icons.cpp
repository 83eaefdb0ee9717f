#include "workbench/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "workbench/command_ids.h"

namespace {

// Draws one image in a 16 x 16 grid.
using Drawing = void (*)(QPainter&);

const QColor ink(40, 40, 40);
const QColor paper(255, 255, 255);
const QColor folder(230, 190, 80);
const QColor blue(40, 90, 170);
const QColor green(40, 140, 60);
const QColor red(190, 40, 40);

// Draws in a 16 x 16 grid and scales to the pixmap's size.
QIcon iconFrom(Drawing draw) {
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        p.setPen(QPen(ink, 1.0));
        draw(p);
        icon.addPixmap(pixmap);
    }
    return icon;
}

void page(QPainter& p, const QRectF& r, bool withLines) {
    QPainterPath outline;
    outline.moveTo(r.left(), r.top());
    outline.lineTo(r.right() - 3, r.top());
    outline.lineTo(r.right(), r.top() + 3);
    outline.lineTo(r.right(), r.bottom());
    outline.lineTo(r.left(), r.bottom());
    outline.closeSubpath();
    p.setBrush(paper);
    p.drawPath(outline);
    p.drawLine(QPointF(r.right() - 3, r.top()), QPointF(r.right() - 3, r.top() + 3));
    p.drawLine(QPointF(r.right() - 3, r.top() + 3), QPointF(r.right(), r.top() + 3));
    if (!withLines) return;
    p.save();
    p.setPen(QPen(QColor(120, 120, 120), 0.8));
    for (qreal y = r.top() + 5; y < r.bottom() - 1; y += 2)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    p.restore();
}

void questionMark(QPainter& p, const QRectF& r, const QColor& color) {
    p.save();
    QFont f = p.font();
    f.setPixelSize(int(r.height()));
    f.setBold(true);
    p.setFont(f);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("?"));
    p.restore();
}

// One function per image, in the 16 x 16 grid.

void drawNewPage(QPainter& p) { page(p, QRectF(3.5, 1.5, 9, 13), false); }

void drawOpenFolder(QPainter& p) {
    p.setBrush(folder.darker(115));
    p.drawRect(QRectF(1.5, 4.5, 12, 9));
    p.setBrush(folder);
    QPolygonF front({{1.5, 13.5}, {4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}});
    p.drawPolygon(front);
}

void drawDiskette(QPainter& p) {
    p.setBrush(blue);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(paper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

void drawScissors(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(5, 1.5), QPointF(10, 10));
    p.drawLine(QPointF(11, 1.5), QPointF(6, 10));
    p.setPen(QPen(red, 1.3));
    p.drawEllipse(QRectF(2.5, 10, 4, 4));
    p.drawEllipse(QRectF(9.5, 10, 4, 4));
}

void drawTwoPages(QPainter& p) {
    page(p, QRectF(1.5, 1.5, 8, 10), true);
    page(p, QRectF(6.5, 4.5, 8, 10), true);
}

void drawClipboard(QPainter& p) {
    p.setBrush(QColor(180, 130, 70));
    p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(4, 1.5, 5, 2.5));
    page(p, QRectF(7.5, 6.5, 7, 8), true);
}

void drawPrinter(QPainter& p) {
    page(p, QRectF(4.5, 1.5, 7, 6), false);
    p.setBrush(QColor(190, 190, 190));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
    p.setBrush(paper);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.setPen(green);
    p.drawPoint(QPointF(12.5, 8.5));
}

void drawQuestionBubble(QPainter& p) {
    p.setBrush(QColor(250, 240, 160));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    questionMark(p, QRectF(1.5, 1.5, 13, 13), blue);
}

void drawPointerWithQuestion(QPainter& p) {
    QPolygonF arrow({{1.5, 1.5}, {1.5, 11.5}, {4, 9}, {6, 13.5}, {7.5, 12.8}, {5.5, 8.5}, {8.5, 8.5}});
    p.setBrush(paper);
    p.drawPolygon(arrow);
    questionMark(p, QRectF(8, 2, 8, 11), blue);
}

void drawCheckedPage(QPainter& p) {
    page(p, QRectF(1.5, 1.5, 10, 13), true);
    p.setPen(QPen(green, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{6.5, 9.5}, {9, 13}, {14.5, 5}}));
}

// Three stations in a ring, customers flowing between them.
void drawStationRing(QPainter& p) {
    p.setPen(QPen(blue, 1.2));
    p.drawLine(QPointF(4, 4), QPointF(12, 4));
    p.drawLine(QPointF(12, 4), QPointF(8, 12));
    p.drawLine(QPointF(8, 12), QPointF(4, 4));
    p.setPen(QPen(ink, 1.0));
    p.setBrush(QColor(120, 190, 120));
    for (QPointF c : {QPointF(4, 4), QPointF(12, 4), QPointF(8, 12)}) p.drawEllipse(c, 2.8, 2.8);
}

void drawModelPage(QPainter& p) {
    page(p, QRectF(2.5, 1.5, 11, 13), false);
    p.setPen(QPen(blue, 1.0));
    for (qreal y : {5.0, 7.5, 10.0}) p.drawLine(QPointF(5, y), QPointF(y == 7.5 ? 9 : 11, y));
}

void drawReportPage(QPainter& p) {
    page(p, QRectF(2.5, 1.5, 11, 13), true);
    p.setPen(QPen(red, 1.4));
    p.drawLine(QPointF(4.5, 9), QPointF(11.5, 9));
}

void drawResultsTable(QPainter& p) {
    p.setBrush(paper);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(QColor(200, 215, 240));
    p.drawRect(QRectF(1.5, 2.5, 13, 3));
    p.setPen(QPen(QColor(120, 120, 120), 0.8));
    for (qreal y : {8.5, 11.0}) p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    for (qreal x : {6.0, 10.5}) p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
}

// The image of a command, or nullptr for a command shown without one.
Drawing drawingOf(int id) {
    using namespace Command;
    switch (id) {
        case FileNew: return drawNewPage;
        case FileOpen: return drawOpenFolder;
        case FileSave: return drawDiskette;
        case EditCut: return drawScissors;
        case EditCopy: return drawTwoPages;
        case EditPaste: return drawClipboard;
        case FilePrint: return drawPrinter;
        case AppAbout: return drawQuestionBubble;
        case ContextHelp: return drawPointerWithQuestion;
        case SyntaxAnalysis: return drawCheckedPage;
        case NetworkAnalysis: return drawStationRing;
        case WindowModel: return drawModelPage;
        case WindowReport: return drawReportPage;
        case WindowResults: return drawResultsTable;
        default: return nullptr;
    }
}

}  // namespace

QIcon commandIcon(int commandId) {
    const Drawing draw = drawingOf(commandId);
    return draw ? iconFrom(draw) : QIcon();
}

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        p.setPen(QPen(ink, 0.8));
        p.setBrush(QColor(60, 110, 190));
        p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2.5, 2.5);
        p.setPen(QPen(Qt::white, 1.1));
        p.drawLine(QPointF(4, 5), QPointF(12, 5));
        p.drawLine(QPointF(12, 5), QPointF(8, 12));
        p.drawLine(QPointF(8, 12), QPointF(4, 5));
        p.setBrush(QColor(250, 210, 80));
        for (QPointF c : {QPointF(4, 5), QPointF(12, 5), QPointF(8, 12)}) p.drawEllipse(c, 2.2, 2.2);
        icon.addPixmap(pixmap);
    }
    return icon;
}
