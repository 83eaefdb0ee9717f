#include "workbench/window_placement.h"

#include <QRegularExpression>
#include <QStringList>

QString formatWindowPlacement(const WindowPlacement& p) {
    return QString::asprintf("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showState, p.minX, p.minY, p.maxX, p.maxY,
                             p.left, p.top, p.right, p.bottom);
}

// Form: number ',' number ... (ten numbers); like scanf, blanks before a
// number are allowed and anything after the tenth number is ignored.
std::optional<WindowPlacement> parseWindowPlacement(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*([+-]?\d+)\s*,\s*([+-]?\d+)\s*,\s*([+-]?\d+)\s*,\s*([+-]?\d+)\s*,\s*([+-]?\d+)\s*,)"
                       R"(\s*([+-]?\d+)\s*,\s*([+-]?\d+)\s*,\s*([+-]?\d+)\s*,\s*([+-]?\d+)\s*,\s*([+-]?\d+))"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    int values[10];
    for (int i = 0; i < 10; ++i) {
        bool ok = false;
        values[i] = m.captured(i + 1).toInt(&ok);
        if (!ok) return std::nullopt;
    }
    WindowPlacement p;
    p.flags = static_cast<unsigned>(values[0]);
    p.showState = static_cast<unsigned>(values[1]);
    p.minX = values[2];
    p.minY = values[3];
    p.maxX = values[4];
    p.maxY = values[5];
    p.left = values[6];
    p.top = values[7];
    p.right = values[8];
    p.bottom = values[9];
    return p;
}

Qt::WindowStates windowStatesOfShowCommand(int showCommand) {
    switch (showCommand) {
        case ShowCommand::Minimized:
        case ShowCommand::Minimize:
        case ShowCommand::MinNoActive: return Qt::WindowMinimized;
        case ShowCommand::Maximized: return Qt::WindowMaximized;
        default: return Qt::WindowNoState;
    }
}

unsigned showCommandOfWindowStates(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized) return ShowCommand::Minimized;
    if (states & Qt::WindowMaximized) return ShowCommand::Maximized;
    return ShowCommand::Normal;
}

WindowPlacement placementForStart(WindowPlacement stored, int startShowCommand) {
    if (startShowCommand != ShowCommand::Normal) stored.showState = static_cast<unsigned>(startShowCommand);
    return stored;
}

bool isUsableMainWindowSize(const QSize& size) {
    return size.width() >= minimumMainWindowWidth && size.height() >= minimumMainWindowHeight;
}

QRect cascadedWindowRect(const QSize& area, int index, int step) {
    const QSize size(area.width() * 2 / 3, area.height() * 2 / 3);
    const int room = qMin(area.width() - size.width(), area.height() - size.height());
    const int steps = step > 0 ? qMax(1, room / step + 1) : 1;
    const int offset = (index % steps) * step;
    return QRect(QPoint(offset, offset), size);
}
