// The last step of every derivation: no cell may hold a value that is not a
// number or is infinite. The cells print a non-positive value as 0 and
// cannot tell an overflow from a result, so such a run is ended instead.
#include <cmath>

#include "solver/analysis/analysis_context.h"
#include "solver/analysis/presentation_module.h"
#include "solver/analysis/result_derivation.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/model/network.h"
#include "solver/model/station.h"

namespace kolt {
namespace {

bool cellsDefined(const PresentationModule& results, int c, int s) {
    for (int k = 0; k <= 1; ++k)
        if (!std::isfinite(results.time(c, s, k)) || !std::isfinite(results.number(c, s, k)) ||
            !std::isfinite(results.utilisation(c, s, k)) || !std::isfinite(results.throughput(c, s, k)))
            return false;
    return true;
}

}  // namespace

void checkResultsDefined(const Network& network, const AnalysisContext& context, const PresentationModule& results,
                         Reporter& reporter) {
    bool undefined = false;
    for (int s = 0; s < results.stationCount(); ++s) {
        const char* station = context.stations[s]->name().c_str();
        for (int c = -1; c < results.classCount(); ++c) {
            if (cellsDefined(results, c, s)) continue;
            undefined = true;
            if (c < 0)
                reporter.report(Level::Error,
                                formatText("Wynik nieokreślony (przepełnienie) dla stanowiska %s", station));
            else
                reporter.report(Level::Error,
                                formatText("Wynik nieokreślony (przepełnienie) dla stanowiska %s, klasa %s", station,
                                           network.className(c).c_str()));
        }
    }
    if (undefined) reporter.flush(Target::Err);
}

}  // namespace kolt
