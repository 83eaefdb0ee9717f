// Exact mean value analysis of a closed multi-class network (MVA, MVAP).
//
// Assumptions: R closed classes with populations K(r), M single-server
// stations (FIFO, PS, LIFO-PR: types 1-3) or delay stations (IS: type 4),
// product form; priority stations (types 5, 6) are approximated inside the
// same recursion. Each class's routing is strongly connected.
//
// With demands D(r, m) = THETA(r, m) * TAU(r, m) the recursion over all
// population vectors n <= K, with n - e_r one class-r customer fewer, is
//   W(r, m) = D(r, m) * (1 + Q(m, n - e_r))        queueing station
//   W(r, m) = D(r, m)                              delay station
//   X(r)    = n(r) / sum over m of W(r, m)         (cycle throughput, LAMBDA)
//   Q(m, n) = sum over r of X(r) * W(r, m)
// where W is the residence time per cycle; it is divided by THETA at the end
// to give the time per visit. The queue table keeps 1 + Q(m, n) with no
// dimension for class 1: populations run with class 1 slowest, so the entry
// for n - e_r is still the latest stored under its address when it is read.
// (Reiser and Lavenberg, J. ACM 27(2), 1980.)
//
// A network without priority stations runs a recursion made for it: each
// class walks a list of its stations with their demands and table columns,
// the table keeps one row of queueing-station columns per population (delay
// stations read a column of ones, so no test of the station type is made
// per element), and the row offset moves with the population odometer. It
// performs the same operations in the same order as the general recursion
// below, which the priority approximation needs, so both give the same bits.
//
// Cost: prod (K(r)+1) population vectors, O(R * M) each; memory M * prod over
// r >= 2 of (K(r)+1) doubles in ADP (plus one head-of-line column per
// PRIOR_HOL station).
//
// Outside the assumptions: a class whose routing is not strongly connected,
// a class visiting no station, a queue table longer than ADP, an unknown
// station type or a failed priority step raise the failure flag.
#include <algorithm>
#include <cmath>
#include <vector>

#include "solver/methods/array_index.h"
#include "solver/methods/method_codes.h"
#include "solver/methods/methods.h"
#include "solver/methods/mva_state.h"
#include "solver/methods/priority_approximation.h"
#include "solver/methods/visit_ratios.h"

namespace kolt::methods {
namespace {

// K holds the bounds K(r)+1 while the recursion runs and TAU the demands;
// both go back to the caller's values on every exit, failures included.
class RestoreOnExit {
  public:
    RestoreOnExit(int R, int* K, int count, double* TAU) : R_(R), K_(K), TAU_(TAU), savedTau_(TAU, TAU + count) {
        for (int r = 0; r < R_; ++r) ++K_[r];
    }
    ~RestoreOnExit() {
        for (int r = 0; r < R_; ++r) --K_[r];
        std::copy(savedTau_.begin(), savedTau_.end(), TAU_);
    }
    const double* perVisitTau() const { return savedTau_.data(); }

