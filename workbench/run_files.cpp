#include "run_files.h"

QString basePathOf(const QString& documentPath) {
    if (documentPath.isEmpty()) return {};
    const qsizetype nameStart = documentPath.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = documentPath.lastIndexOf(QLatin1Char('.'));
    return dot < nameStart ? documentPath + QLatin1Char('.') : documentPath.left(dot + 1);
}

QString diagnosticsPath(const QString& documentPath) { return basePathOf(documentPath) + QStringLiteral("err"); }

QString resultsPath(const QString& documentPath) { return basePathOf(documentPath) + QStringLiteral("wnk"); }

QString runSettingsPath(const QString& documentPath) { return basePathOf(documentPath) + QStringLiteral("cfg"); }
