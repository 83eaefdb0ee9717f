// The order of texts in the results window: the table's rows by the text of
// their key column, the structure tree's classes and stations by label.
//
// Polish collation, case-insensitive ("ą" after "a", "Ż" after "z"); blanks
// sort before digits, so the right-aligned numbers of the results file come
// in numeric order as long as they have the same width.
#pragma once

#include <QCollatorSortKey>
#include <QString>

// Negative, zero or positive as a sorts before, with or after b.
int textOrder(const QString& a, const QString& b);

// The sort key of a text: comparing keys gives textOrder() of the texts,
// faster when many texts are sorted.
QCollatorSortKey textOrderKey(const QString& text);
