// Builds the flat arrays the numerical routines take from a readable network
// description, in the layout the analysis driver produces: class-by-station
// arrays by columns (class fastest), compressed routing blocks in ADP
// addressed by INDEX, the transposed open routing matrix BP.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "solver/methods/methods.h"
#include "solver/methods/traffic_equations.h"

namespace kolt::methods::testing {

// routing[r][i][j]: probability that a class-r customer leaving station i
// (0-based) goes to station j; the rest of a row leaves the network.
using Routing = std::vector<std::vector<std::vector<double>>>;

struct ClosedArrays {
    int M = 0;
    int R = 0;
    std::int64_t L = 0;
    std::vector<int> K, TYPE, SR, SN, INDEX;
    std::vector<double> TAU, THETA, W, N, LAMBDA, ADP;

    double& tau(int r, int m) { return TAU[(m - 1) * R + (r - 1)]; }
    double theta(int r, int m) const { return THETA[(m - 1) * R + (r - 1)]; }
    double w(int r, int m) const { return W[(m - 1) * R + (r - 1)]; }
};

// serviceTime[r][m] (0-based): mean service time; 0 where the class has none.
// hmva sizes ADP and the outputs for the approximate method.
inline ClosedArrays buildClosed(const std::vector<int>& population, const std::vector<int>& type,
                                const Routing& routing, const std::vector<std::vector<double>>& serviceTime,
                                bool hmva = false) {
    ClosedArrays a;
    a.R = static_cast<int>(population.size());
    a.M = static_cast<int>(type.size());
    const int R = a.R, M = a.M;
    a.K = population;
    a.TYPE = type;
    a.SR.assign(R * M, 0);
    a.SN.assign(R, 0);
    a.TAU.assign(R * M, 0.0);
    for (int r = 0; r < R; ++r)
        for (int i = 0; i < M; ++i) {
            a.TAU[i * R + r] = serviceTime[r][i];
            for (int j = 0; j < M; ++j)
                if (routing[r][i][j] > 0.0) a.SR[j * R + r] = 1;
        }
    for (int r = 0; r < R; ++r)
        for (int m = 0; m < M; ++m) a.SN[r] += a.SR[m * R + r];

    std::int64_t L = hmva ? 2LL * R * R * M : M;
    if (!hmva)
        for (int k : population) L *= k + 1;
    a.L = std::max<std::int64_t>(L, static_cast<std::int64_t>(R + 1) * (M + 1) * (M + 1));
    // Everything outside the routing blocks holds rubbish, as the driver's
    // in-place compaction may leave it: the routines must not rely on it.
    a.ADP.assign(a.L, 7.25);
    a.INDEX.assign(R + 1, 1);
    for (int r = 0; r < R; ++r) {
        std::vector<int> visited;
        for (int m = 0; m < M; ++m)
            if (a.SR[m * R + r]) visited.push_back(m);
        const int n = a.SN[r] + 1;
        for (int j = 0; j < n - 1; ++j)
            for (int i = 0; i < n - 1; ++i) a.ADP[a.INDEX[r] - 1 + i + n * j] = routing[r][visited[i]][visited[j]];
        a.INDEX[r + 1] = a.INDEX[r] + n * n;
    }
    a.THETA.assign(R * M, -1.0);
    a.W.assign(R * M, -1.0);
    a.N.assign(hmva ? R * M : M, -1.0);
    a.LAMBDA.assign(hmva ? R * M : R, -1.0);
    return a;
}

struct OpenArrays {
    int M = 0;
    int R = 0;
    std::vector<int> TYPE;
    std::vector<double> BP, BP1, TAU, LAMBN, OBCN, ENKN, ENTN, MIN, LMBNR, OBCNR, ENRKNR, ENRTNR;
    std::vector<double> CBNR2, CBN2, C0NR2, RJI, G, CAN2;

