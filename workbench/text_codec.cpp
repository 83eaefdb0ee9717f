#include "text_codec.h"

#include "common/cp1250.h"

#include <array>

namespace {

// The line end used by most lines of the file; CR LF wins a tie and is the
// choice for a file with no line end at all, as for a new document.
QByteArray dominantLineEnd(const QByteArray& bytes) {
    qsizetype crlf = 0;
    qsizetype lf = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n') continue;
        if (i > 0 && bytes[i - 1] == '\r')
            ++crlf;
        else
            ++lf;
    }
    return lf > crlf ? QByteArray("\n") : QByteArray("\r\n");
}

// The text as a QTextDocument gives it back: a lone CR and the paragraph
// separator of toRawText() become '\n', a no-break space becomes a blank.
QString asEditorShowsIt(QString text) {
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::Nbsp, QLatin1Char(' '));
    return text;
}

}  // namespace

QString decodeCp1250(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        text.append(QChar(static_cast<char16_t>(kolt::cp1250ToUnicode(static_cast<unsigned char>(byte)))));
    return text;
}

QByteArray encodeCp1250(const QString& text) {
    // The shared table searches per character; a whole file wants a lookup.
    static const std::array<unsigned char, 0x10000> byteOf = [] {
        std::array<unsigned char, 0x10000> table{};
        table.fill('?');
        for (int byte = 0; byte < 256; ++byte)
            table[kolt::cp1250ToUnicode(static_cast<unsigned char>(byte))] = static_cast<unsigned char>(byte);
        return table;
    }();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) bytes.append(static_cast<char>(byteOf[ch.unicode()]));
    return bytes;
}

FileText decodeFileBytes(const QByteArray& bytes) {
    FileText loaded;
    loaded.original = bytes;
    loaded.lineEnd = dominantLineEnd(bytes);
    // Only CR LF pairs become '\n'; a lone CR stays in the text as it is.
    QByteArray unified = bytes;
    unified.replace("\r\n", "\n");
    loaded.text = decodeCp1250(unified);
    return loaded;
}

QByteArray encodeFileText(const QString& text, const FileText& loaded) {
    // An unedited text is written as the original bytes, so mixed line ends,
    // lone CRs and no-break spaces survive even though the editor folds them.
    if (!loaded.original.isEmpty() && asEditorShowsIt(text) == asEditorShowsIt(loaded.text)) return loaded.original;
    QString unified = text;
    unified.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    QByteArray bytes = encodeCp1250(unified);
    const QByteArray lineEnd = loaded.lineEnd.isEmpty() ? QByteArray("\r\n") : loaded.lineEnd;
    if (lineEnd != "\n") bytes.replace("\n", lineEnd);
    return bytes;
}

bool fileTooLargeToEdit(qint64 size) { return size > kEditorCapacityBytes; }
