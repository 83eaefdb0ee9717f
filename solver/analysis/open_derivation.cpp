#include <cmath>

#include "solver/analysis/analysis_context.h"
#include "solver/analysis/array_index.h"
#include "solver/analysis/presentation_module.h"
#include "solver/analysis/result_derivation.h"
#include "solver/methods/method_codes.h"

namespace kolt {
namespace {

// Mean service time from a rate; a class without a distribution has rate 0
// and no service time to take off its response time.
double serviceTimeOf(double rate) { return rate != 0.0 ? 1.0 / rate : 0.0; }

// Columns 0 and 1 of every (class, station) pair and the station's column 0
// and queue time, number and throughput; `hasQueue` and `noUtilisation` say
// which cells apply at station s.
template <typename HasQueue, typename NoUtilisation>
void fillOpenTables(const AnalysisContext& c, PresentationModule& results, HasQueue hasQueue,
                    NoUtilisation noUtilisation) {
    for (int s = 0; s < c.M; ++s) {
        for (int r = 0; r < c.R; ++r) {
            const std::size_t x = classStationIndex(c.R, r, s);
            results.setTime(r, s, 0, c.ENRTNR[x]);
            results.setNumber(r, s, 0, c.ENRKNR[x]);
            results.setUtilisation(r, s, 0, noUtilisation(s) ? -1.0 : c.OBCNR[x]);
            results.setThroughput(r, s, 0, c.LMBNR[x]);
            if (!hasQueue(s)) continue;
            results.setTime(r, s, 1, c.ENRTNR[x] - serviceTimeOf(c.TAU[x]));
            results.setNumber(r, s, 1, c.ENRKNR[x] - c.OBCNR[x]);
            results.setUtilisation(r, s, 1, -1.0);
            results.setThroughput(r, s, 1, c.LMBNR[x]);
        }
        results.setTime(-1, s, 0, c.ENTN[s]);
        results.setNumber(-1, s, 0, c.ENKN[s]);
        results.setUtilisation(-1, s, 0, noUtilisation(s) ? -1.0 : c.OBCN[s]);
        results.setThroughput(-1, s, 0, c.LAMBN[s]);
        if (!hasQueue(s)) continue;
        results.setTime(-1, s, 1, c.ENTN[s] - serviceTimeOf(c.MIN[s]));
        results.setNumber(-1, s, 1, c.ENKN[s] - c.OBCN[s]);
        results.setUtilisation(-1, s, 1, -1.0);
        results.setThroughput(-1, s, 1, c.LAMBN[s]);
    }
}

}  // namespace

void deriveJacksonResults(const Network& network, AnalysisContext& c, PresentationModule& results, Reporter& reporter) {
    initResults(network, c, results, reporter);
    fillOpenTables(
        c, results, [&](int s) { return c.TYPE[s] != methods::kJacksonIs && c.TYPE[s] != methods::kJacksonPs; },
        [&](int s) { return c.TYPE[s] == methods::kJacksonIs; });
}

double waitingProbability(double rho, double lambda, double mu, double ca2, double cb2) {
    const double p0 = 1.0 - rho;
    double p1 = rho;
    if (ca2 + cb2 != 0.0) {
        const double gamma = 2.0 * (lambda - mu) / (lambda * ca2 + mu * cb2);
        p1 = rho * (1.0 - std::exp(gamma));
    }
    return 1.0 - p0 - p1;
}

void deriveDiffusionResults(const Network& network, AnalysisContext& c, PresentationModule& results,
                            Reporter& reporter) {
    initResults(network, c, results, reporter);
    fillOpenTables(
        c, results, [](int) { return true; }, [](int) { return false; });
    for (int s = 0; s < c.M; ++s)
        results.setUtilisation(-1, s, 1, waitingProbability(c.OBCN[s], c.LAMBN[s], c.MIN[s], c.CAN2[s], c.CBN2[s]));
}

}  // namespace kolt
