// The run settings file: an INI file whose section "Kompilacja" holds the one
// entry "stan=%d", the outcome of the document's last solver run.
#pragma once

#include <QString>

// The state recorded in the file; 0 when the file or the section is missing,
// or when the section's first entry is not of the form "stan=%d".
int readRunState(const QString& cfgPath);

// Replaces the whole section "Kompilacja" with "stan=<state>", keeping any
// other section; writes CR LF line ends. False when the file cannot be written.
bool writeRunState(const QString& cfgPath, int state);
