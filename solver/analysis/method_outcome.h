// The call of the chosen method on the prepared arrays and the messages for
// its failure words.
#pragma once

namespace kolt {

class Reporter;
struct AnalysisContext;

// Calls the routine of the context's method with the arrays in the order the
// routine takes them. EPF and ITERM have no routine.
void runMethod(AnalysisContext& context, Reporter& reporter);

// Queues the Error for a raised closed-network flag or a non-zero open-network
// code (naming the station the code goes with).
void reportMethodOutcome(const AnalysisContext& context, Reporter& reporter);

}  // namespace kolt
