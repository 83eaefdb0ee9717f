// Arrays of the closed-network methods (MVA, MVAP, HMVA), built from the
// network with the station checks interleaved.
#pragma once

namespace kolt {

class Network;
class Reporter;
struct AnalysisContext;

// Sizes and fills K, TYPE, INDEX, SR, SN, TAU, THETA, W, N, LAMBDA, ADP (and
// NTOTAL for HMVA), writing the memory estimate to standard error first.
// Errors of the station checks are only queued; the caller's flush ends the
// run.
//
// ADP on return holds, from its start and without gaps, one routing block per
// class: for class r visiting SN[r] stations a_0 < a_1 < ... (table order),
// an (SN[r]+1) x (SN[r]+1) matrix stored by columns whose element (i, j) is
// the probability of going from a_i to a_j; its last row and column are left
// for the method. INDEX[r] is the 1-based start of block r and
// INDEX[r+1] = INDEX[r] + (SN[r]+1)^2. A class visiting more than the sparse
// threshold of stations gets no block (INDEX[r+1] = INDEX[r]) but lists in
// closedLists. ADP is as long as the method needs (context.L): the blocks,
// or the exact recursion's queue table without class 1's dimension (HMVA:
// its 2*R*R*M correction terms), whichever is longer; only the blocks are
// set, the rest the method writes before it reads. The printed estimate
// keeps counting M * (K_1+1) * ... * (K_R+1).
void prepareClosedNetwork(const Network& network, AnalysisContext& context, Reporter& reporter);

// The station type code the closed methods use for a scheduling kind
// (FIFO 1, PS 2, LIFO-PR 3, IS 4, PRIOR-PR 5, PRIOR 6, LIFO 7), 0 for none.
int closedStationType(int schedulingKind);

}  // namespace kolt
