#include "bench/bench_support.h"

#include <cstdio>

#include "solver/analysis/analysis_context.h"
#include "solver/analysis/analysis_driver.h"
#include "solver/analysis/presentation_module.h"
#include "solver/core/reporter.h"
#include "solver/language/parser.h"

namespace kolt::bench {
namespace {

std::FILE* discard() {
    static std::FILE* null = std::fopen("/dev/null", "w");
    return null;
}

}  // namespace

bool solveText(const std::string& text, int methodIndex) {
    Reporter reporter(Console{discard(), discard()});
    try {
        Parser parser(reporter, text);
        const std::unique_ptr<Network> network = parser.parseNetwork();
        if (!network) return false;
        AnalysisContext context;
        PresentationModule results;
        analyseNetwork(*network, methodIndex, context, results, reporter);
        return true;
    } catch (const RunEnded&) {
        return false;
    }
}

bool parseText(const std::string& text) {
    Reporter reporter(Console{discard(), discard()});
    try {
        Parser parser(reporter, text);
        return parser.parseNetwork() != nullptr;
    } catch (const RunEnded&) {
        return false;
    }
}

}  // namespace kolt::bench
