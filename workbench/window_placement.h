// The main window's placement as stored in "Settings/WindowPos".
//
// Ten numbers, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d": flags (2 = restore to
// maximised), show state, minimised position x,y, maximised position x,y and
// the normal rectangle left, top, right, bottom.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

#include <Qt>

struct WindowPlacement {
    unsigned flags = 0;
    unsigned showState = 1;
    int minX = -1, minY = -1;
    int maxX = -1, maxY = -1;
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Show states of the placement (the classic window-system show commands).
namespace ShowCommand {
enum : int { Hide = 0, Normal = 1, Minimized = 2, Maximized = 3, Minimize = 6, MinNoActive = 7 };
}

// Flag of the placement: the window goes back to maximised when restored.
constexpr unsigned restoreToMaximizedFlag = 2;

QString formatWindowPlacement(const WindowPlacement& placement);

// The placement stored in text, or nothing when the text is empty or does
// not yield all ten numbers.
std::optional<WindowPlacement> parseWindowPlacement(const QString& text);

// Show command to and from Qt window states; the minimised commands map to
// Qt::WindowMinimized, the maximised one to Qt::WindowMaximized, any other to
// a normal window.
Qt::WindowStates windowStatesOfShowCommand(int showCommand);
unsigned showCommandOfWindowStates(Qt::WindowStates states);

// The placement to apply at start-up: the stored one, whose show state is
// replaced by the start's show command unless that is normal.
WindowPlacement placementForStart(WindowPlacement stored, int startShowCommand);

// The main window's normal rectangle is taken from the settings only when it
// is at least this large: a smaller one (a window once shrunk to nothing,
// edited settings) would not be a place to work in.
inline constexpr int minimumMainWindowWidth = 480;
inline constexpr int minimumMainWindowHeight = 360;
bool isUsableMainWindowSize(const QSize& size);

// The place of the index-th (0-based) cascaded document window in an area
// of the given size: two thirds of the area's width and height, moved step
// pixels down and right per window, and back to the top-left corner when it
// would reach out of the area.
QRect cascadedWindowRect(const QSize& area, int index, int step);
