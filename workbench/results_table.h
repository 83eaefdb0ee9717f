// The results table as plain data: its seven columns, the key column and its
// direction, the order of the rows, and the texts made from the table for
// the clipboard and for a CSV file.
//
// Columns are numbered 1 to 7 in their natural order (class, station, type,
// time, number, utilisation, throughput). sortColumn holds the key column's
// number, positive for ascending and negative for descending order. The key
// column is shown first, the other six follow in natural order.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "workbench/results_file.h"

namespace ResultsTable {

inline constexpr int kColumnCount = 7;

struct Column {
    QString heading;  // ends in two blanks; the last is replaced by the sort marker
    int width = 0;    // pixels
    bool rightAligned = false;
};

// The columns in natural order (index 0 is column 1).
const std::array<Column, kColumnCount>& columns();

// Natural numbers of the displayed columns, left to right.
std::array<int, kColumnCount> displayOrder(int sortColumn);

// The new sortColumn after a click on the heading of displayed column p
// (0-based): the key column reverses the direction, another column becomes
// the key, ascending.
int sortColumnAfterClick(int sortColumn, int displayedColumn);

// Headings in display order: the key column's ends in "»" (ascending) or
// "«" (descending), the others in a blank.
QStringList headings(int sortColumn);

// The record's text in natural column (1 to 7).
QString cellText(const ResultRecord& record, int naturalColumn);

// Row order of records sorted by the key column's text (textOrder()), in
// the key's direction; rows with equal keys keep their order in the file.
QList<int> sortedRows(const QList<ResultRecord>& records, int sortColumn);

// Clipboard text for a spreadsheet: the headings, then each row's cells in
// display order, every field ended by a tab and every line by CR LF; in each
// cell the last "." (unless it is the first character) becomes ",".
QString clipboardText(const QList<ResultRecord>& rows, int sortColumn);

// The cell as copied for a spreadsheet with decimal commas.
QString withDecimalComma(const QString& cell);

// A CSV file (RFC 4180 quoting, LF line ends) of rows in the given order: a
// header row, then the columns in natural order, names without their
// quotes, numbers with a decimal point and no padding, empty cells empty.
QString csvText(const QList<ResultRecord>& rows);

}  // namespace ResultsTable
