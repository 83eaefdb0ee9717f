#include <new>
#include <vector>

#include "solver/analysis/analysis_context.h"
#include "solver/analysis/array_index.h"
#include "solver/analysis/presentation_module.h"
#include "solver/analysis/result_derivation.h"
#include "solver/core/method_table.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/methods/method_codes.h"

namespace kolt {
namespace {

// Approximate results may overshoot 1 slightly; only beyond this is the
// station reported as overloaded.
constexpr double kOverloadBound = 1.01;

}  // namespace

void initResults(const Network& network, const AnalysisContext& context, PresentationModule& results,
                 Reporter& reporter) {
    if (!results.init(network, context))
        reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci (Modul prezentacyjny)"));
}

void deriveClosedResults(const Network& network, AnalysisContext& c, PresentationModule& results, Reporter& reporter) {
    initResults(network, c, results, reporter);
    const bool hmva = c.methodIndex == kHmva;
    // Both approximations can load a station beyond its capacity; exact MVA
    // cannot.
    const bool approximate = hmva || c.methodIndex == kMvap;
    std::vector<double> classThroughput;
    try {
        classThroughput.assign(c.R, 0.0);
    } catch (const std::bad_alloc&) {
        reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci (LM lub RM)"));
    }

    for (int s = 0; s < c.M; ++s) {
        const int type = c.TYPE[s];
        const bool hasQueue = type != methods::kClosedPs && type != methods::kClosedIs;
        double Xs = 0.0, Us = 0.0;
        if (hmva) c.NTOTAL[s] = 0.0;
        for (int r = 0; r < c.R; ++r) {
            const std::size_t x = classStationIndex(c.R, r, s);
            classThroughput[r] = 0.0;
            if (c.SR[x] == 0) continue;
            const double X = hmva ? c.N[x] : c.LAMBDA[r] * c.THETA[x];
            const double Q = c.W[x] * X;
            if (hmva) c.NTOTAL[s] += Q;
            double U = c.TAU[x] * X;
            Xs += X;
            Us += U;
            classThroughput[r] = X;
            results.setNumber(r, s, 0, Q);
            results.setTime(r, s, 0, c.W[x]);
            results.setThroughput(r, s, 0, X);
            if (approximate) {
                if (U > kOverloadBound && type != methods::kClosedIs)
                    reporter.report(Level::Error, fixedText("Przeciazenie stanowiska"));
                else if (U > 1.0)
                    U = 1.0;
            }
            results.setUtilisation(r, s, 0, type == methods::kClosedIs ? -1.0 : U);
            if (hasQueue) {
                results.setNumber(r, s, 1, Q - U);
                results.setTime(r, s, 1, c.W[x] - c.TAU[x]);
                results.setThroughput(r, s, 1, X);
                results.setUtilisation(r, s, 1, -1.0);
            }
        }

        // Throughput-weighted means over the classes; a station that no
        // customer passes has none, and its times are 0.
        double T = 0.0, serviceTime = 0.0;
        for (int r = 0; r < c.R; ++r) {
            const std::size_t x = classStationIndex(c.R, r, s);
            if (c.SR[x] == 0 || Xs == 0.0) continue;
            const double f = classThroughput[r] / Xs;
            T += f * c.W[x];
            serviceTime += f * c.TAU[x];
        }
        const double total = hmva ? c.NTOTAL[s] : c.N[s];
        results.setNumber(-1, s, 0, total);
        results.setTime(-1, s, 0, T);
        results.setThroughput(-1, s, 0, Xs);
        if (approximate) {
            if (Us > kOverloadBound && type != methods::kClosedIs)
                reporter.report(Level::Error, fixedText("Przeciazenie stanowisk w sieci"));
            else if (Us > 1.0)
                Us = 1.0;
        }
        results.setUtilisation(-1, s, 0, type == methods::kClosedIs ? -1.0 : Us);
        if (hasQueue) {
            results.setNumber(-1, s, 1, total - Us);
            results.setTime(-1, s, 1, T - serviceTime);
            results.setThroughput(-1, s, 1, Xs);
            results.setUtilisation(-1, s, 1, -1.0);
        }
    }
}

}  // namespace kolt
