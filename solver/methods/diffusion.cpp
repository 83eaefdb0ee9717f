// Diffusion approximation for open multi-class networks (DIFF).
//
// Assumptions: single-server FIFO stations with general service times (mean
// 1/mu(r, m), squared coefficient of variation cs(r, m)), renewal external
// arrivals (squared coefficient c0(r, m)), class-dependent routing; the flow
// into each station is approximated as a renewal process described by its
// first two moments, and its queue by a diffusion process (Gelenbe 1975;
// Kobayashi, J. ACM 21(2), 1974).
//
// After the traffic equations (shared with JACKSON) give lambda(r, m):
//   rho(m) = sum_r lambda(r, m) / mu(r, m),  lambda(m) = sum_r lambda(r, m)
//   RJI(j, i) = sum_r P(j -> i, r) lambda(r, j) / lambda(j)
// and one linear system of 2M unknowns links the departure variabilities
// cd(m) and the arrival variabilities ca(m):
//   cd(m) = (1 - rho) ca(m) + lambda(m) s(m) + (1 - rho)(1 + 2 rho) - 1,
//           s(m) = sum_r lambda(r, m) (cs(r, m) + 1) / mu(r, m)^2
//   ca(i) = sum_j (lambda(j) RJI(j, i) / lambda(i)) (RJI(j, i) cd(j) + 1 - RJI(j, i))
//           + sum_r (lambda0(r, i) / lambda(i)) c0(r, i)
// solved by Gauss-Jordan elimination without pivoting (by the sparse LU when
// the routing comes as lists: the system then has about 3M + transitions
// entries, and RJI is kept per station as lists too). Then per station, with
// the aggregate rate mu(m) = lambda(m) / rho(m) and
//   cb(m) = mu(m)^2 sum_r (lambda(r, m) / lambda(m)) (cs(r, m) + 1) / mu(r, m)^2 - 1,
//   N(m) = rho (1/2 + (rho ca(m) + cb(m)) / (2 (1 - rho))),  T(m) = N(m) / lambda(m),
//   T(r, m) = 1 / mu(r, m) - 1 / mu(m) + T(m),  N(r, m) = T(r, m) lambda(r, m).
// With Poisson arrivals and exponential service N(m) = rho / (1 - rho). Where
// rho ca(m) + cb(m) < 1 - rho the formula gives fewer customers than are in
// service; N(m) is then rho (an empty queue), so T(m) is the mean service
// time and T(r, m) the class's own.
//
// Cost O((RM)^3 + M^3) dense, near linear in the transitions from lists.
// Outside the assumptions: rho >= 1 anywhere (code 30,
// checked at every station first), a station nobody reaches (code 26, before
// anything divides by its zero arrival rate), a closed loop (code 33); a
// singular variability system is also reported as code 33.
#include <cstddef>

#include <vector>

#include "solver/methods/array_index.h"
#include "solver/methods/gauss_jordan.h"
#include "solver/methods/method_codes.h"
#include "solver/methods/methods.h"
#include "solver/methods/sparse_system.h"
#include "solver/methods/traffic_equations.h"

