// Fuzz target for the file-to-results path: any bytes as a network definition
// file go through the line-end handling and the syntax analysis; a network
// that results is dumped and, when its closed populations are small enough
// to solve in a moment, analysed by every method and printed in both
// layouts. Output goes to /dev/null.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "solver/analysis/analysis_context.h"
#include "solver/analysis/analysis_driver.h"
#include "solver/analysis/presentation_module.h"
#include "solver/core/method_table.h"
#include "solver/core/reporter.h"
#include "solver/frontend/command_line.h"
#include "solver/language/parser.h"
#include "solver/model/network.h"

namespace {

// The number of population vectors the exact recursion would visit, capped.
bool smallEnoughToSolve(const kolt::Network& network) {
    std::int64_t vectors = 1;
    for (int r = 0; r < network.numberOfClasses(); ++r) {
        vectors *= network.customers(r) + 1;
        if (vectors > 20000) return false;
    }
    return network.registry().size() < 200;
}

void analyse(const kolt::Network& network, int methodIndex, kolt::Reporter& reporter) {
    kolt::AnalysisContext context;
    kolt::PresentationModule results;
    // A short simulation exercises every path of the simulator in a moment.
    context.simulationControl.eventCap = 20000;
    try {
        kolt::analyseNetwork(network, methodIndex, context, results, reporter);
        for (int c = -1; c < network.numberOfClasses(); ++c) {
            results.print(c, false, reporter);
            results.print(c, true, reporter);
        }
        reporter.flush(kolt::Target::Out);
    } catch (const kolt::RunEnded&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::FILE* sink = std::fopen("/dev/null", "w");
    kolt::Reporter reporter(kolt::Console{sink, sink});
    std::string text = kolt::normaliseLineEnds(std::string(reinterpret_cast<const char*>(data), size));
    try {
        kolt::Parser parser(reporter, std::move(text));
        const auto network = parser.parseNetwork();
        if (!network) return 0;
        network->writeDump();
        if (!smallEnoughToSolve(*network)) return 0;
        for (int method = 0; method < kolt::kMethodCount; ++method) {
            kolt::Reporter methodReporter(kolt::Console{sink, sink});
            analyse(*network, method, methodReporter);
        }
    } catch (const kolt::RunEnded&) {
        // A flush after an error: the ordinary end of a run on bad input.
    }
    return 0;
}
