// Files for the workbench tests: written and read back as raw bytes.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

inline QString writeTestFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
    return path;
}

inline QByteArray readTestFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
