// The results file: one block per class index, as a plain text report or as
// the tab-separated records that the workbench reads.
//
// Plain block:
//   <25 blanks>WYNIKI (prosty wydruk ASCII) :
//   "Bez podziału na klasy"            or   Dla klasy "NAME"
//   <31 blanks>CZAS OBSŁ. LICZBA KL. WYKORZYST. PRZEPUST.
//   " 1.Stan.           NAME" + 7 blanks + 4 cells        station row
//   24 blanks + "QUEUE " + 4 cells                        queue row
//   24 blanks + "SERVER" + 4 cells                        server row
// Machine record:
//   GROUP STATION ROW cells, where GROUP is 5#1>"Bez podziału"<TAB> or
//   KIND#(c+2)>"CLASS"<TAB>, STATION is T#(s+1)>"NAME"<TAB> with T 3 for a
//   PS or IS station and 2 otherwise, ROW is STATION, PS, IS, QUEUE or SERVER
//   followed by a tab.
// Cells, in the order time, number, utilisation, throughput: -1.0 is empty;
// anything not greater than 0 (NaN too) prints as 0; the number is cut (not
// rounded) to 10 characters of " %10.8f" (plain) or "%10.4f" (machine), or,
// when that would cut off digits before the decimal point, given in the
// exponent form that fills the 10 characters.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "solver/analysis/array_index.h"
#include "solver/analysis/presentation_module.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/model/station.h"

