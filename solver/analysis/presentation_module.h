// The final results of a run: four measures (mean time, mean number of
// customers, utilisation, throughput) per station, for every class and for
// all classes together, each for the station as a whole (column 0) and for
// its queue (column 1). The value -1.0 marks a measure that does not apply
// and prints as an empty cell.
//
// A cell is addressed by (class c, station s, column k), c from -1 (all
// classes) to R-1, s from 0 to M-1, k 0 or 1, at k + 2*(s + M*(c+1)).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace kolt {

class Network;
class Reporter;
class Station;
struct AnalysisContext;

class PresentationModule {
  public:
    // Takes M, R, the station table and the visit flags (SR) from the
    // context and the class names and populations from the network; sizes the
    // four tables. Returns false when the tables cannot be had.
    bool init(const Network& network, const AnalysisContext& context);

    // Store a cell; false (nothing stored) for an address out of range.
    bool setNumber(int c, int s, int k, double value) { return set(number_, c, s, k, value); }
    bool setTime(int c, int s, int k, double value) { return set(time_, c, s, k, value); }
    bool setThroughput(int c, int s, int k, double value) { return set(throughput_, c, s, k, value); }
    bool setUtilisation(int c, int s, int k, double value) { return set(utilisation_, c, s, k, value); }

    // A cell, or 0.0 for an address out of range.
    double number(int c, int s, int k) const { return get(number_, c, s, k); }
    double time(int c, int s, int k) const { return get(time_, c, s, k); }
    double throughput(int c, int s, int k) const { return get(throughput_, c, s, k); }
    double utilisation(int c, int s, int k) const { return get(utilisation_, c, s, k); }

    // 95% half-widths, for a method that estimates its results: the cells
    // of the four tables and a third column (k = 2) for the server row.
    // Printed in the plain report after each block; empty until enabled.
    enum class Measure { Time, Number, Utilisation, Throughput };
    bool enableHalfWidths();
    bool setHalfWidth(Measure measure, int c, int s, int k, double value);
    double halfWidth(Measure measure, int c, int s, int k) const;

    int stationCount() const { return M_; }
    int classCount() const { return R_; }

    // Writes the block of class c (-1: all classes together) to standard
    // output: a plain text report, or with `machine` the tab-separated records
    // the workbench reads. Queues an Error and writes nothing when the module
    // was never initialised or c is out of range.
    bool print(int classIndex, bool machine, Reporter& reporter) const;

  private:
    bool inRange(int c, int s, int k) const { return c >= -1 && c < R_ && s >= 0 && s < M_ && (k == 0 || k == 1); }
    std::size_t cell(int c, int s, int k) const {
        return static_cast<std::size_t>(k) + 2 * (static_cast<std::size_t>(s) + static_cast<std::size_t>(M_) * (c + 1));
    }
    bool set(std::vector<double>& table, int c, int s, int k, double value);
    double get(const std::vector<double>& table, int c, int s, int k) const;
    std::size_t halfWidthCell(Measure measure, int c, int s, int k) const {
        return static_cast<std::size_t>(measure) +
               4 * (static_cast<std::size_t>(k) +
                    3 * (static_cast<std::size_t>(s) + static_cast<std::size_t>(M_) * (c + 1)));
    }
    void writeHalfWidths(std::FILE* out, int c) const;

    int M_ = 0;
    int R_ = 0;
    std::vector<const Station*> stations_;
    std::vector<int> visits_;  // M x R: s*R + r is 1 when class r visits station s
    std::vector<std::string> classNames_;
    std::vector<int> classKinds_;  // 7 closed class, 6 open class
    std::vector<double> number_, time_, throughput_, utilisation_;
    std::vector<double> halfWidths_;
};

}  // namespace kolt
