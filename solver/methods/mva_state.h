// Working state of the exact MVA recursion, shared by the recursion and the
// priority approximation that it calls at fixed points of each step.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/methods/array_index.h"

namespace kolt::methods {

struct MvaState {
    int M = 0;
    int R = 0;
    const int* bound = nullptr;  // K(r) + 1: the bounds of the population index vector
    const int* TYPE = nullptr;
    const int* SR = nullptr;
    const double* D = nullptr;    // service demand THETA * TAU (TAU while the recursion runs)
    const double* tau = nullptr;  // per-visit service time
    const double* THETA = nullptr;
    double* W = nullptr;
    double* LAMBDA = nullptr;
    double* N = nullptr;
    double* queue = nullptr;           // queue table, inside ADP
    std::int64_t S = 1;                // entries per queue-table column: product of K(i)+1, i >= 2
    std::vector<std::int64_t> stride;  // s(i), 1-based; s(1) = 0 because class 1 has no place
    std::vector<int> n;                // population index vector, 1-based, entry = population + 1
    std::int64_t offset = 0;           // 0-based queue-table position of n in column 1

    // Element (r, m), 1-based, of a class-by-station array.
    std::size_t rm(int r, int m) const { return classStation(R, r, m); }
    bool visits(int r, int m) const { return (SR[rm(r, m)] & 0xFF) != 0; }
    // Queue-table entry of column j at the population whose offset is given.
    double& queueAt(int j, std::int64_t at) const { return queue[at + static_cast<std::int64_t>(j - 1) * S]; }
    // Offset of n - e_r: class 1 has no place in the address.
    std::int64_t offsetWithout(int r) const { return offset - stride[r]; }
};

}  // namespace kolt::methods
