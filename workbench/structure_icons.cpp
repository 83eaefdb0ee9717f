#include "workbench/structure_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

const QColor ink(40, 40, 40);
const QColor blue(40, 90, 170);
const QColor green(40, 140, 60);
const QColor orange(220, 130, 30);
const QColor grey(150, 150, 150);
const QColor paleBlue(200, 215, 240);

QPixmap drawn(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1.0));
    draw(p);
    return pixmap;
}

// A queue of three places and its server, the emphasised part filled.
enum class Emphasis { Both, Queue, Server, None };
void queueAndServer(QPainter& p, Emphasis emphasis) {
    const bool queueFilled = emphasis == Emphasis::Both || emphasis == Emphasis::Queue;
    const bool serverFilled = emphasis == Emphasis::Both || emphasis == Emphasis::Server;
    p.setBrush(queueFilled ? QBrush(blue) : QBrush(Qt::white));
    for (int i = 0; i < 3; ++i) p.drawRect(QRectF(0.5 + 3 * i, 5.5, 3, 5));
    p.setBrush(serverFilled ? QBrush(green) : QBrush(Qt::white));
    p.drawEllipse(QRectF(9.5, 3.5, 6, 9));
}

void arrowHead(QPainter& p, QPointF tip, qreal dx, qreal dy) {
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip - QPointF(3 * dx - 2 * dy, 3 * dy + 2 * dx));
    head.lineTo(tip - QPointF(3 * dx + 2 * dy, 3 * dy - 2 * dx));
    head.closeSubpath();
    p.setBrush(ink);
    p.drawPath(head);
}

void person(QPainter& p, qreal x, qreal y, const QColor& colour) {
    p.setBrush(colour);
    p.drawEllipse(QRectF(x + 1, y, 3, 3));
    p.drawRoundedRect(QRectF(x, y + 3.5, 5, 5), 1.5, 1.5);
}

}  // namespace

QPixmap structureItemImage(int index) {
    switch (index) {
        case 0:  // the whole network: three nodes and their links
            return drawn([](QPainter& p) {
                p.drawLine(QPointF(4, 4), QPointF(12, 4));
                p.drawLine(QPointF(4, 4), QPointF(8, 12));
                p.drawLine(QPointF(12, 4), QPointF(8, 12));
                p.setBrush(blue);
                for (QPointF c : {QPointF(4, 4), QPointF(12, 4), QPointF(8, 12)}) p.drawEllipse(c, 2.8, 2.8);
            });
        case 1:  // stations: two servers
            return drawn([](QPainter& p) {
                p.setBrush(green.lighter(130));
                p.drawEllipse(QRectF(1.5, 1.5, 8, 8));
                p.setBrush(green);
                p.drawEllipse(QRectF(6.5, 6.5, 8, 8));
            });
        case 2: return drawn([](QPainter& p) { queueAndServer(p, Emphasis::None); });
        case 3:  // no queue: a server alone
            return drawn([](QPainter& p) {
                p.setBrush(Qt::white);
                p.drawEllipse(QRectF(4.5, 3.5, 7, 9));
            });
        case 4:  // classes: customers of three kinds
            return drawn([](QPainter& p) {
                person(p, 0.5, 1.5, blue);
                person(p, 5.5, 6.5, orange);
                person(p, 10.5, 1.5, green);
            });
        case 5:  // no class split: every class together
            return drawn([](QPainter& p) {
                QFont font = p.font();
                font.setPixelSize(14);
                font.setBold(true);
                p.setFont(font);
                p.setPen(grey.darker(130));
                p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QString(QChar(0x03A3)));
            });
        case 6:  // open: customers come in and leave
            return drawn([](QPainter& p) {
                p.setBrush(paleBlue);
                p.drawRect(QRectF(5.5, 4.5, 5, 7));
                p.drawLine(QPointF(0.5, 8), QPointF(5, 8));
                p.drawLine(QPointF(11, 8), QPointF(15, 8));
                arrowHead(p, QPointF(15.5, 8), 1, 0);
            });
        case 7:  // closed: customers circulate
            return drawn([](QPainter& p) {
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(ink, 1.3));
                p.drawArc(QRectF(2.5, 2.5, 11, 11), 100 * 16, 300 * 16);
                p.setPen(QPen(ink, 1.0));
                arrowHead(p, QPointF(8.5, 2.5), -1, 0);
            });
        case 8:  // modules: the kinds of rows
            return drawn([](QPainter& p) {
                p.setBrush(Qt::white);
                for (int i = 0; i < 3; ++i) p.drawRect(QRectF(1.5, 1.5 + 4.5 * i, 13, 3.5));
            });
        case 9: return drawn([](QPainter& p) { queueAndServer(p, Emphasis::Both); });
        case 10: return drawn([](QPainter& p) { queueAndServer(p, Emphasis::Queue); });
        case 11: return drawn([](QPainter& p) { queueAndServer(p, Emphasis::Server); });
        default: return {};
    }
}

QPixmap structureCheckImage(int check) {
    if (check < 0 || check > 2) return {};
    return drawn([check](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QColor(110, 110, 110));
        p.setBrush(Qt::white);
        p.drawRect(QRect(2, 2, 12, 12));
        if (check == 1) return;
        p.setRenderHint(QPainter::Antialiasing, true);
        QPen tick(check == 0 ? grey : ink, 2.0);
        tick.setCapStyle(Qt::RoundCap);
        tick.setJoinStyle(Qt::RoundJoin);
        p.setPen(tick);
        p.setBrush(Qt::NoBrush);
        QPainterPath path;
        path.moveTo(4.5, 8);
        path.lineTo(7, 10.5);
        path.lineTo(11.5, 5);
        p.drawPath(path);
    });
}
