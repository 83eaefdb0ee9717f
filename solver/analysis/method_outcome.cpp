#include "solver/analysis/method_outcome.h"

#include <new>

#include "solver/analysis/analysis_context.h"
#include "solver/analysis/simulation_analysis.h"
#include "solver/core/method_table.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/methods/method_codes.h"
#include "solver/methods/methods.h"
#include "solver/methods/priority_approximation.h"
#include "solver/model/station.h"

namespace kolt {
namespace {

// Text of an open-network failure code; null for a code without one.
const char* openFailureText(int code) {
    switch (code) {
        case methods::kInfiniteServiceTime: return "Nieskończony czas obsługi na stanowisku \"%s\"";
        case methods::kZeroUtilisation: return "Wspolczynnik wykorzystania stanowiska \"%s\" wynosi zero";
        case methods::kZeroThroughput: return "Przepustowosc na stanowisku \"%s\" wynosi zero";
        case methods::kZeroQueueLength: return "Dlugosc kolejki na stanowisku \"%s\" wynosi zero";
        case methods::kOverloaded: return "Przeciazone stanowisko \"%s\"";
        default: return nullptr;
    }
}

void callMethod(AnalysisContext& c, Reporter& reporter) {
    const methods::RoutingLists* closedLists = c.closedLists.classStart.empty() ? nullptr : &c.closedLists;
    const methods::OpenRouting* openLists = c.openSparse ? &c.openLists : nullptr;
    switch (c.methodIndex) {
        case kMva:
        case kMvap:
            methods::exactMva(c.M, c.R, c.L, c.K.data(), c.TYPE.data(), c.SR.data(), c.TAU.data(), c.SN.data(),
                              c.ADP.data(), c.INDEX.data(), c.closedMode, c.THETA.data(), c.N.data(), c.W.data(),
                              c.LAMBDA.data(), c.closedFailed, reporter.stream(Target::Out), closedLists);
            break;
        case kHmva:
            methods::approximateMva(c.M, c.R, c.L, c.K.data(), c.TYPE.data(), c.SR.data(), c.TAU.data(), c.SN.data(),
                                    c.ADP.data(), c.INDEX.data(), c.closedMode, c.THETA.data(), c.LAMBDA.data(),
                                    c.W.data(), c.N.data(), c.closedFailed, closedLists);
            break;
        case kJackson:
            methods::jackson(c.M, c.R, c.TYPE.data(), c.BP.data(), c.LAMBN.data(), c.OBCN.data(), c.ENKN.data(),
                             c.ENTN.data(), c.LMBNR.data(), c.OBCNR.data(), c.ENRKNR.data(), c.ENRTNR.data(),
                             c.MIN.data(), c.TAU.data(), c.openCode, c.openStation, openLists);
            break;
        case kDiff:
            methods::diffusion(c.M, c.R, c.BP.data(), c.BP1.data(), c.LAMBN.data(), c.OBCN.data(), c.ENKN.data(),
                               c.ENTN.data(), c.LMBNR.data(), c.OBCNR.data(), c.ENRKNR.data(), c.ENRTNR.data(),
                               c.MIN.data(), c.TAU.data(), c.CBN2.data(), c.CBNR2.data(), c.C0NR2.data(), c.RJI.data(),
                               c.G.data(), c.CAN2.data(), c.openCode, c.openStation, c.diffusionWork, openLists);
            break;
        case kSimul: runSimulation(c, reporter); break;
        default: break;
    }
}

}  // namespace

void runMethod(AnalysisContext& c, Reporter& reporter) {
    // The closed methods keep their tables in ADP and allocate the rest of
    // their workspace (visit-ratio vectors, saved service times, priority
    // tables) on entry, before any numbers. That memory extends ADP, so a
    // shortage of it gets ADP's message: either way the network needs more
    // memory than the process can have.
    try {
        callMethod(c, reporter);
    } catch (const std::bad_alloc&) {
        reporter.report(Level::Fatal, fixedText("Blad allokacji pamięci (ADP)"));
    }
}

void reportMethodOutcome(const AnalysisContext& c, Reporter& reporter) {
    if (c.methodIndex == kSimul) reportSimulationOutcome(c, reporter);
    const char* method = methodInfo(c.methodIndex).displayName;
    if (c.closedFailed == methods::kPriorityStationLimit)
        reporter.report(
            Level::Error,
            formatText("Metoda %s dopuszcza co najwyżej %d stanowisk w sieci ze stanowiskami priorytetowymi", method,
                       methods::PriorityApproximation::kStationCapacity));
    else if (c.closedFailed == methods::kPriorityTableLimit)
        reporter.report(Level::Error,
                        formatText("Metoda %s: tablice stanowisk priorytetowych mieszczą co najwyżej %d wartości "
                                   "wykorzystania i %d wartości pracy; populacje klas są za duże",
                                   method, static_cast<int>(methods::PriorityApproximation::kUtilisationCapacity),
                                   static_cast<int>(methods::PriorityApproximation::kWorkCapacity)));
    else if (c.closedFailed != 0)
        reporter.report(Level::Error, fixedText("Sieć przeciążona lub niewłaściwa"));
    if (c.openCode == 0) return;
    if (c.openCode == methods::kImproperTopology) {
        reporter.report(Level::Error, fixedText("Niewłaściwa topologia sieci"));
        return;
    }
    const int station = c.openStation - 1;
    if (station < 0 || station >= c.M) {
        // The routine named no station of the table: say which number it gave.
        reporter.report(Level::Error, formatText("Metoda obliczeniowa zwróciła kod błędu %d dla stanowiska nr %d",
                                                 c.openCode, c.openStation));
        return;
    }
    const char* name = c.stations[station]->name().c_str();
    if (const char* text = openFailureText(c.openCode))
        reporter.report(Level::Error, formatText(text, name));
    else
        reporter.report(
            Level::Error,
            formatText("Metoda obliczeniowa zwróciła nieznany kod błędu %d (stanowisko \"%s\")", c.openCode, name));
}

}  // namespace kolt
