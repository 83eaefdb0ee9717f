// Positions in the solver arrays as the analysis counts them: classes,
// stations and (station, class) pairs from 0. They are the positions the
// numerical routines compute from 1, so that the element the analysis fills
// is the one the method reads.
#pragma once

#include <cstddef>

#include "solver/methods/array_index.h"

namespace kolt {

// Element (class r, station s) of an R x M class-by-station array, at
// s*R + r; also the number of the pair (station s, class r) of an open
// network.
constexpr std::size_t classStationIndex(int R, int r, int s) { return methods::classStation(R, r + 1, s + 1); }

// Element (i, j) of a matrix of `rows` rows stored by columns, at j*rows + i.
constexpr std::size_t columnMajorIndex(std::size_t rows, std::size_t i, std::size_t j) { return j * rows + i; }

}  // namespace kolt
