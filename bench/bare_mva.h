// The reference for the exact MVA benchmarks: the recursion over all
// population vectors written as plainly as it can be, with nothing else (no
// visit ratios, no checks, no result tables). The solver's own exact MVA is
// measured against it.
#pragma once

#include <cstdint>
#include <vector>

namespace kolt::bench {

struct BareNetwork {
    int M = 0;                // stations
    std::vector<int> K;       // populations
    std::vector<double> D;    // demands, class r at station m at r*M + m
    std::vector<char> delay;  // delay (IS) station
};

struct BareResult {
    std::vector<double> X;  // class throughputs at the full population
    std::vector<double> N;  // mean number per station
};

BareResult bareExactMva(const BareNetwork& network);

// The benchmark ring of bench/network_generator.h as a bare network.
BareNetwork bareRingBenchmark(int stations, const std::vector<int>& population);

}  // namespace kolt::bench
