// Names of the files a solver run writes beside the document.
#pragma once

#include <QString>

// The path up to and including its last '.'; "" when it has none. The dot may
// lie in a folder name: the solver side names its files by the same rule.
QString basePathOf(const QString& documentPath);

QString diagnosticsPath(const QString& documentPath);  // base + "err"
QString resultsPath(const QString& documentPath);      // base + "wnk"
QString runSettingsPath(const QString& documentPath);  // base + "cfg"
