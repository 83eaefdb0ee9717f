// The simulation method (SIMUL) inside the analysis: the checks and the
// plain model the simulator takes, its run with a progress line, its outcome
// messages and the result tables with their half-widths.
#pragma once

namespace kolt {

class Network;
class PresentationModule;
class Reporter;
struct AnalysisContext;

// Checks every station and source as the other preparations do (routing
// sums, scheduling, distributions, targets), and what a simulation needs
// beyond them: laws that can be drawn, closed classes that never leave (a
// source's transitions of a closed class are passed over with a warning),
// open classes that can always reach the exit and whose load leaves every
// single server below 1. Fills SR and the context's
// simulation model, and writes the memory the run needs to standard error.
// Errors are queued; the caller's flush ends the run.
void prepareSimulation(const Network& network, AnalysisContext& context, Reporter& reporter);

// Runs the simulator; while standard error is a terminal, a progress line
// shows the events so far and the precision reached.
void runSimulation(AnalysisContext& context, Reporter& reporter);

// Info lines with the events and the precision reached; a Warning when the
// precision was not reached within the cap; an Error for a run that failed.
void reportSimulationOutcome(const AnalysisContext& context, Reporter& reporter);

// The result tables from the estimates, and the 95% half-widths beside them.
void deriveSimulationResults(const Network& network, AnalysisContext& context, PresentationModule& results,
                             Reporter& reporter);

}  // namespace kolt
