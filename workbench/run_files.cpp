#include "run_files.h"

QString basePathOf(const QString& documentPath) {
    const qsizetype dot = documentPath.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : documentPath.left(dot + 1);
}

QString diagnosticsPath(const QString& documentPath) { return basePathOf(documentPath) + QStringLiteral("err"); }

QString resultsPath(const QString& documentPath) { return basePathOf(documentPath) + QStringLiteral("wnk"); }

QString runSettingsPath(const QString& documentPath) { return basePathOf(documentPath) + QStringLiteral("cfg"); }