    std::size_t rm(int r, int m) const { return static_cast<std::size_t>(m - 1) * R + (r - 1); }
};

// rate[r][m]: service rate (1 / mean), 0 where the class is not served;
// arrivals[r][m]: external Poisson rate of class r into station m;
// serviceScv / arrivalScv: squared coefficients of variation (DIFF).
inline OpenArrays buildOpen(const std::vector<int>& type, const Routing& routing,
                            const std::vector<std::vector<double>>& rate,
                            const std::vector<std::vector<double>>& arrivals,
                            const std::vector<std::vector<double>>& serviceScv = {},
                            const std::vector<std::vector<double>>& arrivalScv = {}) {
    OpenArrays a;
    a.R = static_cast<int>(rate.size());
    a.M = static_cast<int>(type.size());
    const int R = a.R, M = a.M, RM = R * M;
    a.TYPE = type;
    a.BP.assign(static_cast<std::size_t>(RM) * (RM + 1), 0.0);
    a.TAU.assign(RM, 0.0);
    a.CBNR2.assign(RM, 0.0);
    a.C0NR2.assign(RM, 0.0);
    for (int r = 0; r < R; ++r)
        for (int i = 0; i < M; ++i) {
            a.TAU[i * R + r] = rate[r][i];
            if (!serviceScv.empty()) a.CBNR2[i * R + r] = serviceScv[r][i];
            for (int j = 0; j < M; ++j) a.BP[static_cast<std::size_t>(i * R + r) * RM + (j * R + r)] = routing[r][i][j];
            if (arrivals[r][i] > 0.0) {
                a.BP[static_cast<std::size_t>(RM) * RM + (i * R + r)] -= arrivals[r][i];
                // One source per pair: the term (c^2 - 1) p + 1 with p = 1.
                a.C0NR2[i * R + r] += arrivalScv.empty() ? 1.0 : arrivalScv[r][i];
            }
        }
    a.BP1.assign(a.BP.size(), 0.0);
    for (auto* v : {&a.LAMBN, &a.OBCN, &a.ENKN, &a.ENTN, &a.MIN, &a.CBN2, &a.CAN2}) v->assign(M, -1.0);
    for (auto* v : {&a.LMBNR, &a.OBCNR, &a.ENRKNR, &a.ENRTNR}) v->assign(RM, -1.0);
    a.RJI.assign(static_cast<std::size_t>(M) * M, 0.0);
    a.G.assign(static_cast<std::size_t>(2 * M) * (2 * M + 1), 0.0);
    return a;
}

// The routing of built open arrays as the lists a large network comes with.
inline OpenRouting openRoutingOf(const OpenArrays& a) {
    const int RM = a.R * a.M;
    OpenRouting lists;
    lists.start.push_back(0);
    for (int j = 0; j < RM; ++j) {
        for (int i = 0; i < RM; ++i) {
            const double p = a.BP[static_cast<std::size_t>(j) * RM + i];
            if (p == 0.0) continue;
            lists.target.push_back(i);
            lists.probability.push_back(p);
        }
        lists.start.push_back(static_cast<std::int64_t>(lists.target.size()));
    }
    lists.minusExternalRate.assign(a.BP.begin() + static_cast<std::size_t>(RM) * RM, a.BP.end());
    return lists;
}

// The methods over built arrays with the dense routing; each returns its
// failure code (0: solved) and the open ones the station they stopped at.
inline int runExactMva(ClosedArrays& a, std::FILE* roLines = nullptr) {
    int failed = -1;
    exactMva(a.M, a.R, a.L, a.K.data(), a.TYPE.data(), a.SR.data(), a.TAU.data(), a.SN.data(), a.ADP.data(),
             a.INDEX.data(), 0, a.THETA.data(), a.N.data(), a.W.data(), a.LAMBDA.data(), failed, roLines);
    return failed;
}
inline int runApproximateMva(ClosedArrays& a) {
    int failed = -1;
    approximateMva(a.M, a.R, a.L, a.K.data(), a.TYPE.data(), a.SR.data(), a.TAU.data(), a.SN.data(), a.ADP.data(),
                   a.INDEX.data(), 0, a.THETA.data(), a.LAMBDA.data(), a.W.data(), a.N.data(), failed);
    return failed;
}
inline void runJackson(OpenArrays& a, int& code, int& station) {
    jackson(a.M, a.R, a.TYPE.data(), a.BP.data(), a.LAMBN.data(), a.OBCN.data(), a.ENKN.data(), a.ENTN.data(),
            a.LMBNR.data(), a.OBCNR.data(), a.ENRKNR.data(), a.ENRTNR.data(), a.MIN.data(), a.TAU.data(), code,
            station);
}
inline void runDiffusion(OpenArrays& a, int& code, int& station) {
    double work = 0.0;
    diffusion(a.M, a.R, a.BP.data(), a.BP1.data(), a.LAMBN.data(), a.OBCN.data(), a.ENKN.data(), a.ENTN.data(),
              a.LMBNR.data(), a.OBCNR.data(), a.ENRKNR.data(), a.ENRTNR.data(), a.MIN.data(), a.TAU.data(),
              a.CBN2.data(), a.CBNR2.data(), a.C0NR2.data(), a.RJI.data(), a.G.data(), a.CAN2.data(), code, station,
              work);
}

}  // namespace kolt::methods::testing
