// The workbench's per-user settings: "Settings/ShowCmd", "Settings/WindowPos"
// and the list of the four most recently used files, all under "WinKolt".
#pragma once

#include <QString>
#include <QStringList>

class AppSettings {
  public:
    static constexpr int recentFileCount = 4;

    // childShowCommand as stored, or fallback when absent or unreadable.
    static int readShowCommand(int fallback);
    static void writeShowCommand(int showCommand);

    static QString readWindowPos();
    static void writeWindowPos(const QString& text);

    // Most recent first, at most four, empty entries dropped.
    static QStringList readRecentFiles();
    static void writeRecentFiles(const QStringList& files);
};

// The recent-file list after using path: moved or added to the front, at
// most four entries; paths are compared as the same file.
QStringList recentFilesWith(const QStringList& current, const QString& path);
