// The bare exact MVA loop as a program, for whole-process time and memory:
//   kolt-bare-mva STATIONS K1 [K2 ...]
// solves the benchmark ring and prints the throughputs and mean numbers.
#include <cstdio>
#include <cstdlib>

#include "bench/bare_mva.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("kolt-bare-mva STATIONS K1 [K2 ...]\n", stderr);
        return 2;
    }
    std::vector<int> population;
    for (int i = 2; i < argc; ++i) population.push_back(std::atoi(argv[i]));
    const kolt::bench::BareResult result =
        kolt::bench::bareExactMva(kolt::bench::bareRingBenchmark(std::atoi(argv[1]), population));
    for (double x : result.X) std::printf("X %.10f\n", x);
    for (double n : result.N) std::printf("N %.10f\n", n);
    return 0;
}
