// One row of M doubles per population of classes 2..R (class 1 varies
// slowest and overwrites its rows), holding 1 + the mean queue; classes
// counted from 0 here.
#include "bench/bare_mva.h"

#include <cstdlib>

#include "bench/network_generator.h"

namespace kolt::bench {

BareResult bareExactMva(const BareNetwork& net) {
    const int M = net.M;
    const int R = static_cast<int>(net.K.size());
    std::vector<std::int64_t> stride(R, 0);
    std::int64_t rows = 1;
    for (int r = 1; r < R; ++r) {
        stride[r] = rows * M;
        rows *= net.K[r] + 1;
    }
    double* Q = static_cast<double*>(std::malloc(sizeof(double) * static_cast<std::size_t>(rows * M)));
    std::vector<double> W(static_cast<std::size_t>(R) * M, 0.0), X(R, 0.0);
    std::vector<int> n(R, 0);
    for (int m = 0; m < M; ++m) Q[m] = 1.0;
    std::int64_t at = 0;
    for (;;) {
        for (int r = 0; r < R; ++r) {
            if (n[r] == 0) {
                X[r] = 0.0;
                continue;
            }
            const double* previous = Q + at - stride[r];
            double sum = 0.0;
            for (int m = 0; m < M; ++m) {
                const double d = net.D[r * M + m];
                const double w = net.delay[m] ? d : d * previous[m];
                W[r * M + m] = w;
                sum += w;
            }
            X[r] = n[r] / sum;
        }
        double* row = Q + at;
        for (int m = 0; m < M; ++m) {
            double q = 1.0;
            for (int r = 0; r < R; ++r)
                if (n[r] > 0) q += W[r * M + m] * X[r];
            row[m] = q;
        }
        int r = R - 1;
        for (; r >= 0; --r) {
            if (n[r] < net.K[r]) {
                ++n[r];
                at += stride[r];
                break;
            }
            at -= n[r] * stride[r];
            n[r] = 0;
        }
        if (r < 0) break;
    }
    BareResult result{X, std::vector<double>(M)};
    for (int m = 0; m < M; ++m) result.N[m] = Q[at + m] - 1.0;
    std::free(Q);
    return result;
}

BareNetwork bareRingBenchmark(int stations, const std::vector<int>& population) {
    BareNetwork net;
    net.M = stations;
    net.K = population;
    const int R = static_cast<int>(population.size());
    net.D.resize(static_cast<std::size_t>(R) * stations);
    net.delay.resize(stations);
    for (int m = 0; m < stations; ++m) {
        net.delay[m] = ringBenchmarkDelayStation(m);
        for (int r = 0; r < R; ++r) net.D[r * stations + m] = ringBenchmarkServiceTime(r, m);
    }
    return net;
}

}  // namespace kolt::bench
