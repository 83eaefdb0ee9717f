// Positions in the flat arrays the numerical routines work on. Formulas count
// classes, stations and matrix rows from 1; these turn such a position into
// the offset of the element from the start of the array. Every array is
// stored by columns.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kolt::methods {

// Element (i, j) of a matrix of `rows` rows.
constexpr std::size_t columnMajor(int rows, int i, int j) { return static_cast<std::size_t>(j - 1) * rows + (i - 1); }

// Element (r, m) of an R x M class-by-station array: class r at station m,
// the class index running fastest. It is also the number, counted from 0, of
// the pair (station m, class r) in an open network's routing lists.
constexpr std::size_t classStation(int R, int r, int m) { return columnMajor(R, r, m); }

// The pair (station m, class r) as a row or column of an open network's
// traffic-equation matrix, counted from 1.
constexpr int trafficPair(int R, int m, int r) { return (m - 1) * R + r; }

// The station (from 1) of a pair numbered from 0.
constexpr int stationOfPair(int R, int pair) { return pair / R + 1; }

// Element (a, m, b) of an R x M x R array: one class-by-station array per
// class b, one after the other.
constexpr std::size_t classStationClass(int R, int M, int a, int m, int b) {
    return static_cast<std::size_t>(b - 1) * R * M + classStation(R, a, m);
}

// Offset in ADP of class r's routing block, whose 1-based start is INDEX(r).
constexpr std::int64_t routingBlockOffset(const int* INDEX, int r) { return INDEX[r - 1] - std::int64_t{1}; }

}  // namespace kolt::methods
