// The analysis of a parsed network: admissibility of the method, the solver
// arrays, the call of the method, its outcome messages and the derivation of
// the result tables.
#pragma once

namespace kolt {

class Network;
class PresentationModule;
class Reporter;
struct AnalysisContext;

// Runs the whole analysis for `methodIndex` (0..7). Stage texts go straight to
// standard error; messages are queued on the reporter, whose flushes end the
// run (RunEnded) after an error. On return `results` holds the tables to be
// printed; for the methods that compute nothing it stays uninitialised.
void analyseNetwork(const Network& network, int methodIndex, AnalysisContext& context, PresentationModule& results,
                    Reporter& reporter);

}  // namespace kolt
