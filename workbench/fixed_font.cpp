#include "workbench/fixed_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace {

// candidate in the size and weight of preferred.
QFont sizedLike(QFont candidate, const QFont& preferred) {
    if (preferred.pixelSize() > 0)
        candidate.setPixelSize(preferred.pixelSize());
    else if (preferred.pointSizeF() > 0)
        candidate.setPointSizeF(preferred.pointSizeF());
    candidate.setWeight(preferred.weight());
    return candidate;
}

bool isFixedPitch(const QFont& font) { return QFontInfo(font).fixedPitch(); }

}  // namespace

QFont fixedPitchFont(const QFont& preferred) {
    if (isFixedPitch(preferred)) return preferred;
    const QFont system = sizedLike(QFontDatabase::systemFont(QFontDatabase::FixedFont), preferred);
    if (isFixedPitch(system)) return system;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isFixedPitch(family)) continue;
        const QFont candidate = sizedLike(QFont(family), preferred);
        if (isFixedPitch(candidate)) return candidate;
    }
    return system;
}

QFont editorFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setWeight(QFont::Normal);
    font.setPixelSize(11);
    return fixedPitchFont(font);
}