namespace kolt {
namespace {

constexpr int kCellWidth = 10;

// The cell of a positive value: the fixed form cut to the width, which drops
// decimals only; where the cut would drop digits before the decimal point,
// the exponent form with as many decimals as the width holds instead
// (1.0000e+11). The plain layout keeps its leading blank in both forms.
void appendNumberCell(std::string& line, double value, bool machine) {
    if (!(value > 0)) value = 0;
    char buffer[400];  // the fixed form of the largest double has 309 digits
    const int length = std::snprintf(buffer, sizeof buffer, machine ? "%10.4f" : " %10.8f", value);
    const char* point = std::strchr(buffer, '.');
    if (point != nullptr && point - buffer > kCellWidth) {
        const int room = machine ? kCellWidth : kCellWidth - 1;
        for (int decimals = room; decimals >= 0; --decimals) {
            char exponent[32];
            if (std::snprintf(exponent, sizeof exponent, "%.*e", decimals, value) <= room) {
                std::snprintf(buffer, sizeof buffer, machine ? "%*s" : " %*s", room, exponent);
                break;
            }
        }
    }
    line.append(buffer, static_cast<std::size_t>(std::clamp(length, 0, kCellWidth)));
    line += machine ? '\t' : ' ';
}

void appendEmptyCell(std::string& line, bool machine) {
    if (machine)
        line.append(12, ' ').append(1, '\t');
    else
        line.append(11, ' ');
}

void appendCell(std::string& line, double value, bool machine) {
    if (value == -1.0)
        appendEmptyCell(line, machine);
    else
        appendNumberCell(line, value, machine);
}

// The server's share: station value a minus queue value b, where a queue
// value that does not apply (or is not positive) leaves the station value.
void appendServerCell(std::string& line, double a, double b, bool machine) {
    if (a - b == 0) {
        appendEmptyCell(line, machine);
        return;
    }
    const double value = !(a > 0) ? 0.0 : !(b > 0) ? a : a - b;
    appendNumberCell(line, value, machine);
}

void write(std::FILE* out, const std::string& text) { std::fwrite(text.data(), 1, text.size(), out); }

// The lead of a station row in the plain report, numbered by `counter`.
std::string plainStationLead(int counter, const char* name) {
    std::string lead = formatText("%2d.Stan. %14s", counter, name);
    lead.append(7, ' ');
    return lead;
}

// PS and IS stations have no queue and server rows.
bool withoutQueue(const Station& station) {
    const SchedulingKind kind = station.discipline() ? station.discipline()->kind() : SchedulingKind::Fifo;
    return kind == SchedulingKind::Ps || kind == SchedulingKind::Is;
}

}  // namespace

bool PresentationModule::print(int c, bool machine, Reporter& reporter) const {
    if (M_ == 0 || R_ == 0) {
        reporter.report(Level::Error, fixedText("Nie zainicjalizowano modulu prezentacyjnego"));
        return false;
    }
    if (c < -1 || c >= R_) {
        reporter.report(Level::Error, fixedText("Modul prezentacyjny - podany zly numer klasy"));
        return false;
    }
    std::FILE* out = reporter.stream(Target::Out);

    if (!machine) {
        std::string head(25, ' ');
        head += fixedText("WYNIKI (prosty wydruk ASCII) :\n");
        head += c == -1 ? formatText("\"Bez podziału na klasy\"%s", "\n")
                        : formatText("Dla klasy \"%s\"\n", classNames_[c].c_str());
        head.append(31, ' ');
        head += fixedText("CZAS OBSŁ. LICZBA KL. WYKORZYST. PRZEPUST.\n");
        write(out, head);
    }
    const std::string group = c == -1 ? formatText("%d#%d>\"%s\"\t", 5, 1, fixedText("Bez podziału").c_str())
                                      : formatText("%d#%d>\"%s\"\t", classKinds_[c], c + 2, classNames_[c].c_str());

    int written = 0;
    for (int s = 0; s < M_; ++s) {
        if (c >= 0 && visits_[classStationIndex(R_, c, s)] == 0) continue;
        ++written;
        const Station& station = *stations_[s];
        const char* name = station.name().c_str();
        const SchedulingKind kind = station.discipline() ? station.discipline()->kind() : SchedulingKind::Fifo;
        const bool serverOnly = kind == SchedulingKind::Ps || kind == SchedulingKind::Is;

        std::string line;
        if (machine) {
            line = group + formatText("%d#%d>\"%s\"\t", serverOnly ? 3 : 2, s + 1, name);
            line += kind == SchedulingKind::Ps ? "PS\t" : kind == SchedulingKind::Is ? "IS\t" : "STATION\t";
        } else {
            line = plainStationLead(written, name);
        }
        appendCell(line, time(c, s, 0), machine);
        appendCell(line, number(c, s, 0), machine);
        appendCell(line, utilisation(c, s, 0), machine);
        appendCell(line, throughput(c, s, 0), machine);
        line += '\n';
        if (!serverOnly) {
            const std::string lead =
                machine ? group + formatText("%d#%d>\"%s\"\t", 2, s + 1, name) : std::string(24, ' ');
            line += lead + (machine ? "QUEUE\t" : "QUEUE ");
            appendCell(line, time(c, s, 1), machine);
            appendCell(line, number(c, s, 1), machine);
            appendCell(line, utilisation(c, s, 1), machine);
            appendCell(line, throughput(c, s, 1), machine);
            line += '\n';
            line += lead + (machine ? "SERVER\t" : "SERVER");
            appendServerCell(line, time(c, s, 0), time(c, s, 1), machine);
            appendServerCell(line, number(c, s, 0), number(c, s, 1), machine);
            appendServerCell(line, utilisation(c, s, 0), utilisation(c, s, 1), machine);
            appendServerCell(line, throughput(c, s, 0), throughput(c, s, 1), machine);
            line += '\n';
        }
        write(out, line);
    }
    if (!machine && !halfWidths_.empty()) writeHalfWidths(out, c);
    return true;
}

// The block's 95% half-widths in the arrangement of the block itself; the
// server row has its own (the third column), as the difference of two
// half-widths means nothing.
void PresentationModule::writeHalfWidths(std::FILE* out, int c) const {
    std::string text(25, ' ');
    text += fixedText("POŁOWY SZEROKOŚCI 95% PRZEDZIAŁÓW UFNOŚCI :\n");
    text.append(31, ' ');
    text += fixedText("CZAS OBSŁ. LICZBA KL. WYKORZYST. PRZEPUST.\n");
    int written = 0;
    for (int s = 0; s < M_; ++s) {
        if (c >= 0 && visits_[classStationIndex(R_, c, s)] == 0) continue;
        for (int k = 0; k < (withoutQueue(*stations_[s]) ? 1 : 3); ++k) {
            if (k == 0)
                text += plainStationLead(++written, stations_[s]->name().c_str());
            else
                text += std::string(24, ' ') + (k == 1 ? "QUEUE " : "SERVER");
            for (Measure measure : {Measure::Time, Measure::Number, Measure::Utilisation, Measure::Throughput})
                appendCell(text, halfWidth(measure, c, s, k), false);
            text += '\n';
        }
    }
    write(out, text);
}

}  // namespace kolt
