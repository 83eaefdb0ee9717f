#include "workbench/app_settings.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QSettings store() { return QSettings(QStringLiteral("WinKolt"), QStringLiteral("WinKolt")); }

QString recentKey(int oneBased) { return QStringLiteral("Recent File List/File%1").arg(oneBased); }

}  // namespace

int AppSettings::readShowCommand(int fallback) {
    bool ok = false;
    const int value = store().value(QStringLiteral("Settings/ShowCmd"), fallback).toInt(&ok);
    return ok ? value : fallback;
}

void AppSettings::writeShowCommand(int showCommand) {
    store().setValue(QStringLiteral("Settings/ShowCmd"), showCommand);
}

QString AppSettings::readWindowPos() {
    // An INI store may hand back a text with commas as a list of strings.
    const QVariant value = store().value(QStringLiteral("Settings/WindowPos"));
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void AppSettings::writeWindowPos(const QString& text) { store().setValue(QStringLiteral("Settings/WindowPos"), text); }

QStringList AppSettings::readRecentFiles() {
    QSettings settings = store();
    QStringList files;
    for (int i = 1; i <= recentFileCount; ++i) {
        const QString path = settings.value(recentKey(i)).toString();
        if (!path.isEmpty()) files.append(path);
    }
    return files;
}

void AppSettings::writeRecentFiles(const QStringList& files) {
    QSettings settings = store();
    for (int i = 1; i <= recentFileCount; ++i) {
        if (i <= files.size())
            settings.setValue(recentKey(i), files.at(i - 1));
        else
            settings.remove(recentKey(i));
    }
}

QStringList recentFilesWith(const QStringList& current, const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files{absolute};
    for (const QString& f : current)
        if (QFileInfo(f).absoluteFilePath() != absolute) files.append(f);
    while (files.size() > AppSettings::recentFileCount) files.removeLast();
    return files;
}
