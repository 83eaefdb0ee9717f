#include "run_settings.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

const QString kSection = QStringLiteral("Kompilacja");
constexpr int kEntryReadLimit = 14;  // the first entry is read into 15 bytes

// The file's lines without their line ends; CR LF and LF files alike.
QStringList readLines(const QString& path, bool* exists) {
    QFile file(path);
    *exists = file.open(QIODevice::ReadOnly);
    if (!*exists) return {};
    QString text = QString::fromLatin1(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// "[name]" with blanks allowed around the name: the section's name, if any.
std::optional<QString> sectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')) || !trimmed.endsWith(QLatin1Char(']'))) return std::nullopt;
    return trimmed.mid(1, trimmed.size() - 2).trimmed();
}

bool isOurSection(const QString& line) {
    const auto name = sectionName(line);
    return name && name->compare(kSection, Qt::CaseInsensitive) == 0;
}

// Index of the first line of our section's body and one past its end, or
// (-1, -1) when the file has no such section.
std::pair<qsizetype, qsizetype> sectionBody(const QStringList& lines) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!isOurSection(lines[i])) continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !sectionName(lines[end])) ++end;
        return {i + 1, end};
    }
    return {-1, -1};
}

}  // namespace

// entry := "stan=" integer   (the first entry of [Kompilacja], at most 14 characters)
int readRunState(const QString& cfgPath) {
    bool exists = false;
    const QStringList lines = readLines(cfgPath, &exists);
    const auto [begin, end] = sectionBody(lines);
    for (qsizetype i = begin; i >= 0 && i < end; ++i) {
        const QString entry = lines[i].trimmed();
        if (entry.isEmpty() || entry.startsWith(QLatin1Char(';'))) continue;
        const QByteArray first = entry.left(kEntryReadLimit).toLatin1();
        int state = 0;
        return std::sscanf(first.constData(), "stan=%d", &state) == 1 ? state : 0;
    }
    return 0;
}

bool writeRunState(const QString& cfgPath, int state) {
    bool exists = false;
    QStringList lines = readLines(cfgPath, &exists);
    const QString entry = QStringLiteral("stan=%1").arg(state);
    const auto [begin, end] = sectionBody(lines);
    if (begin < 0) {
        lines << QLatin1Char('[') + kSection + QLatin1Char(']') << entry;
    } else {
        // Blank lines that set the next section apart stay where they are.
        qsizetype bodyEnd = end;
        while (bodyEnd > begin && lines[bodyEnd - 1].trimmed().isEmpty()) --bodyEnd;
        lines.remove(begin, bodyEnd - begin);
        lines.insert(begin, entry);
    }
    QSaveFile file(cfgPath);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
    return file.commit();
}
