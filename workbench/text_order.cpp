#include "workbench/text_order.h"

#include <QCollator>
#include <QLocale>

namespace {

const QCollator& collator() {
    static const QCollator polish = [] {
        QCollator c(QLocale(QLocale::Polish, QLocale::Poland));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);
        c.setIgnorePunctuation(false);
        return c;
    }();
    return polish;
}

}  // namespace

int textOrder(const QString& a, const QString& b) { return collator().compare(a, b); }

QCollatorSortKey textOrderKey(const QString& text) { return collator().sortKey(text); }
