#include "solver/analysis/analysis_driver.h"

#include "solver/analysis/admissibility.h"
#include "solver/analysis/analysis_context.h"
#include "solver/analysis/closed_preparation.h"
#include "solver/analysis/method_outcome.h"
#include "solver/analysis/open_preparation.h"
#include "solver/analysis/result_derivation.h"
#include "solver/analysis/simulation_analysis.h"
#include "solver/core/method_table.h"
#include "solver/core/reporter.h"
#include "solver/core/text.h"
#include "solver/model/network.h"

namespace kolt {
namespace {

enum class Family { Closed, Open, Simulation, None };

Family familyOf(int methodIndex) {
    switch (methodIndex) {
        case kMva:
        case kMvap:
        case kHmva: return Family::Closed;
        case kJackson:
        case kDiff: return Family::Open;
        case kSimul: return Family::Simulation;
        default: return Family::None;
    }
}

}  // namespace

void analyseNetwork(const Network& network, int methodIndex, AnalysisContext& context, PresentationModule& results,
                    Reporter& reporter) {
    std::FILE* err = reporter.stream(Target::Err);
    context.methodIndex = methodIndex;

    writeFixed(err, "Analiza semantyczna...");
    checkMethodForNetwork(network, methodIndex, reporter);
    buildObjectTables(network, context, reporter);
    context.closedFailed = 0;
    context.openCode = 0;
    reporter.flush(Target::Err);
    writeFixed(err, "OK\n");

    writeFixed(err, "Inicjacja tablic...\nIlość potrzebnej pamięci: ");
    const Family family = familyOf(methodIndex);
    if (family != Family::None) {
        if (family == Family::Closed)
            prepareClosedNetwork(network, context, reporter);
        else if (family == Family::Open)
            prepareOpenNetwork(network, context, reporter);
        else
            prepareSimulation(network, context, reporter);
        reporter.flush(Target::Err);
        writeFixed(err, "OK\n");
        writeFixed(err, "Analiza sieci...");
        context.closedMode = 0;
        runMethod(context, reporter);
    }

    reportMethodOutcome(context, reporter);
    reporter.flush(Target::Err);
    writeFixed(err, "OK\n");

    switch (methodIndex) {
        case kMva:
        case kMvap:
        case kHmva: deriveClosedResults(network, context, results, reporter); break;
        case kJackson: deriveJacksonResults(network, context, results, reporter); break;
        case kDiff: deriveDiffusionResults(network, context, results, reporter); break;
        case kSimul: deriveSimulationResults(network, context, results, reporter); break;
        default: break;  // nothing computed: the tables stay uninitialised
    }
    checkResultsDefined(network, context, results, reporter);
}

}  // namespace kolt
