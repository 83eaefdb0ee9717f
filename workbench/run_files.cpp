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

bool isOwnRunFile(const QString& documentPath) {
    return !documentPath.isEmpty() &&
           (documentPath == diagnosticsPath(documentPath) || documentPath == resultsPath(documentPath) ||
            documentPath == runSettingsPath(documentPath));
}

QString ownRunFileRefusal(const QString& documentPath) {
    return QStringLiteral(
               "Nie można uruchomić analizy dokumentu %1: wyniki analizy zostałyby zapisane "
               "w tym samym pliku i zniszczyłyby jego treść. Zapisz dokument pod inną nazwą "
               "(z rozszerzeniem .klt).")
        .arg(documentPath);
}
