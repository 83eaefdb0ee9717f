#include "workbench/help_window.h"

#include <QKeyEvent>
#include <QScreen>
#include <QUrl>

namespace {

// Room left around a top-level window for its frame and title bar, which
// the window manager adds outside the geometry given.
constexpr int frameTop = 40;
constexpr int frameSide = 10;

}  // namespace

QRect windowGeometryWithin(const QRect& available, const QRect& near, QSize wanted) {
    const QRect room = available.adjusted(frameSide, frameTop, -frameSide, -frameSide);
    const QSize size = wanted.boundedTo(room.size());
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(near.isValid() ? near.center() : room.center());
    if (placed.left() < room.left()) placed.moveLeft(room.left());
    if (placed.top() < room.top()) placed.moveTop(room.top());
    if (placed.right() > room.right()) placed.moveRight(room.right());
    if (placed.bottom() > room.bottom()) placed.moveBottom(room.bottom());
    return placed;
}

HelpWindow::HelpWindow(const QString& page, QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("helpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("WinKolt - Pomoc"));
    setSource(QUrl::fromLocalFile(page));
}

void HelpWindow::placeNear(const QWidget* owner) {
    const QScreen* shownOn = owner && owner->screen() ? owner->screen() : screen();
    const QRect available = shownOn->availableGeometry();
    // A page about 90 characters wide, as high as the screen allows.
    const int width = fontMetrics().averageCharWidth() * 90 + 40;
    const QRect near = owner ? owner->frameGeometry() : available;
    setGeometry(windowGeometryWithin(available, near, QSize(width, available.height() * 9 / 10)));
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}