namespace kolt::methods {
namespace {

// Every station's load once the arrival rates are known, in station order;
// false with kOverloaded at the first station without a steady state.
bool loadStations(int M, int R, const double* TAU, const double* LMBNR, double* OBCNR, double* LAMBN, double* OBCN,
                  int& code, int& station) {
    for (station = 1; station <= M; ++station) {
        const int m = station;
        stationLoad(R, m, TAU, LMBNR, OBCNR, LAMBN, OBCN);
        if (!(OBCN[m - 1] < 1.0)) {  // NaN or infinite too: an unbounded load
            code = kOverloaded;
            return false;
        }
    }
    return true;
}

// The variability system divides by every station's arrival rate: false
// with kZeroUtilisation at the first station that nobody reaches.
bool everyStationReached(int M, const double* LAMBN, const double* OBCN, int& code, int& station) {
    for (station = 1; station <= M; ++station)
        if (LAMBN[station - 1] == 0.0 || OBCN[station - 1] == 0.0) {
            code = kZeroUtilisation;
            return false;
        }
    return true;
}

// Right-hand side of station m's departure-variability row,
// lambda(m) s(m) + (1 - rho)(1 + 2 rho) - 1; `work` receives s(m).
double departureTerm(int R, int m, const double* LAMBN, const double* OBCN, const double* LMBNR, const double* TAU,
                     const double* CBNR2, double& work) {
    const double rho = OBCN[m - 1];
    work = 0.0;
    for (int r = 1; r <= R; ++r) {
        const std::size_t x = classStation(R, r, m);
        const double mu = TAU[x];
        if (mu != 0.0) work += LMBNR[x] * (CBNR2[x] + 1.0) / (mu * mu);
    }
    return LAMBN[m - 1] * work + (1.0 - rho) * (2.0 * rho + 1.0) - 1.0;
}

// RJI(j, i), the share of the customers leaving station j that go next to
// station i, from the routing as it was before the traffic equations (BP1).
void aggregateRouting(int M, int R, const double* BP1, const double* LMBNR, const double* LAMBN, double* RJI) {
    const int RM = R * M;
    for (int j = 1; j <= M; ++j)
        for (int i = 1; i <= M; ++i) {
            double sum = 0.0;
            for (int r = 1; r <= R; ++r)
                sum += BP1[columnMajor(RM, trafficPair(R, i, r), trafficPair(R, j, r))] * LMBNR[classStation(R, r, j)] /
                       LAMBN[j - 1];
            RJI[columnMajor(M, j, i)] = sum;
        }
}

// The variability system in G, 2M x (2M+1) by columns: rows and columns
// 1..M for the departure variabilities, M+1..2M for the arrival
// variabilities, the right-hand side last. CAN2 receives the arrival
// variabilities; false on a zero pivot.
bool solveVariability(int M, int R, const double* BP1, const double* RJI, const double* LAMBN, const double* OBCN,
                      const double* LMBNR, const double* TAU, const double* CBNR2, const double* C0NR2, double* G,
                      double* CAN2, double& work) {
    const int RM = R * M;
    const int n = 2 * M;
    auto g = [G, n](int i, int j) -> double& { return G[columnMajor(n, i, j)]; };
    for (std::size_t x = 0; x < static_cast<std::size_t>(n) * (n + 1); ++x) G[x] = 0.0;
    for (int k = 1; k <= n; ++k) g(k, k) = 1.0;
    for (int m = 1; m <= M; ++m) {
        g(m, M + m) = OBCN[m - 1] - 1.0;
        g(m, n + 1) = departureTerm(R, m, LAMBN, OBCN, LMBNR, TAU, CBNR2, work);
    }
    for (int i = 1; i <= M; ++i) {
        const double lambda = LAMBN[i - 1];
        double rhs = 0.0;
        for (int j = 1; j <= M; ++j) {
            const double p = RJI[columnMajor(M, j, i)];
            g(M + i, j) = -p * p * LAMBN[j - 1] / lambda;
            rhs += (1.0 - p) * p * LAMBN[j - 1] / lambda;
        }
        for (int r = 1; r <= R; ++r)
            rhs -= BP1[columnMajor(RM, trafficPair(R, i, r), RM + 1)] * C0NR2[classStation(R, r, i)] / lambda;
        g(M + i, n + 1) = rhs;
    }
    if (!eliminateGaussJordan(n, G)) return false;
    for (int m = 1; m <= M; ++m) CAN2[m - 1] = g(M + m, n + 1);
    return true;
}

// The variability system from routing lists: RJI as per-station lists, G as
// a sparse matrix of 2M columns; CAN2 receives the arrival variabilities.
// False when G is singular or too badly conditioned to trust.
bool solveVariabilityFromLists(int M, int R, const OpenRouting& routing, const double* LAMBN, const double* OBCN,
                               const double* LMBNR, const double* TAU, const double* CBNR2, const double* C0NR2,
                               double* CAN2, double& work) {
    // RJI(j, i) for the stations i that station j sends customers to.
    std::vector<std::int64_t> rjiStart{0};
    std::vector<int> rjiTo;
    std::vector<double> rjiValue;
    std::vector<double> share(M + 1, 0.0);
    std::vector<int> seenFrom(M + 1, 0);  // the station j whose lists last touched i
    std::vector<int> touched;
    for (int j = 1; j <= M; ++j) {
        for (int r = 1; r <= R; ++r) {
            const std::size_t pair = classStation(R, r, j);
            for (std::int64_t k = routing.start[pair]; k < routing.start[pair + 1]; ++k) {
                const int i = stationOfPair(R, routing.target[k]);
                if (seenFrom[i] != j) {
                    seenFrom[i] = j;
                    touched.push_back(i);
                }
                share[i] += routing.probability[k] * LMBNR[pair] / LAMBN[j - 1];
            }
        }
        for (int i : touched) {
            rjiTo.push_back(i);
            rjiValue.push_back(share[i]);
            share[i] = 0.0;
        }
        touched.clear();
        rjiStart.push_back(static_cast<std::int64_t>(rjiTo.size()));
    }

    // Columns 1..M: departure variabilities; M+1..2M: arrival variabilities.
    const int n = 2 * M;
    SparseColumns G;
    std::vector<double> b(n, 0.0);
    for (int j = 1; j <= M; ++j) {
        G.add(j - 1, 1.0);
        for (std::int64_t k = rjiStart[j - 1]; k < rjiStart[j]; ++k) {
            const int i = rjiTo[k];
            const double p = rjiValue[k];
            G.add(M + i - 1, -p * p * LAMBN[j - 1] / LAMBN[i - 1]);
            b[M + i - 1] += (1.0 - p) * p * LAMBN[j - 1] / LAMBN[i - 1];
        }
        G.endColumn();
    }
    for (int m = 1; m <= M; ++m) {
        G.add(m - 1, OBCN[m - 1] - 1.0);
        G.add(M + m - 1, 1.0);
        G.endColumn();
        b[m - 1] = departureTerm(R, m, LAMBN, OBCN, LMBNR, TAU, CBNR2, work);
        for (int r = 1; r <= R; ++r) {
            const std::size_t x = classStation(R, r, m);
            b[M + m - 1] -= routing.minusExternalRate[x] * C0NR2[x] / LAMBN[m - 1];
        }
    }
    if (!solveSparse(G, b.data(), b.data())) return false;
    for (int m = 1; m <= M; ++m) CAN2[m - 1] = b[M + m - 1];
    return true;
}

// Each station as a single-server queue by the diffusion formula, once the
// arrival variabilities are known; stops at the first station that cannot be
// evaluated.
void evaluateStations(int M, int R, const double* LAMBN, const double* OBCN, const double* LMBNR, const double* TAU,
                      const double* CBNR2, const double* CAN2, double* MIN, double* CBN2, double* ENKN, double* ENTN,
                      double* ENRTNR, double* ENRKNR, int& code, int& station) {
    for (station = 1; station <= M; ++station) {
        const int m = station;
        const double rho = OBCN[m - 1];
        const double lambda = LAMBN[m - 1];
        if (rho == 0.0) {
            code = kZeroUtilisation;
            return;
        }
        MIN[m - 1] = lambda / rho;
        if (MIN[m - 1] == 0.0) {
            code = kInfiniteServiceTime;
            return;
        }
        double mix = 0.0;
        for (int r = 1; r <= R; ++r) {
            const std::size_t x = classStation(R, r, m);
            const double mu = TAU[x];
            if (mu != 0.0) mix += (LMBNR[x] / lambda) * (CBNR2[x] + 1.0) / (mu * mu);
        }
        CBN2[m - 1] = MIN[m - 1] * MIN[m - 1] * mix - 1.0;
        ENKN[m - 1] = rho * (0.5 + 0.5 * (rho * CAN2[m - 1] + CBN2[m - 1]) / (1.0 - rho));
        // With little variability the formula falls below the number in
        // service, a negative queue; the queue is then empty.
        if (ENKN[m - 1] < rho) ENKN[m - 1] = rho;
        ENTN[m - 1] = ENKN[m - 1] / lambda;
        for (int r = 1; r <= R; ++r) {
            const std::size_t x = classStation(R, r, m);
            if (TAU[x] == 0.0) continue;
            ENRTNR[x] = 1.0 / TAU[x] - 1.0 / MIN[m - 1] + ENTN[m - 1];
            ENRKNR[x] = ENRTNR[x] * LMBNR[x];
        }
    }
}

}  // namespace

void diffusion(int M, int R, double* BP, double* BP1, double* LAMBN, double* OBCN, double* ENKN, double* ENTN,
               double* LMBNR, double* OBCNR, double* ENRKNR, double* ENRTNR, double* MIN, const double* TAU,
               double* CBN2, const double* CBNR2, const double* C0NR2, double* RJI, double* G, double* CAN2, int& code,
               int& station, double& work, const OpenRouting* lists) {
    code = 0;
    station = 0;
    const int RM = R * M;
    if (RM < 1) {
        code = kImproperTopology;
        return;
    }
    // The traffic equations overwrite BP; the variability system still needs
    // the routing and the external rates.
    if (!lists) {
        const std::size_t bpSize = static_cast<std::size_t>(RM) * (RM + 1);
        for (std::size_t x = 0; x < bpSize; ++x) BP1[x] = BP[x];
    }
    if (!solveArrivalRates(RM, BP, lists, LMBNR)) {
        code = kImproperTopology;
        return;
    }
    if (!loadStations(M, R, TAU, LMBNR, OBCNR, LAMBN, OBCN, code, station)) return;
    if (!everyStationReached(M, LAMBN, OBCN, code, station)) return;

    bool solved;
    if (lists) {
        solved = solveVariabilityFromLists(M, R, *lists, LAMBN, OBCN, LMBNR, TAU, CBNR2, C0NR2, CAN2, work);
    } else {
        aggregateRouting(M, R, BP1, LMBNR, LAMBN, RJI);
        solved = solveVariability(M, R, BP1, RJI, LAMBN, OBCN, LMBNR, TAU, CBNR2, C0NR2, G, CAN2, work);
    }
    if (!solved) {
        code = kImproperTopology;
        station = 0;
        return;
    }
    evaluateStations(M, R, LAMBN, OBCN, LMBNR, TAU, CBNR2, CAN2, MIN, CBN2, ENKN, ENTN, ENRTNR, ENRKNR, code, station);
}

}  // namespace kolt::methods
