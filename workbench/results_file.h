// Reading the results file the solver writes for the workbench.
//
// Each line is one record of tab-ended fields:
//   GROUP#NUMBER>"class"<TAB>GROUP#NUMBER>"station"<TAB>TYPE<TAB>time<TAB>number<TAB>utilisation<TAB>throughput<TAB>
// The class group is 5 (all classes together), 6 (open class) or 7 (closed
// class); the station group is 2 (station with a queue) or 3 (without one).
// The file is Windows-1250 and ends with a blank line.
//
// A line that is not a whole, well-formed record (cut short, a tag that is
// not two numbers, a group that names nothing, a value that is not a number)
// is left out: the reader returns what could be read and never a row made of
// pieces of two records.
#pragma once

#include <QList>
#include <QString>
#include <array>

class QIODevice;

// The kind of a record's row: 1 STATION, 2 QUEUE, 3 SERVER; 0 any other
// type (PS and IS stations, which have no queue and server rows).
enum RecordKind : int { OtherRecord = 0, StationRecord = 1, QueueRecord = 2, ServerRecord = 3 };

struct ResultRecord {
    int classGroup = 0;
    int classNumber = 0;
    QString className;  // as written, quotes included
    int stationGroup = 0;
    int stationNumber = 0;
    QString stationName;  // as written, quotes included
    QString type;
    std::array<QString, 4> values;  // time, number, utilisation, throughput, as written (blanks when empty)

    // Identity of the class and of the station in the structure tree.
    int classKey() const { return classGroup + 8 * classNumber; }
    int stationKey() const { return stationGroup + 8 * stationNumber; }
    RecordKind kind() const;
};

struct ResultsFile {
    bool opened = false;          // false: the file could not be opened
    QList<ResultRecord> records;  // in file order
    int rejectedLines = 0;        // non-blank lines that were not a record
};

// Longest tag and field kept; a longer field is cut to this length.
inline constexpr int kResultsTagLimit = 19;
inline constexpr int kResultsFieldLimit = 119;

// The records read from an open device (a file, or a buffer in tests).
ResultsFile readResults(QIODevice& input);

// Reads the file at path (never creating it).
ResultsFile readResultsFile(const QString& path);

// A name without the double quotes the file puts around it.
QString unquotedName(const QString& name);
