// Network files are Windows-1250 bytes; the editor holds a QString.
//
// Loading keeps the bytes as read, so that a document saved without any edit
// is written back exactly as it came, even with mixed line ends.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

struct FileText {
    QString text;         // line ends as '\n'
    QByteArray lineEnd;   // "\r\n" or "\n": the file's dominant line end
    QByteArray original;  // the bytes as read
};

// Decodes a file's bytes. Every byte, the five the code page leaves undefined
// included, survives a decode/encode round trip. A file without line ends, or
// an empty one, gets "\r\n" as its line end for later edits.
FileText decodeFileBytes(const QByteArray& bytes);

// The exact original bytes when the text is unchanged; otherwise the text in
// Windows-1250 with every '\n' written as loaded.lineEnd. A new document is
// a default FileText with lineEnd "\r\n".
QByteArray encodeFileText(const QString& text, const FileText& loaded);

// Windows-1250 bytes of a text, with no line-end translation.
QByteArray encodeCp1250(const QString& text);

// Windows-1250 bytes decoded to a QString, with no line-end translation.
QString decodeCp1250(const QByteArray& bytes);

// The editor refuses files larger than this (64 MiB).
inline constexpr qint64 kEditorCapacityBytes = 64LL * 1024 * 1024;
bool fileTooLargeToEdit(qint64 size);
