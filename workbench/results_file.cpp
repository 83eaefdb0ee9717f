#include "workbench/results_file.h"

#include <QFile>
#include <QRegularExpression>
#include <limits>
#include <optional>

#include "workbench/text_codec.h"

namespace {

// Bytes of one line kept; the rest of a longer line is dropped unread, as
// no record needs more than its eight fields of at most 119 characters.
constexpr qint64 kLineByteLimit = 64 * 1024;

struct Tag {
    int group = 0;
    int number = 0;
};

// tag := blanks? digits "#" blanks? digits blanks?
// The number must keep group + 8 * number within an int.
std::optional<Tag> parseTag(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,9})#\\s*(\\d{1,9})\\s*$"));
    if (text.size() > kResultsTagLimit) return std::nullopt;
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) return std::nullopt;
    const int group = match.captured(1).toInt();
    const int number = match.captured(2).toInt();
    if (number < 1 || number > (std::numeric_limits<int>::max() - 7) / 8) return std::nullopt;
    return Tag{group, number};
}

// An empty cell is blanks; a number cell a decimal number, blanks around it.
bool isValueCell(const QString& cell) {
    static const QRegularExpression number(QStringLiteral("^\\s*([-+]?\\d+(\\.\\d*)?)?\\s*$"));
    return number.match(cell).hasMatch();
}

// Control characters (and the bytes the code page leaves undefined, which
// decode to C1 controls) would show as nothing or break a row's layout.
QString printable(QString text) {
    for (QChar& ch : text)
        if (ch.category() == QChar::Other_Control) ch = QChar::ReplacementCharacter;
    return text.left(kResultsFieldLimit);
}

// record := tag ">" name TAB tag ">" name TAB type TAB value TAB value TAB value TAB value TAB rest
std::optional<ResultRecord> parseRecord(const QString& line) {
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() < 8) return std::nullopt;  // cut short: the last value has no tab after it

    ResultRecord record;
    auto splitTagged = [](const QString& field, Tag& tag, QString& name) {
        const qsizetype close = field.indexOf(QLatin1Char('>'));
        if (close < 0) return false;
        const std::optional<Tag> parsed = parseTag(field.left(close));
        if (!parsed) return false;
        tag = *parsed;
        name = printable(field.mid(close + 1));
        return true;
    };
    Tag classTag, stationTag;
    if (!splitTagged(fields[0], classTag, record.className) || !splitTagged(fields[1], stationTag, record.stationName))
        return std::nullopt;
    // Groups that name no place in the structure tree could never be shown
    // or filtered.
    if (classTag.group < 5 || classTag.group > 7 || (stationTag.group != 2 && stationTag.group != 3))
        return std::nullopt;
    record.classGroup = classTag.group;
    record.classNumber = classTag.number;
    record.stationGroup = stationTag.group;
    record.stationNumber = stationTag.number;
    record.type = printable(fields[2]);
    for (int i = 0; i < 4; ++i) {
        if (!isValueCell(fields[3 + i])) return std::nullopt;
        record.values[i] = fields[3 + i].left(kResultsFieldLimit);
    }
    return record;
}

void addLine(ResultsFile& file, QByteArray line) {
    if (line.endsWith('\r')) line.chop(1);  // the file is read as text
    const QString text = decodeCp1250(line);
    if (text.trimmed().isEmpty()) return;  // the blank line that ends the file
    if (std::optional<ResultRecord> record = parseRecord(text))
        file.records.append(*record);
    else
        ++file.rejectedLines;
}

}  // namespace

RecordKind ResultRecord::kind() const {
    if (type == QLatin1String("STATION")) return StationRecord;
    if (type == QLatin1String("QUEUE")) return QueueRecord;
    if (type == QLatin1String("SERVER")) return ServerRecord;
    return OtherRecord;
}

ResultsFile readResults(QIODevice& input) {
    ResultsFile file;
    file.opened = true;
    while (!input.atEnd()) {
        QByteArray line = input.readLine(kLineByteLimit + 1);
        if (line.endsWith('\n')) {
            line.chop(1);
        } else {
            // An over-long line: its rest is dropped up to the newline.
            while (!input.atEnd() && !input.readLine(kLineByteLimit).endsWith('\n')) {
            }
        }
        addLine(file, line.left(kLineByteLimit));
    }
    return file;
}

ResultsFile readResultsFile(const QString& path) {
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) return {};
    return readResults(input);
}

QString unquotedName(const QString& name) {
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        return name.mid(1, name.size() - 2);
    return name;
}
