// Results files for the results window tests: records in the solver's
// WINKOLT layout, written as Windows-1250 bytes.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QStringList>

#include "workbench/results_file.h"
#include "workbench/text_codec.h"

// One record line: class tag and name, station tag and name, type and the
// four cells (blank cells as the solver writes them: twelve blanks).
inline QByteArray resultsLine(const QString& classTag, const QString& className, const QString& stationTag,
                              const QString& stationName, const QString& type, const QStringList& cells) {
    QString line = classTag + QStringLiteral(">\"") + className + QStringLiteral("\"\t") + stationTag +
                   QStringLiteral(">\"") + stationName + QStringLiteral("\"\t") + type + QLatin1Char('\t');
    for (const QString& cell : cells)
        line += (cell.isEmpty() ? QString(12, QLatin1Char(' ')) : cell.rightJustified(10)) + QLatin1Char('\t');
    return encodeCp1250(line) + '\n';
}

// A mixed network's results: all classes (5#1), an open class (6#2) and a
// closed one (7#3); a FIFO station "Kolejka" (2#1) and a second one "Dysk"
// (2#3) with queue and server rows, and an IS station "Opoznienie" (3#2).
inline QByteArray mixedResults() {
    QByteArray bytes;
    const QList<QPair<QString, QString>> groups = {{QStringLiteral("5#1"), QStringLiteral("Bez podziału")},
                                                   {QStringLiteral("6#2"), QStringLiteral("Otwarta")},
                                                   {QStringLiteral("7#3"), QStringLiteral("Zamknieta")}};
    for (const auto& [tag, name] : groups) {
        for (const auto& [stationTag, station] :
             {QPair<QString, QString>{QStringLiteral("2#1"), QStringLiteral("Kolejka")},
              QPair<QString, QString>{QStringLiteral("2#3"), QStringLiteral("Dysk")}}) {
            bytes += resultsLine(tag, name, stationTag, station, QStringLiteral("STATION"),
                                 {QStringLiteral("0.5000"), QStringLiteral("1.2500"), QStringLiteral("0.4000"),
                                  QStringLiteral("2.5000")});
            bytes +=
                resultsLine(tag, name, stationTag, station, QStringLiteral("QUEUE"),
                            {QStringLiteral("0.1000"), QStringLiteral("0.2500"), QString(), QStringLiteral("2.5000")});
            bytes +=
                resultsLine(tag, name, stationTag, station, QStringLiteral("SERVER"),
                            {QStringLiteral("0.4000"), QStringLiteral("1.0000"), QStringLiteral("0.4000"), QString()});
        }
        bytes += resultsLine(tag, name, QStringLiteral("3#2"), QStringLiteral("Opoznienie"), QStringLiteral("IS"),
                             {QStringLiteral("3.0000"), QStringLiteral("7.5000"), QString(), QStringLiteral("2.5000")});
    }
    return bytes + '\n';  // the blank line that ends the file
}

inline ResultsFile readResultsBytes(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readResults(buffer);
}
