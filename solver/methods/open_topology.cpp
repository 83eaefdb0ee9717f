// Exit reachability of an open network's (station, class) pairs.
//
// I - P is non-singular exactly when the substochastic routing matrix P has
// spectral radius below 1, that is when every pair reaches, through positive
// routing probabilities, a pair whose probabilities sum to less than 1.
// Marked backwards from those leaking pairs over the reversed routing: one
// pass over the matrix to list the predecessors, one visit per pair. Cost
// O(RM^2), below the O(RM^3) of the equations it guards.
#include "solver/methods/open_topology.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "solver/methods/array_index.h"

namespace kolt::methods {
namespace {

// The probabilities of a pair sum to exactly 1 in the order the user gave
// them; added here in station order they may fall a few units of the last
// place short. A pair that sends fewer than one customer in 10^12 out would
// need some 10^12 visits per customer and could not be solved anyway.
constexpr double kRoundingOfSums = 1e-12;

}  // namespace

// Marks the pairs from which customers can leave, backwards from the pairs
// whose routing sums to less than 1; true when every pair is marked.
// `routed[j]` is the sum of pair j's probabilities and `predecessors[i]` the
// pairs that send customers to pair i.
static bool everyPairLeaks(const std::vector<double>& routed, const std::vector<std::vector<int>>& predecessors) {
    const int RM = static_cast<int>(routed.size());
    std::vector<char> leaves(RM, 0);
    std::vector<int> pending;
    for (int j = 0; j < RM; ++j)
        if (routed[j] < 1.0 - kRoundingOfSums) {
            leaves[j] = 1;
            pending.push_back(j);
        }
    while (!pending.empty()) {
        const int i = pending.back();
        pending.pop_back();
        for (int j : predecessors[i])
            if (!leaves[j]) {
                leaves[j] = 1;
                pending.push_back(j);
            }
    }
    for (int j = 0; j < RM; ++j)
        if (!leaves[j]) return false;
    return true;
}

bool everyCustomerCanLeave(int RM, const double* BP) {
    auto at = [BP, RM](int i, int j) { return BP[columnMajor(RM, i + 1, j + 1)]; };  // pairs from 0
    std::vector<std::vector<int>> predecessors(RM);
    std::vector<double> routed(RM, 0.0);
    for (int j = 0; j < RM; ++j)
        for (int i = 0; i < RM; ++i) {
            if (at(i, j) > 0.0) predecessors[i].push_back(j);
            routed[j] += at(i, j);
        }
    return everyPairLeaks(routed, predecessors);
}

bool everyCustomerCanLeave(int RM, const OpenRouting& lists) {
    std::vector<std::vector<int>> predecessors(RM);
    std::vector<double> routed(RM, 0.0);
    for (int j = 0; j < RM; ++j)
        for (std::int64_t k = lists.start[j]; k < lists.start[j + 1]; ++k) {
            if (lists.probability[k] > 0.0) predecessors[lists.target[k]].push_back(j);
            routed[j] += lists.probability[k];
        }
    return everyPairLeaks(routed, predecessors);
}

}  // namespace kolt::methods
