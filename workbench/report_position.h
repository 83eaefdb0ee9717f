// The position a line of the report names: "(line,column)" after the
// prefix of a warning or error, as the solver writes it.
#pragma once

#include <QString>

// What a report line says of a position: whether it has a '(' among its
// first 120 characters, and whether "%d,%d)" follows the first one.
struct ReportPosition {
    bool hasParenthesis = false;
    bool hasPosition = false;
    int line = -1;
    int column = -1;
};
ReportPosition reportPositionOf(const QString& lineText);