  private:
    int R_;
    int* K_;
    double* TAU_;
    std::vector<double> savedTau_;
};

// Advances n to the next population, class R fastest; false after the last.
bool advancePopulation(std::vector<int>& n, const int* bound, int R) {
    for (int r = R; r >= 1; --r) {
        if (n[r] < bound[r - 1]) {
            ++n[r];
            return true;
        }
        n[r] = 1;
    }
    return false;
}

std::int64_t queueOffset(const MvaState& s) {
    std::int64_t offset = 0;
    for (int i = 2; i <= s.R; ++i) offset += static_cast<std::int64_t>(s.n[i] - 1) * s.stride[i];
    return offset;
}

bool validInput(int M, int R, const int* K, const int* TYPE) {
    if (M < 1 || R < 1) return false;
    for (int r = 0; r < R; ++r)
        if (K[r] < 0 || K[r] == INT32_MAX) return false;
    for (int m = 0; m < M; ++m)
        if (TYPE[m] < kClosedFifo || TYPE[m] > kClosedPriorHol) return false;
    return true;
}

// The recursion proper, with K raised to the bounds.
bool runRecursion(MvaState& s, PriorityApproximation& priority) {
    const int M = s.M;
    const int R = s.R;
    // Stations of each class in increasing order, so the inner loop does not
    // scan SR.
    std::vector<int> visitStart(R + 2, 0);
    std::vector<int> visited;
    for (int r = 1; r <= R; ++r) {
        visitStart[r] = static_cast<int>(visited.size());
        for (int m = 1; m <= M; ++m)
            if (s.visits(r, m)) visited.push_back(m);
    }
    visitStart[R + 1] = static_cast<int>(visited.size());

    double* W = s.W;
    double* LAMBDA = s.LAMBDA;
    const double* D = s.D;
    do {
        s.offset = queueOffset(s);
        if (priority.active()) priority.beginVector(s);
        for (int r = 1; r <= R; ++r) {
            const int p = s.n[r] - 1;
            const std::int64_t previous = s.offsetWithout(r);
            double sum = 0.0;
            for (int v = visitStart[r]; v < visitStart[r + 1]; ++v) {
                const int m = visited[v];
                const std::size_t x = s.rm(r, m);
                double w;
                switch (s.TYPE[m - 1]) {
                    case kClosedIs: w = p == 0 ? 0.0 : D[x]; break;
                    case kClosedPriorPr:
                    case kClosedPriorHol:
                        if (!priority.residenceTime(s, r, m, w)) return false;
                        break;
                    default: w = p == 0 ? 0.0 : D[x] * s.queueAt(m, previous); break;
                }
                W[x] = w;
                sum += w;
            }
            // A class with no customers at this population has no residence
            // time; 1.0 keeps X(r) = 0. Only then: a class whose demands are
            // merely small must keep its own sum, or its throughput is wrong.
            if (p == 0) sum = 1.0;
            LAMBDA[r - 1] = p / sum;
            if (priority.active()) priority.classStep(s, r);
        }
        for (int m = 1; m <= M; ++m) {
            if (isPriorityStation(s.TYPE[m - 1])) {
                priority.stationStep(s, m);
                continue;
            }
            double q = 1.0;
            for (int r = 1; r <= R; ++r)
                if (s.visits(r, m)) q += W[s.rm(r, m)] * LAMBDA[r - 1];
            s.queueAt(m, s.offset) = q;
        }
    } while (advancePopulation(s.n, s.bound, R));
    return true;
}

// The general recursion, for networks with priority stations: sets up the
// state and the priority tables, runs the recursion and reads N. Returns 0,
// or the failure flag's value: the priority tables' refusal, or 1 when the
// queue table does not fit in ADP or the approximation fails.
int runPriorityRecursion(int M, int R, std::int64_t L, const int* bound, const int* TYPE, const int* SR,
                         const double* D, const double* tau, const double* THETA, double* ADP, double* W,
                         double* LAMBDA, double* N, std::FILE* roLines) {
    MvaState s;
    s.M = M;
    s.R = R;
    s.bound = bound;
    s.TYPE = TYPE;
    s.SR = SR;
    s.D = D;
    s.tau = tau;
    s.THETA = THETA;
    s.W = W;
    s.LAMBDA = LAMBDA;
    s.N = N;
    s.queue = ADP;
    s.stride.assign(R + 1, 0);
    s.n.assign(R + 1, 1);
    // The queue table (M + head-of-line columns) x S must fit in ADP; the
    // product is formed in 64 bits and stopped as soon as it cannot fit.
    const std::int64_t columns = M + PriorityApproximation::headOfLineStations(M, TYPE);
    std::int64_t S = 1;
    for (int i = 2; i <= R; ++i) {
        s.stride[i] = S;
        if (S > L / columns / bound[i - 1]) return kClosedNetworkFailed;
        S *= bound[i - 1];
    }
    if (S * columns > L) return kClosedNetworkFailed;
    s.S = S;

    PriorityApproximation priority;
    if (const int refused = priority.prepare(s, roLines)) return refused;
    for (int m = 1; m <= M; ++m)
        if (!isPriorityStation(TYPE[m - 1])) s.queueAt(m, 0) = 1.0;
    if (priority.active()) priority.setEmpty(s);
    if (!runRecursion(s, priority)) return kClosedNetworkFailed;
    // The last vector enumerated is the full population: offset S - 1.
    for (int m = 1; m <= M; ++m)
        if (!isPriorityStation(TYPE[m - 1])) N[m - 1] = s.queueAt(m, S - 1) - 1.0;
    return 0;
}

// The recursion for networks without priority stations. K holds the bounds
// and D the demands; `queue` has room for rows of `columns` doubles for
// every population of classes 2..R. Writes W (per cycle), LAMBDA and N.
void runProductFormRecursion(int M, int R, const int* bound, const int* TYPE, const int* SR, const double* D,
                             double* queue, int columns, double* W, double* LAMBDA, double* N) {
    auto rm = [R](int r, int m) { return classStation(R, r, m); };
    // Table columns: queueing stations in order, then one column of ones
    // that the delay stations read, so that W = D * 1.0 = D.
    std::vector<int> column(M + 1, 0);
    int queueing = 0;
    for (int m = 1; m <= M; ++m)
        if (TYPE[m - 1] != kClosedIs) column[m] = queueing++;
    const int ones = queueing;
    for (int m = 1; m <= M; ++m)
        if (TYPE[m - 1] == kClosedIs) column[m] = ones;

    // Per class, its stations in increasing order (demand and column); per
    // queueing column, the residence times of the classes that visit it, in
    // class order, for the update.
    std::vector<int> first(R + 2, 0);
    std::vector<double> demand;
    std::vector<int> visitColumn;
    for (int r = 1; r <= R; ++r) {
        first[r] = static_cast<int>(demand.size());
        for (int m = 1; m <= M; ++m)
            if (SR[rm(r, m)] & 0xFF) {
                demand.push_back(D[rm(r, m)]);
                visitColumn.push_back(column[m]);
            }
    }
    first[R + 1] = static_cast<int>(demand.size());
    struct Term {
        int visit;  // index of the residence time
        int r;
    };
    std::vector<int> termStart(queueing + 1, 0);
    std::vector<Term> terms;
    for (int m = 1; m <= M; ++m) {
        if (TYPE[m - 1] == kClosedIs) continue;
        for (int r = 1; r <= R; ++r) {
            if (!(SR[rm(r, m)] & 0xFF)) continue;
            int v = first[r];
            while (visitColumn[v] != column[m]) ++v;
            terms.push_back({v, r});
        }
        termStart[column[m] + 1] = static_cast<int>(terms.size());
    }
    std::vector<double> w(demand.size(), 0.0);  // residence times of the current vector
    std::vector<double> X(R + 1, 0.0);

    // Row distance of n - e_r from n: class 1 has no place in the address.
    std::vector<std::int64_t> back(R + 1, 0);
    std::int64_t stride = 1;
    for (int r = 2; r <= R; ++r) {
        back[r] = stride * columns;
        stride *= bound[r - 1];
    }
    std::vector<int> n(R + 1, 1);
    double* row = queue;  // the row of the current population
    for (int c = 0; c < columns; ++c) row[c] = 1.0;

    for (;;) {
        for (int r = 1; r <= R; ++r) {
            const int p = n[r] - 1;
            if (p == 0) {
                X[r] = 0.0;
                std::fill(w.begin() + first[r], w.begin() + first[r + 1], 0.0);
                continue;
            }
            const double* previous = row - back[r];
            double sum = 0.0;
            for (int v = first[r]; v < first[r + 1]; ++v) {
                const double residence = demand[v] * previous[visitColumn[v]];
                w[v] = residence;
                sum += residence;
            }
            X[r] = p / sum;
        }
        for (int c = 0; c < queueing; ++c) {
            double q = 1.0;
            for (int k = termStart[c]; k < termStart[c + 1]; ++k) q += w[terms[k].visit] * X[terms[k].r];
            row[c] = q;
        }
        if (queueing < columns) row[ones] = 1.0;
        // Odometer, class R fastest, the row moving with it.
        int r = R;
        for (; r >= 1; --r) {
            if (n[r] < bound[r - 1]) {
                ++n[r];
                row += r >= 2 ? back[r] : 0;
                break;
            }
            row -= static_cast<std::int64_t>(n[r] - 1) * back[r];
            n[r] = 1;
        }
        if (r < 1) break;
    }

    // The last vector was the full population: its row, W and X.
    const double* full = queue + (stride - 1) * columns;
    for (int r = 1; r <= R; ++r) {
        LAMBDA[r - 1] = X[r];
        int v = first[r];
        for (int m = 1; m <= M; ++m)
            if (SR[rm(r, m)] & 0xFF) W[rm(r, m)] = w[v++];
    }
    for (int m = 1; m <= M; ++m) {
        if (TYPE[m - 1] != kClosedIs) {
            N[m - 1] = full[column[m]] - 1.0;
            continue;
        }
        double q = 1.0;
        for (int r = 1; r <= R; ++r)
            if (SR[rm(r, m)] & 0xFF) q += W[rm(r, m)] * X[r];
        N[m - 1] = q - 1.0;
    }
}

bool hasPriorityStations(int M, const int* TYPE) {
    for (int m = 0; m < M; ++m)
        if (isPriorityStation(TYPE[m])) return true;
    return false;
}

}  // namespace

std::int64_t exactMvaQueueTable(int M, int R, const int* K, const int* TYPE) {
    const std::int64_t columns = M + PriorityApproximation::headOfLineStations(M, TYPE);
    std::int64_t length = columns;
    for (int r = 2; r <= R; ++r) {
        if (K[r - 1] < 0 || length > INT64_MAX / (static_cast<std::int64_t>(K[r - 1]) + 1)) return INT64_MAX;
        length *= static_cast<std::int64_t>(K[r - 1]) + 1;
    }
    return length;
}

void exactMva(int M, int R, std::int64_t L, int* K, const int* TYPE, const int* SR, double* TAU, const int* SN,
              double* ADP, const int* INDEX, int /*mode: only 0 is defined*/, double* THETA, double* N, double* W,
              double* LAMBDA, int& failed, std::FILE* roLines, const RoutingLists* lists) {
    failed = 0;
    if (!validInput(M, R, K, TYPE)) {
        failed = kClosedNetworkFailed;
        return;
    }
    checkRoutingAndSolveVisitRatios(M, R, L, ADP, SR, SN, INDEX, lists, THETA, failed);
    if (failed) return;

    const int count = M * R;
    RestoreOnExit restore(R, K, count, TAU);
    for (int m = 1; m <= M; ++m)
        for (int r = 1; r <= R; ++r) {
            const std::size_t x = classStation(R, r, m);
            if (SR[x] & 0xFF) TAU[x] *= THETA[x];
        }

    if (!hasPriorityStations(M, TYPE)) {
        // Queueing-station columns plus, with a delay station, the ones.
        int columns = 0;
        bool delay = false;
        for (int m = 0; m < M; ++m) {
            if (TYPE[m] == kClosedIs)
                delay = true;
            else
                ++columns;
        }
        columns += delay ? 1 : 0;
        std::int64_t rows = 1;
        for (int i = 2; i <= R; ++i) {
            if (rows > L / columns / K[i - 1]) {
                failed = kClosedNetworkFailed;
                return;
            }
            rows *= K[i - 1];
        }
        if (rows * columns > L) {
            failed = kClosedNetworkFailed;
            return;
        }
        runProductFormRecursion(M, R, K, TYPE, SR, TAU, ADP, columns, W, LAMBDA, N);
    } else if (const int refused = runPriorityRecursion(M, R, L, K, TYPE, SR, TAU, restore.perVisitTau(), THETA, ADP, W,
                                                        LAMBDA, N, roLines)) {
        failed = refused;
        return;
    }

    for (int m = 1; m <= M; ++m)
        for (int r = 1; r <= R; ++r) {
            const std::size_t x = classStation(R, r, m);
            if (SR[x] & 0xFF) W[x] /= THETA[x];
        }
}

}  // namespace kolt::methods
