// Arrays of the open-network methods (JACKSON, DIFF), built from the network
// with the station and source checks interleaved.
#pragma once

namespace kolt {

class Network;
class Reporter;
struct AnalysisContext;

// Sizes and fills the open-network arrays, writing the memory estimate to
// standard error first. Errors of the checks are only queued; the caller's
// flush ends the run.
//
// TAU holds service rates (1 / mean). BP is the traffic-equation matrix with
// RM = R*M rows, one per (station j, class r) pair numbered j*R + r, stored
// by columns: BP[(i*R + r)*RM + (j*R + r)] is the probability that a class-r
// customer leaving station i goes to station j (the transposed routing), and
// the last column BP[RM*RM + x] holds minus the external arrival rate of
// pair x summed over all sources. For DIFF, CBNR2 is the squared variation
// of the service time and C0NR2 the variability of the external arrivals of
// each pair.
void prepareOpenNetwork(const Network& network, AnalysisContext& context, Reporter& reporter);

// The station type code of JACKSON for a scheduling kind (IS 1, LIFO-PR 2,
// PS 3, FIFO 4), 0 for a kind it does not solve.
int jacksonStationType(int schedulingKind);

}  // namespace kolt
