// Syntax highlighting of network definition files in the model editor.
//
// classifyNetworkLine() does the work as a plain function over one line of
// text, so that it can be checked without an editor; NetworkHighlighter only
// turns its spans into character formats.
#pragma once

#include <QList>
#include <QString>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

enum class NetworkToken {
    FileIdentifier,    // SOUR at the start of the file
    BlockMarker,       // *DECLARATION*, *DESCRIPTION*, *END*
    ObjectKeyword,     // /CLASS/, /STATION/, ... with their slashes
    ParameterKeyword,  // NAME, SCHEDULE, SERVICE, TRANSIT, ... before '=' or '('
    Distribution,      // DET, EXP, ... before '['
    Discipline,        // FIFO, PS, LIFO-PR, ... after '='
    Number,
    Comment,  // from one '!' to the next, line ends included
};

struct HighlightSpan {
    int start = 0;
    int length = 0;
    NetworkToken kind = NetworkToken::Comment;
    bool operator==(const HighlightSpan&) const = default;
};

// The spans of one line, in order. firstLine: the line is the file's first
// (its SOUR and the network name after it). inComment: on entry, whether the
// line begins inside a comment opened on an earlier line; on return, whether
// a comment is still open at its end.
QList<HighlightSpan> classifyNetworkLine(const QString& line, bool firstLine, bool& inComment);

class NetworkHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    explicit NetworkHighlighter(QTextDocument* document);

    static QTextCharFormat formatOf(NetworkToken kind);

  protected:
    void highlightBlock(const QString& text) override;
};
