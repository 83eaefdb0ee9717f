// Names of the files a solver run writes beside the document.
#pragma once

#include <QString>

// The path up to and including the last '.' of its file name. A file name
// without a dot gets one added ("/dir/siec" gives "/dir/siec."), so the run
// files always lie beside the document: a dot in a folder name, or none at
// all, must not send them into another folder or the current one, where they
// would overwrite whatever has that name.
QString basePathOf(const QString& documentPath);

QString diagnosticsPath(const QString& documentPath);  // base + "err"
QString resultsPath(const QString& documentPath);      // base + "wnk"
QString runSettingsPath(const QString& documentPath);  // base + "cfg"

// True when the document's own file is one of its run files (a document
// named "siec.err", "siec.wnk" or "siec.cfg"): a run would overwrite it.
bool isOwnRunFile(const QString& documentPath);
// The message that refuses to run such a document.
QString ownRunFileRefusal(const QString& documentPath);
