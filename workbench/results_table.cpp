#include "workbench/results_table.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "workbench/text_order.h"

namespace ResultsTable {

namespace {

const QChar ascendingMarker(0x00BB);   // »
const QChar descendingMarker(0x00AB);  // «

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}  // namespace

const std::array<Column, kColumnCount>& columns() {
    static const std::array<Column, kColumnCount> table = {{
        {QStringLiteral("Klasa  "), 100, false},
        {QStringLiteral("Stanowisko  "), 100, false},
        {QStringLiteral("Typ  "), 70, false},
        {QStringLiteral("CZAS OBSŁ.  "), 80, true},
        {QStringLiteral("LICZBA KL.  "), 80, true},
        {QStringLiteral("WYKORZYST.  "), 80, true},
        {QStringLiteral("PRZEPUST  "), 80, true},
    }};
    return table;
}

std::array<int, kColumnCount> displayOrder(int sortColumn) {
    const int key = std::abs(sortColumn);
    std::array<int, kColumnCount> order{};
    order[0] = key;
    int at = 1;
    for (int column = 1; column <= kColumnCount; ++column)
        if (column != key) order[at++] = column;
    return order;
}

int sortColumnAfterClick(int sortColumn, int displayedColumn) {
    if (displayedColumn == 0) return -sortColumn;
    // Left of the key's natural place the displayed and natural numbers
    // differ by the key column moved to the front.
    return displayedColumn < std::abs(sortColumn) ? displayedColumn : displayedColumn + 1;
}

QStringList headings(int sortColumn) {
    QStringList result;
    const std::array<int, kColumnCount> order = displayOrder(sortColumn);
    for (int i = 0; i < kColumnCount; ++i) {
        QString heading = columns()[order[i] - 1].heading;
        heading[heading.size() - 1] = i > 0 ? QLatin1Char(' ') : sortColumn > 0 ? ascendingMarker : descendingMarker;
        result << heading;
    }
    return result;
}

QString cellText(const ResultRecord& record, int naturalColumn) {
    switch (naturalColumn) {
        case 1: return record.className;
        case 2: return record.stationName;
        case 3: return record.type;
        default: return record.values[naturalColumn - 4];
    }
}

QList<int> sortedRows(const QList<ResultRecord>& records, int sortColumn) {
    QList<int> rows(records.size());
    for (int i = 0; i < rows.size(); ++i) rows[i] = i;
    const int key = std::abs(sortColumn);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(records.size());
    for (const ResultRecord& record : records) keys.push_back(textOrderKey(cellText(record, key)));
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const int order = keys[a].compare(keys[b]);
        return sortColumn > 0 ? order < 0 : order > 0;
    });
    return rows;
}

QString withDecimalComma(const QString& cell) {
    const qsizetype dot = cell.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0) return cell;
    QString copy = cell;
    copy[dot] = QLatin1Char(',');
    return copy;
}

QString clipboardText(const QList<ResultRecord>& rows, int sortColumn) {
    const QString tab = QStringLiteral("\t");
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = headings(sortColumn).join(tab) + tab + lineEnd;
    const std::array<int, kColumnCount> order = displayOrder(sortColumn);
    for (const ResultRecord& row : rows) {
        for (int column : order) text += withDecimalComma(cellText(row, column)) + tab;
        text += lineEnd;
    }
    return text;
}

QString csvText(const QList<ResultRecord>& rows) {
    QStringList header;
    for (const Column& column : columns()) header << csvField(column.heading.trimmed());
    QString text = header.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const ResultRecord& row : rows) {
        QStringList fields = {csvField(unquotedName(row.className)), csvField(unquotedName(row.stationName)),
                              csvField(row.type)};
        for (const QString& value : row.values) fields << value.trimmed();
        text += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text;
}

}  // namespace ResultsTable
