// Open product-form (Jackson) network, JACKSON.
//
// Assumptions: Poisson external arrivals, exponential service (a Cox law is
// taken by its mean), class-dependent routing, every customer eventually
// leaves. Stations are delay stations (IS, TYPE 1) or single servers
// (LIFO-PR, PS, FIFO: TYPE 2, 3, 4) whose service rate does not depend on the
// class mix beyond the aggregate.
//
// After the traffic equations give lambda(r, m):
//   U(r, m) = lambda(r, m) / mu(r, m),   rho = sum over r of U(r, m),
//   lambda(m) = sum over r of lambda(r, m),  mu(m) = lambda(m) / rho,
//   IS:     N(m) = rho,  T(m) = rho / lambda(m),  P(busy) = 1 - e^-rho,
//           T(r, m) = 1 / mu(r, m)
//   single: N(m) = rho / (1 - rho),  T(m) = 1 / (mu(m) (1 - rho)),
//           N(r, m) = U(r, m) / (1 - rho),  T(r, m) = 1 / (mu(r, m) (1 - rho))
// (Jackson 1963; Baskett, Chandy, Muntz and Palacios, J. ACM 22(2), 1975.)
// Cost O((RM)^3) at most for the traffic equations (near linear in the
// transitions when they come as lists), O(RM) for the stations.
//
// Outside the assumptions: rho >= 1 at a single server or an unbounded load
// anywhere (no steady state),
// a station nobody loads, and a closed loop without exit are reported through
// the failure code with the station's number; the stations before it keep
// their results.
#include "solver/methods/methods.h"

#include <cmath>
#include <cstddef>

#include "solver/methods/array_index.h"
#include "solver/methods/method_codes.h"
#include "solver/methods/traffic_equations.h"

namespace kolt::methods {

void jackson(int M, int R, const int* TYPE, double* BP, double* LAMBN, double* OBCN, double* ENKN, double* ENTN,
             double* LMBNR, double* OBCNR, double* ENRKNR, double* ENRTNR, double* MIN, const double* TAU, int& code,
             int& station, const OpenRouting* lists) {
    code = 0;
    station = 0;
    const int RM = R * M;
    if (RM < 1 || !solveArrivalRates(RM, BP, lists, LMBNR)) {
        code = kImproperTopology;
        return;
    }

    for (station = 1; station <= M; ++station) {
        const int m = station;
        stationLoad(R, m, TAU, LMBNR, OBCNR, LAMBN, OBCN);
        // An unbounded load (an interarrival time of 0 makes the external
        // rate infinite) has no steady state at any kind of station.
        if (!std::isfinite(OBCN[m - 1])) {
            code = kOverloaded;
            return;
        }
        if (OBCN[m - 1] == 0.0) {
            code = kZeroUtilisation;
            return;
        }
        MIN[m - 1] = LAMBN[m - 1] / OBCN[m - 1];
        const double rho = OBCN[m - 1];

        if (TYPE[m - 1] == kJacksonIs) {
            ENKN[m - 1] = rho;
            if (LAMBN[m - 1] == 0.0) {
                code = kZeroThroughput;
                return;
            }
            ENTN[m - 1] = rho / LAMBN[m - 1];
            OBCN[m - 1] = 1.0 - std::exp(-rho);
            if (ENKN[m - 1] == 0.0) {
                code = kZeroQueueLength;
                return;
            }
            const double c = OBCN[m - 1] / ENKN[m - 1];
            for (int r = 1; r <= R; ++r) {
                const std::size_t x = classStation(R, r, m);
                ENRKNR[x] = OBCNR[x];
                OBCNR[x] *= c;
                ENRTNR[x] = TAU[x] != 0.0 ? 1.0 / TAU[x] : 0.0;
            }
            continue;
        }

        if (rho >= 1.0) {
            code = kOverloaded;
            return;
        }
        const double f = 1.0 / (1.0 - rho);
        ENKN[m - 1] = f * rho;
        if (MIN[m - 1] == 0.0) {
            code = kInfiniteServiceTime;
            return;
        }
        ENTN[m - 1] = f / MIN[m - 1];
        for (int r = 1; r <= R; ++r) {
            const std::size_t x = classStation(R, r, m);
            ENRKNR[x] = OBCNR[x] * f;
            // A pair without service carries no load; its time is defined
            // as 0 rather than left as it was.
            ENRTNR[x] = TAU[x] != 0.0 ? f / TAU[x] : 0.0;
        }
    }
}

}  // namespace kolt::methods
